// The file dialogs are Qt's own, in the interface language: the open dialog of File > Open and the
// save dialog of "Generate file", driven through the window with the real window services. Each
// is rendered to build/window-renders/ to look at.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

#include "locale/LocalStr.h"
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/WindowServices.h"

namespace {

struct TSeenDialog {
  bool shown = false;
  bool qtsOwn = false;
  std::vector<std::string> buttons;
  std::vector<std::string> labels;
};

// Answers the next modal dialog: notes what it shows, renders it to file, and cancels it.
void CancelNextDialog(TSeenDialog& seen, const QString& png) {
  QTimer::singleShot(50, [&seen, png] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (QWidget* other = QApplication::activeModalWidget()) {
        other->close();
      }
      return;
    }
    seen.shown = true;
    seen.qtsOwn = dialog->testOption(QFileDialog::DontUseNativeDialog);
    for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
      seen.buttons.push_back(button->text().toStdString());
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      seen.labels.push_back(label->text().toStdString());
    }
    QImage image(dialog->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    dialog->render(&image);
    image.save(png);
    dialog->reject();
  });
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(FileDialog, QtsOwnDialogsSpeakTheInterfaceLanguage) {
  const QString outDir = QString::fromUtf8(TECTOPLAN_BINARY_DIR "/window-renders");
  QDir().mkpath(outDir);
  struct TCase {
    bool polish;
    const char* language;
    std::string open, save, cancel, fileName;
  };
  const TCase cases[] = {
      {false, "en", "&Open", "&Save", "Cancel", "File &name:"},
      {true, "pl", "&Otwórz", "&Zachowaj", "Anuluj", "Nazwa &pliku:"},
  };
  // The dialogs open in the current folder: one of a workshop's jobs.
  const QString jobs = QDir::temp().filePath("jobs");
  QDir(jobs).removeRecursively();
  QDir().mkpath(jobs);
  for (const char* name : {"roof.tcj", "gutter.tcj", "gutter.plt"}) {
    QFile file(QDir(jobs).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const QString before = QDir::currentPath();
  QDir::setCurrent(jobs);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.language);
    c.polish ? LoadPolishStr() : LoadEnglishStr();
    LoadQtTranslations();
    TQtWindowServices services(nullptr);
    TFormMain form(services, std::string(TECTOPLAN_BINARY_DIR) + "/images/");
    services.SetParent(&form);
    form.show();

    TSeenDialog open;
    CancelNextDialog(open, QString("%1/dialog-%2-open.png").arg(outDir, c.language));
    form.miOpen->trigger();
    ASSERT_TRUE(open.shown);
    EXPECT_TRUE(open.qtsOwn);
    EXPECT_TRUE(Contains(open.buttons, c.open));
    EXPECT_TRUE(Contains(open.buttons, c.cancel));
    EXPECT_TRUE(Contains(open.labels, c.fileName));

    TSeenDialog generate;
    CancelNextDialog(generate, QString("%1/dialog-%2-generate.png").arg(outDir, c.language));
    form.btnGenPlt->click();
    ASSERT_TRUE(generate.shown);
    EXPECT_TRUE(generate.qtsOwn);
    EXPECT_TRUE(Contains(generate.buttons, c.save));
    EXPECT_TRUE(Contains(generate.buttons, c.cancel));
  }
  QDir::setCurrent(before);
  QDir(jobs).removeRecursively();
  LoadEnglishStr();
  LoadQtTranslations();
}

}  // namespace
