#include "ui/Application.h"

#include <QStyleFactory>
#include <clocale>
#include <cstdio>
#include <exception>

#include "locale/ErrorStr.h"
#include "ui/Fonts.h"
#include "ui/WindowServices.h"

TTectoplanApplication::TTectoplanApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TTectoplanApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    const std::string text = ErrorText(e);
    if (FServices) {
      FServices->ShowError(text);
    } else {
      std::fprintf(stderr, "tectoplan: %s\n", text.c_str());
    }
  }
  return true;
}

void PrepareApplication() {
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  LoadWindowFonts();
}
