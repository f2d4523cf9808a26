#include "ui/Application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <exception>
#include <memory>

#include "locale/ErrorStr.h"
#include "locale/LocalStr.h"
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
  LoadQtTranslations();
}

void LoadQtTranslations() {
  // Qt's own texts (the file dialogs, the buttons of message boxes) in the interface language;
  // English is Qt's own. Without Debian's qt6-translations-l10n they stay English.
  static QTranslator* installed = nullptr;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
    installed = nullptr;
  }
  if (!IsPolishStr()) {
    return;
  }
  auto translator = std::make_unique<QTranslator>();
  if (translator->load(QLocale(QLocale::Polish), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
  }
}
