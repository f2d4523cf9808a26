// The window system services that stop a test: the message box, the open and save dialogs and
// the general error handler. The window calls them through this interface; the program uses the
// Qt version, the tests a recorder with scripted answers.
#pragma once

#include <optional>
#include <string>

class QWidget;

// The application title: heads the message boxes and begins the window caption.
inline constexpr char kApplicationTitle[] = "Tectoplan";

// One file type of a dialog: the description shown and its pattern ("*.plt").
struct TFileFilter {
  std::string description;
  std::string pattern;
};

class TWindowServices {
 public:
  virtual ~TWindowServices() = default;

  // A modal box with the text, one OK button and no icon, titled with the application title.
  virtual void ShowMessage(const std::string& text) = 0;

  // The general error handler: shows the text of an error that ended a command.
  virtual void ShowError(const std::string& text) = 0;

  // The save and open dialogs (dlgSave, dlgOpen): the full path chosen, nothing when cancelled.
  // The save dialog asks nothing before an existing file is replaced.
  virtual std::optional<std::string> ExecuteSaveDialog(const TFileFilter& filter,
                                                       const std::string& proposedName) = 0;
  virtual std::optional<std::string> ExecuteOpenDialog(const TFileFilter& filter,
                                                       const std::string& proposedName) = 0;
};

// The services on Qt's message box and file dialogs, owned by the window they serve.
class TQtWindowServices : public TWindowServices {
 public:
  explicit TQtWindowServices(QWidget* parent) : FParent(parent) {}
  // The window the boxes and dialogs belong to.
  void SetParent(QWidget* parent) { FParent = parent; }

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  std::optional<std::string> ExecuteSaveDialog(const TFileFilter& filter,
                                               const std::string& proposedName) override;
  std::optional<std::string> ExecuteOpenDialog(const TFileFilter& filter,
                                               const std::string& proposedName) override;

 private:
  QWidget* FParent;
};
