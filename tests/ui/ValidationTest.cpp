// Validation of the fields: the blank and the whole-number tests, their order, the message and
// the focus, and the exit rules that decide when a field counts as left.
#include <QFocusEvent>
#include <QPushButton>
#include <QSignalBlocker>

#include "WindowFixture.h"

namespace {

const char kNumberTail[] = "\r\nValue must be a number.";

// Writes a text without running the field's handlers, as if typed before the rules could react.
void Put(TEditField* field, const char* text) {
  QSignalBlocker quiet(field);
  field->setText(QString::fromUtf8(text));
}

struct TValidationCase {
  const char* name;
  const char* field;  // object name
  const char* text;
  const char* message;  // "" when the form is valid
};

const TValidationCase kCases[] = {
    {"blank count", "txtLayerCount", "", "Null value in field: Number of pieces"},
    {"blanks only", "txtDimB", " \t ", "Null value in field: Size B"},
    {"fraction", "txtDimA", "12.5", "Incorrect value in field: Size A"},
    {"leading space", "txtDimA", " 12", ""},
    {"trailing space", "txtDimA", "12 ", "Incorrect value in field: Size A"},
    {"zero", "txtDimC", "0", ""},
    {"negative", "txtDimD", "-5", ""},
    {"largest", "txtDimD", "2147483647", ""},
    {"beyond", "txtDimD", "2147483648", "Incorrect value in field: Size D"},
    {"dollar hex", "txtPanelSpace", "$1F", ""},
    {"0x hex", "txtPanelSpace", "0x1F", ""},
    {"hex wraps", "txtDimA", "$FFFFFFFF", ""},
    {"hex too long", "txtDimA", "$100000000", "Incorrect value in field: Size A"},
    {"lone minus", "txtDimB", "-", "Incorrect value in field: Size B"},
    {"exponent", "txtDimB", "1e3", "Incorrect value in field: Size B"},
    {"unit", "txtDimB", "10mm", "Incorrect value in field: Size B"},
    {"blank length", "txtPanelLength", "", "Null value in field: Panel length"},
    {"front base", "txtDimFrontBase", "abc", "Incorrect value in field: Front base width"},
    {"rear base", "txtDimRearBase", "", "Null value in field: Rear base width"},
};

TEST_F(WindowTest, ValidationTable) {
  TFormMain& form = Open();
  SelectType(ptDoubleSlopeNarrow);
  Type(form.txtLayerCount, "2");
  for (const TValidationCase& c : kCases) {
    SCOPED_TRACE(c.name);
    services_.messages.clear();
    auto* field = form.findChild<TEditField*>(c.field);
    ASSERT_NE(field, nullptr);
    const QString before = field->text();
    form.btnGenPlt->setFocus(Qt::TabFocusReason);
    Put(field, c.text);
    const bool valid = form.IsFormValid();
    if (*c.message == '\0') {
      EXPECT_TRUE(valid);
      EXPECT_TRUE(services_.messages.empty());
    } else {
      EXPECT_FALSE(valid);
      ASSERT_EQ(services_.messages.size(), 1u);
      const bool blank = std::string(c.message).rfind("Null", 0) == 0;
      EXPECT_EQ(services_.messages[0], std::string(c.message) + (blank ? "" : kNumberTail));
      EXPECT_EQ(QApplication::focusWidget(), field);
    }
    Put(field, before.toUtf8().constData());
  }
}

TEST_F(WindowTest, PolishMessagesNameTheFieldByItsCaption) {
  TFormMain& form = Open(true);
  Put(form.txtPanelLength, "");
  EXPECT_FALSE(form.IsFormValid());
  Put(form.txtPanelLength, "x");
  EXPECT_FALSE(form.IsFormValid());
  ASSERT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(services_.messages[0], "Brak warto\u015Bci w polu: D\u0142ugo\u015B\u0107 panelu");
  EXPECT_EQ(services_.messages[1],
            "Nieprawid\u0142owa warto\u015B\u0107 w polu: D\u0142ugo\u015B\u0107 panelu\r\n"
            "Warto\u015B\u0107 musi by\u0107 liczb\u0105.");
}

TEST_F(WindowTest, OnlyTheFirstFailingFieldIsReported) {
  TFormMain& form = Open();
  SelectType(ptDoubleSlopeNarrow);
  Put(form.txtDimA, "");
  Put(form.txtDimD, "abc");
  Put(form.txtDimFrontBase, "abc");
  EXPECT_FALSE(form.IsFormValid());
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0], "Null value in field: Size A");
  EXPECT_EQ(QApplication::focusWidget(), form.txtDimA);
}

