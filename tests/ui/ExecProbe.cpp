// Preloaded into the real program: stands in for the event loop of the window module's
// application, reports what the window shows and what the core holds, and ends the run.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <cstdio>

#include "base/AppCfg.h"

int QApplication::exec() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() != "FormMain") {
      continue;
    }
    std::printf("title=%s\n", top->windowTitle().toUtf8().constData());
    if (const auto* types = top->findChild<QComboBox*>("cmbPanelsType"); types && types->count()) {
      std::printf("panel-type-1=%s\n", types->itemText(1).toUtf8().constData());
    }
    for (const QLineEdit* edit : top->findChildren<QLineEdit*>()) {
      std::printf("field %s=%s\n", edit->objectName().toUtf8().constData(),
                  edit->text().toUtf8().constData());
    }
  }
  std::printf("language=0x%02x\n", AppCfg.Language);
  std::printf("app-cfg=%p\n", static_cast<void*>(&AppCfg));
  return 0;
}
