// The window's controls, their places and the state the start-up leaves.
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "WindowFixture.h"
#include "base/Version.h"
#include "ui/ImageBox.h"
#include "ui/MainControls.h"

namespace {

struct TPlace {
  const char* name;
  const char* container;
  int left, top, width, height;  // width and height -1: sized to the text
};

const TPlace kPlaces[] = {
    {"panPanelView", "clientArea", 2, 1, 608, 449},
    {"cmbPanelsType", "panPanelView", 10, 21, 586, 27},
    {"imgBlockSkech", "panPanelView", 11, 72, 360, 360},
    {"grpPanelDim", "panPanelView", 386, 72, 212, 360},
    {"labLayerCount", "grpPanelDim", 9, 24, -1, -1},
    {"txtLayerCount", "grpPanelDim", 136, 21, 47, 21},
    {"labDimA", "grpPanelDim", 9, 51, -1, -1},
    {"txtDimA", "grpPanelDim", 136, 48, 47, 21},
    {"labDimAUnits", "grpPanelDim", 184, 51, -1, -1},
    {"labDimB", "grpPanelDim", 10, 80, -1, -1},
    {"txtDimB", "grpPanelDim", 136, 75, 47, 21},
    {"labDimBUnits", "grpPanelDim", 184, 78, -1, -1},
    {"labDimC", "grpPanelDim", 9, 105, -1, -1},
    {"txtDimC", "grpPanelDim", 136, 102, 47, 21},
    {"labDimCUnits", "grpPanelDim", 184, 105, -1, -1},
    {"labDimD", "grpPanelDim", 9, 132, -1, -1},
    {"txtDimD", "grpPanelDim", 136, 129, 47, 21},
    {"labDimDUnits", "grpPanelDim", 184, 132, -1, -1},
    {"labDimFrontBase", "grpPanelDim", 9, 159, -1, -1},
    {"txtDimFrontBase", "grpPanelDim", 136, 156, 47, 21},
    {"labDimFrontBaseUnits", "grpPanelDim", 184, 159, -1, -1},
    {"labDimRearBase", "grpPanelDim", 9, 186, -1, -1},
    {"txtDimRearBase", "grpPanelDim", 136, 183, 47, 21},
    {"labDimRearBaseUnits", "grpPanelDim", 184, 186, -1, -1},
    {"labBlockWidth", "grpPanelDim", 9, 227, 96, -1},
    {"txtPanelLength", "grpPanelDim", 136, 224, 47, 21},
    {"labBlockWidthUnits", "grpPanelDim", 184, 227, -1, -1},
    {"labPanelSpace", "grpPanelDim", 9, 272, 116, -1},
    {"txtPanelSpace", "grpPanelDim", 136, 269, 47, 21},
    {"labPanelSpaceUnits", "grpPanelDim", 184, 272, -1, -1},
    {"chkSkipBottom", "grpPanelDim", 7, 292, 176, 17},
    {"chkCutDiagonally", "grpPanelDim", 7, 314, 176, 17},
    {"grpBlockLayout", "clientArea", 612, 1, 178, 189},
    {"imgMachine", "grpBlockLayout", 9, 21, 160, 160},
    {"grpCuttingMode", "clientArea", 612, 191, 178, 40},
    {"labCuttingMode", "grpCuttingMode", 17, 16, -1, -1},
    {"grpPrjSize", "clientArea", 612, 240, 178, 113},
    {"labPrjWidth", "grpPrjSize", 7, 29, -1, -1},
    {"bevPrjWidth", "grpPrjSize", 102, 26, 47, 19},
    {"labPrjWidthUnits", "grpPrjSize", 150, 29, -1, -1},
    {"labPrjHeight", "grpPrjSize", 6, 56, -1, -1},
    {"bevPrjHeight", "grpPrjSize", 102, 54, 47, 19},
    {"labPrjHeightUnits", "grpPrjSize", 150, 56, -1, -1},
    {"labPrjDepth", "grpPrjSize", 7, 83, -1, -1},
    {"bevPrjDepth", "grpPrjSize", 102, 82, 47, 19},
    {"labPrjDepthUnits", "grpPrjSize", 150, 83, -1, -1},
    {"btnGenPlt", "clientArea", 617, 368, 172, 82},
};

class MainLayout : public WindowTest, public testing::WithParamInterface<bool> {};

TEST_P(MainLayout, EveryControlInItsPlace) {
  TFormMain& form = Open(GetParam());
  for (const TPlace& place : kPlaces) {
    SCOPED_TRACE(place.name);
    auto* widget = form.findChild<QWidget*>(place.name);
    ASSERT_NE(widget, nullptr);
    ASSERT_NE(widget->parentWidget(), nullptr);
    EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), place.container);
    EXPECT_EQ(widget->x(), place.left);
    EXPECT_EQ(widget->y(), place.top);
    if (place.width >= 0) {
      EXPECT_EQ(widget->width(), place.width);
    }
    if (place.height >= 0) {
      EXPECT_EQ(widget->height(), place.height);
    }
    // Sized to its text: nothing of the caption is cut off.
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap()) {
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    }
    // Everything lies within its container.
    EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
        << widget->geometry().x() << "," << widget->geometry().y() << " "
        << widget->geometry().width() << "x" << widget->geometry().height();
  }
  for (const char* name : {"mnuMain", "miFile", "miOpen", "miSave", "miExit"}) {
    EXPECT_NE(form.findChild<QObject*>(name), nullptr) << name;
  }
  EXPECT_EQ(form.clientArea->size(), QSize(794, 454));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form.size().height(), 454 + form.menuBar()->height());
}