TEST_F(WindowTest, LockedBaseWidthsAreNotExamined) {
  TFormMain& form = Open();
  SelectType(ptGutter);
  Put(form.txtDimFrontBase, "abc");
  Put(form.txtDimRearBase, "");
  EXPECT_TRUE(form.IsFormValid());
  // A locked dimension is examined and named all the same; the focus cannot go there.
  SelectType(ptSlope);
  form.txtDimA->setFocus(Qt::MouseFocusReason);
  Put(form.txtDimC, "x");
  EXPECT_FALSE(form.IsFormValid());
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0], std::string("Incorrect value in field: Size C") + kNumberTail);
  EXPECT_EQ(QApplication::focusWidget(), form.txtDimA);
}

TEST_F(WindowTest, IsEmptyValue) {
  TFormMain& form = Open();
  EXPECT_TRUE(form.IsEmptyValue(""));
  EXPECT_TRUE(form.IsEmptyValue("   "));
  EXPECT_TRUE(form.IsEmptyValue(std::string("\t\r\n\0 ", 5)));
  EXPECT_FALSE(form.IsEmptyValue(" 0 "));
}

TEST_F(WindowTest, TypingReportsAtOnceAndKeepsTheWorkArea) {
  TFormMain& form = Open();
  SelectType(ptGutter);
  Type(form.txtDimA, "30");
  const std::string width = Text(form.bevPrjWidth);
  const double dimA = form.Project().RoofPanel().DimA();
  QTest::keyClick(form.txtDimA, 'x');
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0], std::string("Incorrect value in field: Size A") + kNumberTail);
  EXPECT_EQ(Text(form.bevPrjWidth), width);
  EXPECT_EQ(form.Project().RoofPanel().DimA(), dimA);
}

TEST_F(WindowTest, LoneMinusSendsTheFocusToTheFirstFailingField) {
  TFormMain& form = Open();
  SelectType(ptDoubleSlope);
  Put(form.txtDimB, "abc");
  Type(form.txtDimD, "-");
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0], std::string("Incorrect value in field: Size B") + kNumberTail);
  EXPECT_EQ(QApplication::focusWidget(), form.txtDimB);
}

TEST_F(WindowTest, EmptyingIsQuietLeavingEmptyIsNot) {
  TFormMain& form = Open();
  SelectType(ptFlat);
  Type(form.txtDimA, "");
  EXPECT_TRUE(services_.messages.empty());
  EXPECT_EQ(QApplication::focusWidget(), form.txtDimA);
  Tab();
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0], "Null value in field: Size A");
  EXPECT_EQ(QApplication::focusWidget(), form.txtDimA);
}

TEST_F(WindowTest, LeavingByTabOrMouseIsAnExitOthersAreNot) {
  TFormMain& form = Open();
  SelectType(ptFlat);
  Type(form.txtDimA, "");
  services_.messages.clear();
  // A message box, a menu or another window taking the focus: the field is not left.
  for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
    QFocusEvent out(QEvent::FocusOut, reason);
    QApplication::sendEvent(form.txtDimA, &out);
  }
  EXPECT_TRUE(services_.messages.empty());
  // A focus loss without a focus gain before it is no exit either.
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(form.txtLayerCount, &out);
  EXPECT_TRUE(services_.messages.empty());
  // The mouse moving to another field is.
  form.txtPanelLength->setFocus(Qt::MouseFocusReason);
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0], "Null value in field: Size A");
  EXPECT_EQ(QApplication::focusWidget(), form.txtDimA);
}

TEST_F(WindowTest, TabFromAFieldToAnInvalidOneShowsOneMessage) {
  TFormMain& form = Open();
  SelectType(ptDoubleSlope);
  Put(form.txtDimC, "abc");
  form.txtDimB->setFocus(Qt::MouseFocusReason);
  Tab();  // B is left for C: the validation finds C, focuses it, and leaving B is not repeated
  Tab();  // C, invalid, is left: the message again, as a new action
  ASSERT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(services_.messages[0], std::string("Incorrect value in field: Size C") + kNumberTail);
  EXPECT_EQ(services_.messages[1], services_.messages[0]);
  EXPECT_EQ(QApplication::focusWidget(), form.txtDimC);
}

}  // namespace
