#include "ui/Main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cmath>
#include <type_traits>
#include <utility>

#include "app/OrvexUtils.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "locale/ErrorStr.h"
#include "locale/LocalStr.h"
#include "locale/PanelInfo.h"
#include "locale/ViewStr.h"
#include "platform/NumberText.h"
#include "preview/PreviewState.h"
#include "project/FieldRules.h"
#include "ui/EditField.h"
#include "ui/Fonts.h"
#include "ui/ImageBox.h"
#include "ui/MainControls.h"
#include "ui/PreviewPlacement.h"
#include "ui/PreviewWindow.h"

namespace {

constexpr int kClientWidth = 794;
constexpr int kClientHeight = 454;
constexpr int kFontHeight = 11;
constexpr int kListRows = 9;
constexpr int kListedPanelTypes = 9;  // ptEmpty to ptDoubleSlopeNarrow; ptCustom is not offered
// The field rules nest a few levels deep by design (a write runs the written field's rules,
// which write nothing new); anything deeper is a fault and runs no further.
constexpr int kMaxFieldReactionDepth = 8;

// The integer part of a work-area value, or its number text when the integer part does not fit
// a 64-bit integer or the value is not finite.
std::string WorkAreaText(double value) {
  const double whole = std::trunc(value);
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (std::isfinite(whole) && whole >= -kLimit && whole < kLimit) {
    return "  " + platform::FormatInteger(static_cast<std::int64_t>(whole));
  }
  return "  " + platform::FormatNumber(value);
}

}  // namespace

TFormMain::TFormMain(TWindowServices& services, std::string imageFolder)
    : FServices(services),
      FImageFolder(std::move(imageFolder)),
      FPreviewPool(std::make_unique<QThreadPool>()) {
  FPreviewPool->setMaxThreadCount(1);
  SetupWindow();
  SetupControls();
  SetupMenu();
  SetupTabOrder();
  SetupConnections();
  // An error of the start-up is shown once the window is on the screen, not before it.
  FStartUpErrors = std::make_unique<std::vector<std::string>>();
  RunHandler([this] { FormCreate(); });
  QTimer::singleShot(0, this, [this, errors = std::move(FStartUpErrors)] {
    for (const std::string& text : *errors) {
      FServices.ShowError(text);
    }
  });
}

TFormMain::~TFormMain() {
  // A run of the preview posts its result to this window: it must have ended first.
  FPreviewPool->waitForDone();
}

// ---------------------------------------------------------------------------------------------
// Construction of the controls