TEST_P(MainLayout, StartUpState) {
  const bool polish = GetParam();
  TFormMain& form = Open(polish);
  EXPECT_TRUE(services_.messages.empty());
  EXPECT_TRUE(services_.errors.empty());
  EXPECT_EQ(form.windowTitle().toStdString(),
            std::string(polish ? "Tectoplan (wersja: " : "Tectoplan (version: ") +
                kTectoplanVersion + ")");

  ASSERT_EQ(form.cmbPanelsType->count(), 9);
  EXPECT_EQ(form.cmbPanelsType->currentIndex(), 0);
  EXPECT_EQ(form.cmbPanelsType->itemText(0), "");
  EXPECT_EQ(form.cmbPanelsType->itemText(1).toStdString(),
            polish ? "P\u0142aski - wszystkie naro\u017Cniki takie same" : "Flat");
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(form.cmbPanelsType->itemData(i).toInt(), i);
  }
  EXPECT_EQ(form.cmbPanelsType->maxVisibleItems(), 9);
  EXPECT_EQ(Text(form.labCuttingMode), "2D");
  EXPECT_EQ(form.imgBlockSkech->FileName(), Path("images/Panel_Empty.wmf"));
  EXPECT_EQ(form.imgMachine->FileName(), Path("images/FoamBlockLayout_1.wmf"));
  EXPECT_EQ(form.CurPanelType(), ptEmpty);
  EXPECT_TRUE(form.ComputePrjEnabled());

  struct TFieldState {
    TEditField* field;
    const char* text;
    bool enabled;
  };
  for (const TFieldState& f :
       std::initializer_list<TFieldState>{{form.txtLayerCount, "1", true},
                                          {form.txtDimA, "0", false},
                                          {form.txtDimB, "0", false},
                                          {form.txtDimC, "0", false},
                                          {form.txtDimD, "0", false},
                                          {form.txtDimFrontBase, "1000", false},
                                          {form.txtDimRearBase, "1000", false},
                                          {form.txtPanelLength, "1000", true},
                                          {form.txtPanelSpace, "0", false}}) {
    SCOPED_TRACE(f.field->objectName().toStdString());
    EXPECT_EQ(Text(f.field), f.text);
    EXPECT_EQ(f.field->isEnabled(), f.enabled);
    EXPECT_EQ(f.field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    // Locked fields are grey, editable ones white.
    const QPalette::ColorRole expected = f.enabled ? QPalette::Base : QPalette::Button;
    const QPalette::ColorGroup group = f.enabled ? QPalette::Active : QPalette::Disabled;
    EXPECT_EQ(f.field->palette().color(group, QPalette::Base),
              QApplication::palette().color(expected));
  }
  EXPECT_TRUE(form.chkSkipBottom->isEnabled());
  EXPECT_FALSE(form.chkSkipBottom->isChecked());
  EXPECT_FALSE(form.chkCutDiagonally->isEnabled());
  EXPECT_FALSE(form.chkCutDiagonally->isChecked());
  // The empty type computes nothing: the new project's work area, shown whole.
  EXPECT_EQ(Text(form.bevPrjWidth), "  0");
  EXPECT_EQ(Text(form.bevPrjHeight), "  0");
  EXPECT_EQ(Text(form.bevPrjDepth), "  0");
  EXPECT_EQ(form.Project().PanelLength(), 1000.0);
}

