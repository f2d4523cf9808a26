// The main window: the panel type list, the dimension fields with their rules per panel type,
// the pictures, the computed work area and the commands generate, open and save. The window
// coordinates: it reads its fields, calls the project model and the generator, shows the results
// and leaves every computation to them.
#pragma once

#include <QMainWindow>
#include <QThreadPool>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "project/ProjectData.h"
#include "ui/WindowServices.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class TEditField;
class TFormPreview;
class TImageBox;
class TPrjGenerator;

class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  // services: the message box, the dialogs and the general error handler, kept by the caller.
  // imageFolder: the folder of the picture files, ending with "/". Creating the window runs its
  // start-up; an error of the start-up has been shown through services when this returns.
  TFormMain(TWindowServices& services, std::string imageFolder);
  ~TFormMain() override;

  // Start-up.
  void FormCreate();
  void InitApp();
  void InitGUI();
  void LoadControlsStr();
  void LoadCmbPanelsType();
  void SetDefaultsFieldValues();

  // Field rules per panel type.
  void LockEditFeields(TRoofPanelType panelType);
  void CopyEditFeieldsValues(TRoofPanelType panelType);
  void EnableTextControl(TEditField* control, bool enabled);
  void EnableCheckBoxControl(QCheckBox* control, bool enabled);
  void OnFieldValueChangeEx(QObject* AComponent);
  void OnFieldValueChange();
  void OnCmbValueChange();
  int GetCmbPanelsTypeIdx(TRoofPanelType pt) const;
  std::string GetCuttingModeStr(TCuttingMode mode) const;

  // Validation.
  bool IsFormValid();
  // The first field, in the order of the validation, whose text is blank or not a number, with
  // the validation's message for it; none when every field is valid. Shows nothing.
  struct TInvalidField {
    TEditField* field;
    std::string caption;
    std::string message;
  };
  std::optional<TInvalidField> FirstInvalidField() const;
  bool IsEmptyValue(const std::string& AValue) const;

  // Project commands.
  void ComputePrj();
  void UpdatePrjFromForm();
  void btnGenPltClick();
  void GenAndSavePlt(const std::string& fileName);
  // The program "Generate file" writes for the project as last computed: the generator's
  // checked road (layer limit, program, below-zero check). Raises EAppError instead of a
  // program that must not be used.
  TPrjGenerator GenerateCheckedPlt() const;
  // Opens the preview window, or raises it when open, showing the current program.
  void miPreviewClick();
  // Brings the open preview up to the fields: at once while a field is invalid, else on the
  // preview's thread from a copy of the project. The preview says it is updating until then;
  // changes made while a run is busy are gathered into one run after it.
  void UpdatePreview();
  // True when the open preview shows the program of the fields as they are.
  bool PreviewSettled() const { return !FPreviewRunning && !FPreviewStale; }
  // How many runs the preview has started since the window was created.
  int PreviewRuns() const { return FPreviewRuns; }
  // Puts the new preview window beside the main window where the screen has room.
  void PlacePreviewWindow();
  void ShowWorkAreaValue(QLabel* box, double value);
  // File > Open: the file chosen in the open dialog.
  void LoadPrj();
  // The project file named when the program was started: opened as File > Open opens it, except
  // that a file that cannot be read is shown as an error and the window stays empty.
  void OpenPrjAtStartUp(const std::string& fileName);
  // Fills the project by open, then the fields, the pictures and the work area from it.
  void OpenPrj(const std::function<void(TPanelsProject&)>& open);
  void SavePrj();
  void miExitClick();

  // Runs one event handler: the general error handler for everything the handler raises, and
  // one validation message at most for everything it causes. Nested runs (a handler that writes
  // a field runs that field's handlers inside its own) pass their errors to the outermost run.
  void RunHandler(const std::function<void()>& handler);

  TPanelsProject& Project() { return *FProject; }
  TRoofPanelType CurPanelType() const { return curPanelType; }
  bool ComputePrjEnabled() const { return computePrjEnabled; }
  // How often OnFieldValueChange has run since the window was created.
  int FieldReactionRuns() const { return FFieldReactionRuns; }

  // The controls, named as their objects.
  QWidget* clientArea;
  QFrame* panPanelView;
  QComboBox* cmbPanelsType;
  TImageBox* imgBlockSkech;
  QGroupBox* grpPanelDim;
  QLabel* labLayerCount;
  TEditField* txtLayerCount;
  QLabel* labDimA;
  TEditField* txtDimA;
  QLabel* labDimAUnits;
  QLabel* labDimB;
  TEditField* txtDimB;
  QLabel* labDimBUnits;
  QLabel* labDimC;
  TEditField* txtDimC;
  QLabel* labDimCUnits;
  QLabel* labDimD;
  TEditField* txtDimD;
  QLabel* labDimDUnits;
  QLabel* labDimFrontBase;
  TEditField* txtDimFrontBase;
  QLabel* labDimFrontBaseUnits;
  QLabel* labDimRearBase;
  TEditField* txtDimRearBase;
  QLabel* labDimRearBaseUnits;
  QLabel* labBlockWidth;
  TEditField* txtPanelLength;
  QLabel* labBlockWidthUnits;
  QLabel* labPanelSpace;
  TEditField* txtPanelSpace;
  QLabel* labPanelSpaceUnits;
  QCheckBox* chkSkipBottom;
  QCheckBox* chkCutDiagonally;
  QGroupBox* grpBlockLayout;
  TImageBox* imgMachine;
  QGroupBox* grpCuttingMode;
  QLabel* labCuttingMode;
  QGroupBox* grpPrjSize;
  QLabel* labPrjWidth;
  QLabel* bevPrjWidth;
  QLabel* labPrjWidthUnits;
  QLabel* labPrjHeight;
  QLabel* bevPrjHeight;
  QLabel* labPrjHeightUnits;
  QLabel* labPrjDepth;
  QLabel* bevPrjDepth;
  QLabel* labPrjDepthUnits;
  QPushButton* btnGenPlt;
  QMenu* miFile;
  QAction* miOpen;
  QAction* miSave;
  QAction* miExit;
  QMenu* miView;
  QAction* miPreview;
  TFormPreview* frmPreview = nullptr;  // created on the first opening, then hidden and shown

 protected:
  // Swallows the press of a click whose focus change the validation refused: a click on a
  // control while a field is invalid shows the field's message and does nothing more.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetupWindow();
  // Builds the controls of the client area from their table and keeps each in its member.
  void SetupControls();
  void SetupMenu();
  void SetupTabOrder();
  void SetupConnections();

  // The nine edit fields in the order of the validation.
  std::vector<TEditField*> EditFields() const;
  // Loads the two pictures of catalogue row k. A picture that fails leaves its box empty; the
  // error is raised when the running handler has finished.
  void LoadPanelImages(std::size_t k);
  void LoadImage(TImageBox* box, const std::string& fileName);
  // Puts the keyboard focus into a field that can take it; the focus loss this causes in the
  // field left is not an exit.
  void FocusField(TEditField* field);
  void ShowValidationMessage(const std::string& text, TEditField* field);
  void ShowError(const std::exception_ptr& error);
  void ShowErrorText(const std::string& text);
  static void SetText(TEditField* field, const std::string& text);
  static std::string Text(const TEditField* field);

  // UpdatePreview for the preview window, shown or about to be.
  void RequestPreview();
  // Starts the preview's run on a copy of the project as it is now.
  void StartPreviewRun();
  struct TPreviewRun;
  void PreviewRunDone(std::uint64_t serial, const std::shared_ptr<TPreviewRun>& run);

  TWindowServices& FServices;
  std::string FImageFolder;
  // The preview's thread: one run at a time, waited for when the window goes.
  std::unique_ptr<QThreadPool> FPreviewPool;
  std::uint64_t FPreviewSerial = 0;  // counts the changes the preview was told of
  bool FPreviewRunning = false;
  bool FPreviewStale = false;  // a change came after the running run's copy
  int FPreviewRuns = 0;
  std::unique_ptr<TPanelsProject> FProject;
  TRoofPanelType curPanelType = ptEmpty;
  bool computePrjEnabled = true;

  int FHandlerDepth = 0;          // nesting of RunHandler
  bool FMessageShown = false;     // a validation message was shown in the running handler
  bool FMovingFocus = false;      // FocusField is moving the focus
  bool FFocusPulledBack = false;  // the validation moved the focus in the running handler
  int FFieldReactionDepth = 0;    // nesting of OnFieldValueChange
  int FFieldReactionRuns = 0;
  std::exception_ptr FPendingError;  // a picture error, raised when the handler has finished
  // While the window is being created: the errors to show once it is shown.
  std::unique_ptr<std::vector<std::string>> FStartUpErrors;
};
