// A main window for one test: the services replaced by a recorder with scripted dialog answers,
// the pictures in a folder of the test's own, the interface language chosen by the test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "locale/LocalStr.h"
#include "platform/NumberText.h"
#include "ui/EditField.h"
#include "ui/Main.h"
#include "ui/WindowServices.h"

class TRecordingServices : public TWindowServices {
 public:
  struct TDialog {
    bool save;
    TFileFilter filter;
    std::string proposedName;
  };

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  std::optional<std::string> ExecuteSaveDialog(const TFileFilter& filter,
                                               const std::string& proposedName) override {
    dialogs.push_back({true, filter, proposedName});
    return NextAnswer();
  }
  std::optional<std::string> ExecuteOpenDialog(const TFileFilter& filter,
                                               const std::string& proposedName) override {
    dialogs.push_back({false, filter, proposedName});
    return NextAnswer();
  }

  std::vector<std::string> messages;  // validation messages
  std::vector<std::string> errors;    // the general handler's
  std::vector<TDialog> dialogs;
  std::deque<std::optional<std::string>> answers;  // a dialog without an answer is cancelled

 private:
  std::optional<std::string> NextAnswer() {
    if (answers.empty()) {
      return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    folder_ =
        fs::temp_directory_path() / ("tectoplan-ui-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "images");
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(TECTOPLAN_BINARY_DIR) / "images")) {
      CopyPicture(entry.path().filename().string());
    }
    platform::NumberFormat().decimalSeparator = ".";
  }

  void TearDown() override {
    form_.reset();
    LoadEnglishStr();
    platform::NumberFormat().decimalSeparator = ".";
    std::filesystem::remove_all(folder_);
  }

  // Opens the window in the given language; shown and active, as the operator sees it.
  TFormMain& Open(bool polish = false) {
    polish ? LoadPolishStr() : LoadEnglishStr();
    form_ = std::make_unique<TFormMain>(services_, (folder_ / "images").string() + "/");
    form_->show();
    Activate();
    return *form_;
  }

  // Headless, no window gets the focus back by itself.
  void Activate() {
    QApplication::setActiveWindow(form_.get());
    form_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  }

  // Focuses the field the way a mouse click does and types text into it, key by key.
  void Type(TEditField* field, const std::string& text, bool clearFirst = true) {
    field->setFocus(Qt::MouseFocusReason);
    if (clearFirst) {
      field->selectAll();
      QTest::keyClick(field, Qt::Key_Delete);
    }
    QTest::keyClicks(field, QString::fromStdString(text));
  }

  void Tab() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    SettlePreview();
  }

  // Lets the open preview's run end and its result arrive, so that it shows the fields as
  // they are.
  void SettlePreview() {
    QElapsedTimer waited;
    waited.start();
    while (form_ && !form_->PreviewSettled() && waited.elapsed() < 30000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    ASSERT_TRUE(!form_ || form_->PreviewSettled()) << "the preview did not settle";
  }

  // Chooses a panel type from the list as the user does.
  void SelectType(TRoofPanelType type) {
    QComboBox* list = form_->cmbPanelsType;
    list->setCurrentIndex(form_->GetCmbPanelsTypeIdx(type));
    emit list->activated(list->currentIndex());
  }

  static std::string Text(const QLineEdit* field) { return field->text().toStdString(); }
  static std::string Text(const QLabel* label) { return label->text().toStdString(); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  // The pictures the build drew, copied so that a test may remove or damage its own.
  void CopyPicture(const std::string& name) {
    std::filesystem::copy_file(std::filesystem::path(TECTOPLAN_BINARY_DIR) / "images" / name,
                               folder_ / "images" / name,
                               std::filesystem::copy_options::overwrite_existing);
  }

  std::filesystem::path folder_;
  TRecordingServices services_;
  std::unique_ptr<TFormMain> form_;
};
