#include "ui/WindowServices.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

// Qt's own dialogs, not the desktop's: those follow the desktop's language, these the interface
// language the program chose (with Qt's translations loaded for it).
constexpr QFileDialog::Options kDialogOptions = QFileDialog::DontUseNativeDialog;

QString FilterText(const TFileFilter& filter) {
  return QString::fromStdString(filter.description + " (" + filter.pattern + ")");
}

}  // namespace

void TQtWindowServices::ShowMessage(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");  // the validation message breaks its line with CR LF
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), shown, QMessageBox::Ok,
                  FParent);
  box.exec();
}

void TQtWindowServices::ShowError(const std::string& text) {
  ShowMessage(text);
}

std::optional<std::string> TQtWindowServices::ExecuteSaveDialog(const TFileFilter& filter,
                                                                const std::string& proposedName) {
  const QString name = QFileDialog::getSaveFileName(
      FParent, QString(), QString::fromStdString(proposedName), FilterText(filter), nullptr,
      QFileDialog::DontConfirmOverwrite | kDialogOptions);
  if (name.isEmpty()) {
    return std::nullopt;
  }
  return name.toStdString();
}

std::optional<std::string> TQtWindowServices::ExecuteOpenDialog(const TFileFilter& filter,
                                                                const std::string& proposedName) {
  const QString name =
      QFileDialog::getOpenFileName(FParent, QString(), QString::fromStdString(proposedName),
                                   FilterText(filter), nullptr, kDialogOptions);
  if (name.isEmpty()) {
    return std::nullopt;
  }
  return name.toStdString();
}