TEST_P(MainLayout, LocalizedCaptions) {
  const bool polish = GetParam();
  TFormMain& form = Open(polish);
  EXPECT_EQ(form.grpPanelDim->title().toStdString(), GetLocalStr(7));
  EXPECT_EQ(Text(form.labBlockWidth), GetLocalStr(28));
  EXPECT_EQ(Text(form.labBlockWidthUnits), "[mm]");
  EXPECT_EQ(form.btnGenPlt->text().toStdString(), GetLocalStr(20));
  EXPECT_EQ(form.miExit->text().toStdString(), GetLocalStr(26));
  EXPECT_EQ(form.miFile->title().toStdString(), GetLocalStr(23));
  EXPECT_EQ(form.grpCuttingMode->title().toStdString(), GetLocalStr(39));
  EXPECT_EQ(form.chkCutDiagonally->text().toStdString(), GetLocalStr(22));
}

TEST_F(WindowTest, KeyboardOrder) {
  TFormMain& form = Open();
  // The chain the Tab key follows, without the controls it skips.
  std::vector<std::string> order;
  QWidget* w = form.cmbPanelsType;
  do {
    if (w->focusPolicy() & Qt::TabFocus) {
      order.push_back(w->objectName().toStdString());
    }
    w = w->nextInFocusChain();
  } while (w != form.cmbPanelsType && order.size() < 20);
  order.push_back(w->objectName().toStdString());
  EXPECT_EQ(order, (std::vector<std::string>{
                       "cmbPanelsType", "txtLayerCount", "txtDimA", "txtDimB", "txtDimC", "txtDimD",
                       "txtDimFrontBase", "txtDimRearBase", "txtPanelLength", "txtPanelSpace",
                       "chkSkipBottom", "chkCutDiagonally", "btnGenPlt", "cmbPanelsType"}));
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(WindowTest, FontsOfTheDesign) {
  TFormMain& form = Open();
  EXPECT_EQ(form.font().pixelSize(), 11);
  EXPECT_EQ(form.cmbPanelsType->font().pixelSize(), 16);
  EXPECT_TRUE(form.cmbPanelsType->font().bold());
  EXPECT_EQ(form.btnGenPlt->font().pixelSize(), 13);
  EXPECT_TRUE(form.btnGenPlt->font().bold());
  if (QFontInfo(form.font()).family() == "Tahoma") {
    // The design's widest caption fits its measured width exactly with the original metrics.
    LoadPolishStr();
    EXPECT_EQ(form.fontMetrics().horizontalAdvance(
                  QString::fromUtf8("Szeroko\u015B\u0107 podstawy prz\u00F3d")),
              128);
  }
}

TEST_F(WindowTest, ControlLookupRefusesMissingAndMistypedNames) {
  TFormMain& form = Open();
  EXPECT_EQ(MainControl<TEditField>(form.clientArea, "txtDimA"), form.txtDimA);
  EXPECT_EQ(MainControl<QWidget>(form.clientArea, "grpPrjSize"), form.grpPrjSize);
  EXPECT_THROW(MainControl<QLabel>(form.clientArea, "txtDimA"), std::logic_error);
  EXPECT_THROW(MainControl<QWidget>(form.clientArea, "txtDimE"), std::logic_error);
}

TEST_F(WindowTest, MissingPictureAtStartUpIsShownOnceAfterTheStartUp) {
  std::filesystem::remove(folder_ / "images" / "FoamBlockLayout_1.wmf");
  TFormMain& form = Open();
  ASSERT_EQ(services_.errors.size(), 1u);
  EXPECT_EQ(services_.errors[0], "Unable to read the picture " +
                                     Path("images/FoamBlockLayout_1.wmf") +
                                     ": No such file or directory");
  EXPECT_EQ(form.imgMachine->FileName(), "");
  EXPECT_EQ(form.imgBlockSkech->FileName(), Path("images/Panel_Empty.wmf"));
  // The rest of the start-up ran: list, rules and the work area.
  EXPECT_EQ(form.cmbPanelsType->count(), 9);
  EXPECT_EQ(Text(form.txtDimA), "0");
  EXPECT_EQ(Text(form.bevPrjWidth), "  0");
}

INSTANTIATE_TEST_SUITE_P(Languages, MainLayout, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Polish" : "English"; });

}  // namespace