void TFormMain::SetupWindow() {
  setObjectName("FormMain");
  setWindowTitle(QString::fromUtf8(kApplicationTitle));
  // A fixed single border: a system menu and a minimize button, no maximize button.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(WindowFont(kFontHeight));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));
  setPalette(pal);
  setAutoFillBackground(true);

  clientArea = new QWidget(this);
  clientArea->setObjectName("clientArea");
  clientArea->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(clientArea);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormMain::SetupControls() {
  BuildMainControls(clientArea);
  // Each member is the control of its own name.
  auto bind = [this](auto*& member, const char* name) {
    member = MainControl<std::remove_reference_t<decltype(*member)>>(clientArea, name);
  };
  bind(panPanelView, "panPanelView");
  bind(cmbPanelsType, "cmbPanelsType");
  bind(imgBlockSkech, "imgBlockSkech");
  bind(grpPanelDim, "grpPanelDim");
  bind(labLayerCount, "labLayerCount");
  bind(txtLayerCount, "txtLayerCount");
  bind(labDimA, "labDimA");
  bind(txtDimA, "txtDimA");
  bind(labDimAUnits, "labDimAUnits");
  bind(labDimB, "labDimB");
  bind(txtDimB, "txtDimB");
  bind(labDimBUnits, "labDimBUnits");
  bind(labDimC, "labDimC");
  bind(txtDimC, "txtDimC");
  bind(labDimCUnits, "labDimCUnits");
  bind(labDimD, "labDimD");
  bind(txtDimD, "txtDimD");
  bind(labDimDUnits, "labDimDUnits");
  bind(labDimFrontBase, "labDimFrontBase");
  bind(txtDimFrontBase, "txtDimFrontBase");
  bind(labDimFrontBaseUnits, "labDimFrontBaseUnits");
  bind(labDimRearBase, "labDimRearBase");
  bind(txtDimRearBase, "txtDimRearBase");
  bind(labDimRearBaseUnits, "labDimRearBaseUnits");
  bind(labBlockWidth, "labBlockWidth");
  bind(txtPanelLength, "txtPanelLength");
  bind(labBlockWidthUnits, "labBlockWidthUnits");
  bind(labPanelSpace, "labPanelSpace");
  bind(txtPanelSpace, "txtPanelSpace");
  bind(labPanelSpaceUnits, "labPanelSpaceUnits");
  bind(chkSkipBottom, "chkSkipBottom");
  bind(chkCutDiagonally, "chkCutDiagonally");
  bind(grpBlockLayout, "grpBlockLayout");
  bind(imgMachine, "imgMachine");
  bind(grpCuttingMode, "grpCuttingMode");
  bind(labCuttingMode, "labCuttingMode");
  bind(grpPrjSize, "grpPrjSize");
  bind(labPrjWidth, "labPrjWidth");
  bind(bevPrjWidth, "bevPrjWidth");
  bind(labPrjWidthUnits, "labPrjWidthUnits");
  bind(labPrjHeight, "labPrjHeight");
  bind(bevPrjHeight, "bevPrjHeight");
  bind(labPrjHeightUnits, "labPrjHeightUnits");
  bind(labPrjDepth, "labPrjDepth");
  bind(bevPrjDepth, "bevPrjDepth");
  bind(labPrjDepthUnits, "labPrjDepthUnits");
  bind(btnGenPlt, "btnGenPlt");
}

void TFormMain::SetupMenu() {
  QMenuBar* mnuMain = menuBar();
  mnuMain->setObjectName("mnuMain");
  miFile = mnuMain->addMenu(QString::fromUtf8("Plik"));
  miFile->setObjectName("miFile");
  miOpen = miFile->addAction(QString::fromUtf8("Otwórz projekt"));
  miOpen->setObjectName("miOpen");
  miSave = miFile->addAction(QString::fromUtf8("Zapisz projekt"));
  miSave->setObjectName("miSave");
  miExit = miFile->addAction(QString::fromUtf8("Zakończ"));
  miExit->setObjectName("miExit");
  miView = mnuMain->addMenu(QString::fromStdString(GetViewStr(TViewStr::Menu)));
  miView->setObjectName("miView");
  miPreview = miView->addAction(QString::fromStdString(GetViewStr(TViewStr::PreviewItem)));
  miPreview->setObjectName("miPreview");
}

void TFormMain::SetupTabOrder() {
  for (QWidget* w : std::initializer_list<QWidget*>{
           panPanelView, grpPanelDim, grpBlockLayout, grpCuttingMode, grpPrjSize, bevPrjWidth,
           bevPrjHeight, bevPrjDepth, imgBlockSkech, imgMachine}) {
    w->setFocusPolicy(Qt::NoFocus);
  }
  const std::vector<QWidget*> order = {
      cmbPanelsType, txtLayerCount,    txtDimA,        txtDimB,        txtDimC,
      txtDimD,       txtDimFrontBase,  txtDimRearBase, txtPanelLength, txtPanelSpace,
      chkSkipBottom, chkCutDiagonally, btnGenPlt};
  for (std::size_t i = 1; i < order.size(); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

void TFormMain::SetupConnections() {
  for (QWidget* control :
       std::initializer_list<QWidget*>{btnGenPlt, chkSkipBottom, chkCutDiagonally, cmbPanelsType}) {
    control->installEventFilter(this);
  }
  for (TEditField* field : EditFields()) {
    connect(field, &QLineEdit::textChanged, this,
            [this, field] { RunHandler([this, field] { OnFieldValueChangeEx(field); }); });
    connect(field, &TEditField::exited, this, [this] {
      if (!FMovingFocus) {
        RunHandler([this] { OnFieldValueChange(); });
      }
    });
  }
  for (QCheckBox* box : {chkSkipBottom, chkCutDiagonally}) {
    connect(box, &QCheckBox::toggled, this,
            [this] { RunHandler([this] { OnFieldValueChange(); }); });
  }
  // activated: a selection by the user only, also of the entry already selected.
  connect(cmbPanelsType, &QComboBox::activated, this, [this](int index) {
    // Picking the entry already selected changes nothing and runs nothing.
    if (index != GetCmbPanelsTypeIdx(curPanelType)) {
      RunHandler([this] { OnCmbValueChange(); });
    }
  });
  connect(btnGenPlt, &QPushButton::clicked, this,
          [this] { RunHandler([this] { btnGenPltClick(); }); });
  connect(miOpen, &QAction::triggered, this, [this] { RunHandler([this] { LoadPrj(); }); });
  connect(miSave, &QAction::triggered, this, [this] { RunHandler([this] { SavePrj(); }); });
  connect(miExit, &QAction::triggered, this, [this] { RunHandler([this] { miExitClick(); }); });
  connect(miPreview, &QAction::triggered, this,
          [this] { RunHandler([this] { miPreviewClick(); }); });
}

std::vector<TEditField*> TFormMain::EditFields() const {
  return {txtLayerCount, txtDimA,        txtDimB,         txtDimC,       txtDimD,
          txtPanelSpace, txtPanelLength, txtDimFrontBase, txtDimRearBase};
}

// ---------------------------------------------------------------------------------------------
// The general error handler

void TFormMain::RunHandler(const std::function<void()>& handler) {
  const bool outermost = FHandlerDepth == 0;
  if (outermost) {
    FMessageShown = false;
    FFocusPulledBack = false;
  }
  ++FHandlerDepth;
  std::exception_ptr error;
  try {
    handler();
  } catch (...) {
    error = std::current_exception();
  }
  --FHandlerDepth;
  if (!outermost) {
    if (error) {
      std::rethrow_exception(error);
    }
    return;
  }
  if (error) {
    ShowError(error);
  }
  if (FPendingError) {
    ShowError(std::exchange(FPendingError, nullptr));
  }
}

void TFormMain::ShowError(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ShowErrorText(ErrorText(e));
  } catch (...) {
    ShowErrorText("unknown error");
  }
}

void TFormMain::ShowErrorText(const std::string& text) {
  if (FStartUpErrors) {
    FStartUpErrors->push_back(text);
  } else {
    FServices.ShowError(text);
  }
}

// ---------------------------------------------------------------------------------------------
// Start-up

void TFormMain::FormCreate() {
  InitApp();
}

void TFormMain::InitApp() {
  curPanelType = ptEmpty;
  computePrjEnabled = true;
  FProject = std::make_unique<TPanelsProject>();
  InitGUI();
  SetDefaultsFieldValues();
  LockEditFeields(curPanelType);
  CopyEditFeieldsValues(curPanelType);
  ComputePrj();
}

void TFormMain::InitGUI() {
  LoadControlsStr();
  InitPanelInfos();
  setWindowTitle(QString::fromStdString(std::string(kApplicationTitle) + " (" + GetLocalStr(1) +
                                        ": " + TAppInfo().Version() + ")"));
  LoadPanelImages(curPanelType);
  LoadCmbPanelsType();
  cmbPanelsType->setMaxVisibleItems(kListRows);
  cmbPanelsType->setCurrentIndex(GetCmbPanelsTypeIdx(curPanelType));
}

void TFormMain::LoadControlsStr() {
  LoadMainControlsStr(clientArea);
  auto set = [](auto* control, std::uint8_t index) {
    control->setText(QString::fromStdString(GetLocalStr(index)));
  };
  miFile->setTitle(QString::fromStdString(GetLocalStr(23)));
  set(miOpen, 24);
  set(miSave, 25);
  set(miExit, 26);
  miView->setTitle(QString::fromStdString(GetViewStr(TViewStr::Menu)));
  miPreview->setText(QString::fromStdString(GetViewStr(TViewStr::PreviewItem)));
  if (frmPreview) {
    frmPreview->LoadStr();
    UpdatePreview();
  }
}

void TFormMain::LoadCmbPanelsType() {
  for (int row = 0; row < kListedPanelTypes; ++row) {
    cmbPanelsType->addItem(QString::fromStdString(PanelInfos[row].Description), row);
  }
}

void TFormMain::SetDefaultsFieldValues() {
  SetText(txtDimA, "200");
  SetText(txtDimB, "200");
  SetText(txtDimC, "100");
  SetText(txtDimD, "100");
  SetText(txtDimFrontBase, "1000");
  SetText(txtDimRearBase, "1000");
  SetText(txtLayerCount, "1");
  SetText(txtPanelSpace, "0");
  chkSkipBottom->setChecked(false);
  SetText(txtPanelLength, "1000");
}

void TFormMain::miExitClick() {
  close();
}

// ---------------------------------------------------------------------------------------------
// Pictures

void TFormMain::LoadPanelImages(std::size_t k) {
  LoadImage(imgBlockSkech, PanelInfos[k].PanelImage);
  LoadImage(imgMachine, PanelInfos[k].BlockLayoutImage);
}

void TFormMain::LoadImage(TImageBox* box, const std::string& fileName) {
  try {
    box->Load(FImageFolder + fileName);
  } catch (...) {
    // The command goes on to its end, so that the field rules and curPanelType belong to the
    // same type; the general handler shows the first picture error afterwards.
    if (!FPendingError) {
      FPendingError = std::current_exception();
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Field rules per panel type

void TFormMain::LockEditFeields(TRoofPanelType panelType) {
  const TLockRow* row = LockRowOf(panelType);
  if (!row) {
    return;
  }
  EnableTextControl(txtDimA, row->a);
  EnableTextControl(txtDimB, row->b);
  EnableTextControl(txtDimC, row->c);
  EnableTextControl(txtDimD, row->d);
  EnableTextControl(txtDimFrontBase, row->frontBase);
  EnableTextControl(txtDimRearBase, row->rearBase);
  EnableCheckBoxControl(chkCutDiagonally, row->cutDiagonally);
}

void TFormMain::CopyEditFeieldsValues(TRoofPanelType panelType) {
  const TCopyRow* row = CopyRowOf(panelType);
  if (!row) {
    return;
  }
  // Each source is read when its copy is made: an earlier copy of the row may have changed it.
  auto apply = [this](TEditField* field, TCopySource source) {
    switch (source) {
      case csKeep:
        return;
      case csZero:
        SetText(field, "0");
        return;
      case csA:
        SetText(field, Text(txtDimA));
        return;
      case csB:
        SetText(field, Text(txtDimB));
        return;
      case csD:
        SetText(field, Text(txtDimD));
        return;
      case csLength:
        SetText(field, Text(txtPanelLength));
        return;
    }
  };
  apply(txtDimA, row->a);
  apply(txtDimB, row->b);
  apply(txtDimC, row->c);
  apply(txtDimD, row->d);
  apply(txtDimFrontBase, row->frontBase);
  apply(txtDimRearBase, row->rearBase);
}

void TFormMain::EnableTextControl(TEditField* control, bool enabled) {
  control->setEnabled(enabled);
  QPalette pal = control->palette();
  const QPalette& system = QApplication::palette();
  const QColor background = system.color(enabled ? QPalette::Base : QPalette::Button);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    pal.setColor(group, QPalette::Base, background);
    pal.setColor(group, QPalette::Text, system.color(QPalette::Active, QPalette::WindowText));
  }
  control->setPalette(pal);
}

void TFormMain::EnableCheckBoxControl(QCheckBox* control, bool enabled) {
  control->setEnabled(enabled);
  control->setChecked(false);
}

void TFormMain::OnFieldValueChangeEx(QObject* AComponent) {
  if (auto* field = qobject_cast<TEditField*>(AComponent)) {
    if (IsEmptyValue(Text(field))) {
      FocusField(field);
      UpdatePreview();
      return;
    }
  }
  OnFieldValueChange();
}

void TFormMain::OnFieldValueChange() {
  if (FFieldReactionDepth >= kMaxFieldReactionDepth) {
    return;
  }
  ++FFieldReactionRuns;
  ++FFieldReactionDepth;
  struct TDepth {
    int& depth;
    ~TDepth() { --depth; }
  } depthGuard{FFieldReactionDepth};

  if (!IsFormValid()) {
    UpdatePreview();
    return;
  }
  if (platform::IntegerFromText(Text(txtLayerCount)) <= 1) {
    SetText(txtPanelSpace, "0");
    EnableTextControl(txtPanelSpace, false);
    chkSkipBottom->setEnabled(true);
  } else {
    EnableTextControl(txtPanelSpace, true);
    EnableCheckBoxControl(chkSkipBottom, false);
  }
  CopyEditFeieldsValues(curPanelType);
  if (computePrjEnabled) {
    ComputePrj();
  }
}

void TFormMain::OnCmbValueChange() {
  const int k = cmbPanelsType->currentData().toInt();
  const TRoofPanelInfo& info = PanelInfos.at(static_cast<std::size_t>(k));
  curPanelType = info.PanelType;
  LoadPanelImages(static_cast<std::size_t>(k));
  labCuttingMode->setText(QString::fromStdString(GetCuttingModeStr(info.CuttingMode)));
  labCuttingMode->adjustSize();
  LockEditFeields(info.PanelType);
  CopyEditFeieldsValues(info.PanelType);
  OnFieldValueChange();
}

int TFormMain::GetCmbPanelsTypeIdx(TRoofPanelType pt) const {
  int result = 0;
  for (int i = 0; i < cmbPanelsType->count(); ++i) {
    if (cmbPanelsType->itemData(i).toInt() == static_cast<int>(pt)) {
      result = i;
    }
  }
  return result;
}

std::string TFormMain::GetCuttingModeStr(TCuttingMode mode) const {
  switch (mode) {
    case cm2D:
      return GetLocalStr(40);
    case cmIndependent:
      return GetLocalStr(41);
  }
  return {};
}

// ---------------------------------------------------------------------------------------------
// Validation

bool TFormMain::IsEmptyValue(const std::string& AValue) const {
  for (const char c : AValue) {
    if (static_cast<unsigned char>(c) > 32) {
      return false;
    }
  }
  return true;
}

std::optional<TFormMain::TInvalidField> TFormMain::FirstInvalidField() const {
  struct TCheck {
    TEditField* field;
    QLabel* label;
    bool always;
  };
  const TCheck checks[] = {
      {txtLayerCount, labLayerCount, true},
      {txtDimA, labDimA, true},
      {txtDimB, labDimB, true},
      {txtDimC, labDimC, true},
      {txtDimD, labDimD, true},
      {txtPanelSpace, labPanelSpace, true},
      {txtPanelLength, labBlockWidth, true},
      {txtDimFrontBase, labDimFrontBase, false},
      {txtDimRearBase, labDimRearBase, false},
  };
  for (const TCheck& check : checks) {
    if (!check.always && !check.field->isEnabled()) {
      continue;
    }
    const std::string text = Text(check.field);
    const std::string caption = check.label->text().toStdString();
    if (IsEmptyValue(text)) {
      return TInvalidField{check.field, caption, GetLocalStr(4) + caption};
    }
    if (!platform::ParseInteger(text)) {
      return TInvalidField{check.field, caption,
                           GetLocalStr(5) + caption + "\r\n" + GetLocalStr(6)};
    }
  }
  return std::nullopt;
}

bool TFormMain::IsFormValid() {
  const std::optional<TInvalidField> invalid = FirstInvalidField();
  if (invalid) {
    ShowValidationMessage(invalid->message, invalid->field);
  }
  return !invalid;
}

void TFormMain::ShowValidationMessage(const std::string& text, TEditField* field) {
  // One action shows one message: the rules run nested and would find the same fault again.
  if (FMessageShown) {
    return;
  }
  FMessageShown = FHandlerDepth > 0;
  FServices.ShowMessage(text);
  FocusField(field);
}

void TFormMain::FocusField(TEditField* field) {
  if (!field->isEnabled() || !isVisible()) {
    return;
  }
  FMovingFocus = true;
  field->setFocus(Qt::OtherFocusReason);
  FMovingFocus = false;
  FFocusPulledBack = true;
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    // Qt gives the clicked control the focus before it delivers the press; the field left runs
    // its exit handler then, and its validation may have taken the focus back.
    return std::exchange(FFocusPulledBack, false);
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Project commands

void TFormMain::ComputePrj() {
  UpdatePrjFromForm();
  TPanelsProject& project = *FProject;
  project.SetSkipBottom(chkSkipBottom->isChecked() && project.LayerCount() == 1);
  project.SetCutDiagonally(chkCutDiagonally->isChecked());
  project.ComputeFaces();
  const TPrjSize& size = project.ProjectSize();
  ShowWorkAreaValue(bevPrjWidth, size.Width());
  ShowWorkAreaValue(bevPrjHeight, size.Height());
  ShowWorkAreaValue(bevPrjDepth, size.Depth());
  UpdatePreview();
}

void TFormMain::ShowWorkAreaValue(QLabel* box, double value) {
  // The box keeps its size; the number shrinks to fit it, or is rounded with the whole text in
  // the tooltip, never cut.
  const std::string text = WorkAreaText(value);
  const int width = box->contentsRect().width() - 2 * box->margin() - 2;
  const TFittedText fitted = FitNumberText(text, value, WindowFont(kFontHeight), width);
  box->setFont(WindowFont(fitted.pixelSize));
  box->setText(fitted.text);
  box->setToolTip(fitted.rounded || fitted.pixelSize < kFontHeight
                      ? QString::fromStdString(text).trimmed()
                      : QString());
}

void TFormMain::UpdatePrjFromForm() {
  using platform::IntegerFromText;
  using platform::NumberFromText;
  TPanelsProject& project = *FProject;
  project.SetPanelType(static_cast<TRoofPanelType>(cmbPanelsType->currentData().toInt()));
  project.RoofPanel().SetDimA(NumberFromText(Text(txtDimA)));
  project.RoofPanel().SetDimB(NumberFromText(Text(txtDimB)));
  project.RoofPanel().SetDimC(NumberFromText(Text(txtDimC)));
  project.RoofPanel().SetDimD(NumberFromText(Text(txtDimD)));
  project.SetLayerCount(IntegerFromText(Text(txtLayerCount)));
  project.SetTopSpace(IntegerFromText(Text(txtPanelSpace)));
  project.SetSkipBottom(chkSkipBottom->isChecked());
  project.SetPanelLength(IntegerFromText(Text(txtPanelLength)));
  project.SetFrontBaseWidth(IntegerFromText(Text(txtDimFrontBase)));
  project.SetRearBaseWidth(IntegerFromText(Text(txtDimRearBase)));
}

void TFormMain::btnGenPltClick() {
  if (!IsFormValid()) {
    return;
  }
  const auto chosen = FServices.ExecuteSaveDialog({GetLocalStr(2), "*.plt"}, "project1.plt");
  if (!chosen) {
    return;
  }
  GenAndSavePlt(ForceFileExt(*chosen, ".plt"));
}

void TFormMain::GenAndSavePlt(const std::string& fileName) {
  // A save that never leaves a partial file.
  GenerateCheckedPlt().Save(fileName);
}

TPrjGenerator TFormMain::GenerateCheckedPlt() const {
  // The same road as the unattended run: the layer limit, the program, the check that it never
  // moves below the machine's zero.
  TPrjGenerator generator(*FProject);
  GenerateCheckedProgram(generator);
  return generator;
}

void TFormMain::miPreviewClick() {
  if (!frmPreview) {
    frmPreview = new TFormPreview(this);
    PlacePreviewWindow();
  }
  frmPreview->LoadStr();
  if (!frmPreview->isVisible()) {
    // The run starts before the window is shown: the window system's part of showing it then
    // overlaps the program's generation.
    RequestPreview();
  }
  frmPreview->show();
  frmPreview->raise();
  frmPreview->activateWindow();
}

void TFormMain::PlacePreviewWindow() {
  const QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (where == nullptr) {
    return;
  }
  const QRect sketch(imgBlockSkech->mapToGlobal(QPoint(0, 0)), imgBlockSkech->size());
  const QRect place =
      PlacePreview(where->availableGeometry(), frameGeometry(), sketch, frmPreview->size());
  // Where the window system places windows itself (Wayland), the move is a wish.
  frmPreview->resize(place.size());
  frmPreview->move(place.topLeft());
}

struct TFormMain::TPreviewRun {
  std::shared_ptr<const preview::TPreviewState> state;
  std::optional<preview::TPreviewLayout> layout;
};

void TFormMain::UpdatePreview() {
  if (frmPreview && frmPreview->isVisible()) {
    RequestPreview();
  }
}

void TFormMain::RequestPreview() {
  ++FPreviewSerial;
  // A field that is blank or not a number: no verdict on an older program, and no run.
  if (const std::optional<TInvalidField> invalid = FirstInvalidField()) {
    FPreviewStale = false;
    frmPreview->ShowInvalidField(invalid->caption);
    return;
  }
  frmPreview->SetUpdating(true);
  if (FPreviewRunning) {
    FPreviewStale = true;  // one run after the busy one takes every change made meanwhile
    return;
  }
  StartPreviewRun();
}

void TFormMain::StartPreviewRun() {
  ++FPreviewRuns;
  FPreviewRunning = true;
  FPreviewStale = false;
  const std::uint64_t serial = FPreviewSerial;
  const auto project = std::make_shared<const TPanelsProject>(*FProject);
  const QSize size = frmPreview->size();
  const TTextLanguage language = InterfaceTextLanguage();
  FPreviewPool->start([this, serial, project, size, language] {
    // The preview never goes to the general handler: BuildPreviewState turns every error into
    // the state's text.
    auto run = std::make_shared<TPreviewRun>();
    auto state =
        std::make_shared<preview::TPreviewState>(preview::BuildPreviewState(*project, language));
    run->layout = TFormPreview::LayOut(*state, size.width(), size.height(), language);
    run->state = std::move(state);
    QMetaObject::invokeMethod(
        this, [this, serial, run] { PreviewRunDone(serial, run); }, Qt::QueuedConnection);
  });
}

void TFormMain::PreviewRunDone(std::uint64_t serial, const std::shared_ptr<TPreviewRun>& run) {
  FPreviewRunning = false;
  if (!frmPreview || !frmPreview->isVisible()) {
    FPreviewStale = false;
    return;
  }
  if (FPreviewStale) {
    // Older than the fields: dropped, and the fields as they are now run instead.
    StartPreviewRun();
    return;
  }
  if (serial == FPreviewSerial) {
    frmPreview->ShowState(run->state, std::move(run->layout));
  }
}

void TFormMain::LoadPrj() {
  const auto chosen = FServices.ExecuteOpenDialog({GetLocalStr(3), "*.tcj"}, "project1.tcj");
  if (!chosen) {
    return;
  }
  OpenPrj([&](TPanelsProject& project) { project.Open(*chosen); });
}

void TFormMain::OpenPrjAtStartUp(const std::string& fileName) {
  RunHandler([&] {
    // Read first: a file that cannot be read is named with its reason, and the window keeps
    // its empty state.
    const std::string text = ReadProjectFile(fileName);
    OpenPrj([&](TPanelsProject& project) { project.OpenFromText(text); });
  });
}

void TFormMain::OpenPrj(const std::function<void(TPanelsProject&)>& open) {
  // The fields are filled one by one below and each write runs the field rules; with the
  // recompute guard off they do not write the half-filled window back into the project.
  computePrjEnabled = false;
  struct TGuardOn {
    bool& enabled;
    ~TGuardOn() { enabled = true; }
  } guardOn{computePrjEnabled};

  TPanelsProject& project = *FProject;
  open(project);
  curPanelType = project.PanelType();
  cmbPanelsType->setCurrentIndex(GetCmbPanelsTypeIdx(project.PanelType()));
  const TRoofPanel& panel = project.RoofPanel();
  const bool cutDiagonally = project.CutDiagonally();
  SetText(txtDimA, platform::FormatNumber(panel.DimA()));
  SetText(txtDimB, platform::FormatNumber(panel.DimB()));
  SetText(txtDimC, platform::FormatNumber(panel.DimC()));
  SetText(txtDimD, platform::FormatNumber(panel.DimD()));
  SetText(txtLayerCount, platform::FormatInteger(project.LayerCount()));
  SetText(txtPanelSpace, platform::FormatNumber(project.TopSpace()));
  chkSkipBottom->setChecked(project.SkipBottom());
  chkCutDiagonally->setChecked(cutDiagonally);
  SetText(txtPanelLength, platform::FormatNumber(project.PanelLength()));
  SetText(txtDimFrontBase, platform::FormatNumber(project.FrontBaseWidth()));
  SetText(txtDimRearBase, platform::FormatNumber(project.RearBaseWidth()));
  OnCmbValueChange();
  chkCutDiagonally->setChecked(cutDiagonally);
  computePrjEnabled = true;
  OnFieldValueChange();
}

void TFormMain::SavePrj() {
  const auto chosen = FServices.ExecuteSaveDialog({GetLocalStr(3), "*.tcj"}, "project1.tcj");
  if (!chosen) {
    return;
  }
  UpdatePrjFromForm();
  FProject->Save(ForceFileExt(*chosen, ".tcj"));
}

// ---------------------------------------------------------------------------------------------

void TFormMain::SetText(TEditField* field, const std::string& text) {
  field->setText(QString::fromStdString(text));
}

std::string TFormMain::Text(const TEditField* field) {
  return field->text().toStdString();
}
