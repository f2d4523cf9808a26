// The application object of the interactive run: Qt's, with the last-resort error handler at the
// point where Qt dispatches events, so that an error escaping an event handler is shown and the
// event loop goes on.
#pragma once

#include <QApplication>

class TWindowServices;

class TTectoplanApplication : public QApplication {
 public:
  TTectoplanApplication(int& argc, char** argv);
  // Where the escaped errors are shown; none: they are written to standard error.
  void SetServices(TWindowServices* services) { FServices = services; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  TWindowServices* FServices = nullptr;
};

// What every application object of the window needs after it is created: the title, one style
// on every desktop, the window's fonts, and LC_NUMERIC back to "C" (Qt sets the C locale from the
// environment; number conversions here never depend on it, but the libraries below must not
// see a decimal comma either).
void PrepareApplication();

// Installs Qt's translation of its own texts for the interface language of the text table, in
// place of the one installed before.
void LoadQtTranslations();
