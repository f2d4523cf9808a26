#include "ui/MainControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cstdint>
#include <string_view>

#include "locale/LocalStr.h"
#include "ui/EditField.h"
#include "ui/Fonts.h"
#include "ui/ImageBox.h"

namespace {

constexpr int kListFontHeight = 16;
constexpr int kButtonFontHeight = 13;

enum class TKind : std::uint8_t {
  Frame,         // a plain box around other controls
  List,          // the drop-down list, in its own bold font
  Image,         // a picture box
  Group,         // a group box with a title; holds other controls
  Label,         // a caption sized to its text; width and height are not used
  WrappedLabel,  // a caption wrapped at its width, as high as its text; height is not used
  Edit,          // an edit field; the caption is its first text
  CheckBox,      // a check box with its caption on the left
  Value,         // a sunken display of a computed value
  Button,        // a push button in its own bold font
};

constexpr int kNoText = -1;  // the caption is not localized

struct TPlace {
  const char* name;
  TKind kind;
  const char* container;  // "clientArea" or a frame or group box of an earlier row
  int left, top, width, height;
  const char* caption;  // the design's text, in Polish
  int textSlot;         // the localized text that replaces the caption, or kNoText
};

using enum TKind;

// Rows within a container are in the order of the design, top to bottom.
constexpr TPlace kPlaces[] = {
    {"panPanelView", Frame, "clientArea", 2, 1, 608, 449, "", kNoText},
    {"cmbPanelsType", List, "panPanelView", 10, 21, 586, 27, "", kNoText},
    {"imgBlockSkech", Image, "panPanelView", 11, 72, 360, 360, "", kNoText},
    {"grpPanelDim", Group, "panPanelView", 386, 72, 212, 360, "Wymiary panelu", 7},
    {"labLayerCount", Label, "grpPanelDim", 9, 24, -1, -1, "Ilość warstw", 8},
    {"txtLayerCount", Edit, "grpPanelDim", 136, 21, 47, 21, "1", kNoText},
    {"labDimA", Label, "grpPanelDim", 9, 51, -1, -1, "Wymiar A", 9},
    {"txtDimA", Edit, "grpPanelDim", 136, 48, 47, 21, "1", kNoText},
    {"labDimAUnits", Label, "grpPanelDim", 184, 51, -1, -1, "[mm]", 0},
    {"labDimB", Label, "grpPanelDim", 10, 80, -1, -1, "Wymiar B", 10},
    {"txtDimB", Edit, "grpPanelDim", 136, 75, 47, 21, "1", kNoText},
    {"labDimBUnits", Label, "grpPanelDim", 184, 78, -1, -1, "[mm]", 0},
    {"labDimC", Label, "grpPanelDim", 9, 105, -1, -1, "Wymiar C", 11},
    {"txtDimC", Edit, "grpPanelDim", 136, 102, 47, 21, "1", kNoText},
    {"labDimCUnits", Label, "grpPanelDim", 184, 105, -1, -1, "[mm]", 0},
    {"labDimD", Label, "grpPanelDim", 9, 132, -1, -1, "Wymiar D", 12},
    {"txtDimD", Edit, "grpPanelDim", 136, 129, 47, 21, "1", kNoText},
    {"labDimDUnits", Label, "grpPanelDim", 184, 132, -1, -1, "[mm]", 0},
    {"labDimFrontBase", Label, "grpPanelDim", 9, 159, -1, -1, "Szerokość podstawy przód", 13},
    {"txtDimFrontBase", Edit, "grpPanelDim", 136, 156, 47, 21, "1", kNoText},
    {"labDimFrontBaseUnits", Label, "grpPanelDim", 184, 159, -1, -1, "[mm]", 0},
    {"labDimRearBase", Label, "grpPanelDim", 9, 186, -1, -1, "Szerokość podstawy tył", 14},
    {"txtDimRearBase", Edit, "grpPanelDim", 136, 183, 47, 21, "1", kNoText},
    {"labDimRearBaseUnits", Label, "grpPanelDim", 184, 186, -1, -1, "[mm]", 0},
    {"labBlockWidth", WrappedLabel, "grpPanelDim", 9, 227, 96, -1, "Szerokość materiału", 28},
    {"txtPanelLength", Edit, "grpPanelDim", 136, 224, 47, 21, "0", kNoText},
    // The unit of the panel length and those of the work area stay "[mm]" in every language.
    {"labBlockWidthUnits", Label, "grpPanelDim", 184, 227, -1, -1, "[mm]", kNoText},
    {"labPanelSpace", WrappedLabel, "grpPanelDim", 9, 272, 116, -1, "Odstęp między panelami", 15},
    {"txtPanelSpace", Edit, "grpPanelDim", 136, 269, 47, 21, "0", kNoText},
    {"labPanelSpaceUnits", Label, "grpPanelDim", 184, 272, -1, -1, "[mm]", 0},
    {"chkSkipBottom", CheckBox, "grpPanelDim", 7, 292, 176, 17, "Pomiń cięcie spodu", 21},
    {"chkCutDiagonally", CheckBox, "grpPanelDim", 7, 314, 176, 17, "Rozetnij panel po przekątnej",
     22},
    {"grpBlockLayout", Group, "clientArea", 612, 1, 178, 189, "Rozmieszczenie bloku na maszynie",
     27},
    {"imgMachine", Image, "grpBlockLayout", 9, 21, 160, 160, "", kNoText},
    {"grpCuttingMode", Group, "clientArea", 612, 191, 178, 40, "Tryb cięcia", 39},
    // The cutting mode of the panel type replaces the caption on every type change.
    {"labCuttingMode", Label, "grpCuttingMode", 17, 16, -1, -1, "2D", kNoText},
    {"grpPrjSize", Group, "clientArea", 612, 240, 178, 113, "Wymiary projektu", 16},
    {"labPrjWidth", Label, "grpPrjSize", 7, 29, -1, -1, "Szerokość", 17},
    {"bevPrjWidth", Value, "grpPrjSize", 102, 26, 47, 19, " ", kNoText},
    {"labPrjWidthUnits", Label, "grpPrjSize", 150, 29, -1, -1, "[mm]", kNoText},
    {"labPrjHeight", Label, "grpPrjSize", 6, 56, -1, -1, "Wysokość", 18},
    {"bevPrjHeight", Value, "grpPrjSize", 102, 54, 47, 19, " ", kNoText},
    {"labPrjHeightUnits", Label, "grpPrjSize", 150, 56, -1, -1, "[mm]", kNoText},
    {"labPrjDepth", Label, "grpPrjSize", 7, 83, -1, -1, "Głębokość", 19},
    {"bevPrjDepth", Value, "grpPrjSize", 102, 82, 47, 19, " ", kNoText},
    {"labPrjDepthUnits", Label, "grpPrjSize", 150, 83, -1, -1, "[mm]", kNoText},
    {"btnGenPlt", Button, "clientArea", 617, 368, 172, 82, "Generuj plik projektu", 20},
};

// Every container is the client area or a frame or group box built before the rows it holds,
// and only controls that show a caption of their own take a localized one.
constexpr bool IsWellFormed() {
  for (std::size_t i = 0; i < std::size(kPlaces); ++i) {
    const TPlace& place = kPlaces[i];
    bool containerFound = std::string_view(place.container) == "clientArea";
    for (std::size_t j = 0; j < i && !containerFound; ++j) {
      containerFound = (kPlaces[j].kind == Frame || kPlaces[j].kind == Group) &&
                       std::string_view(kPlaces[j].name) == place.container;
    }
    const bool captioned = place.kind == Group || place.kind == Label ||
                           place.kind == WrappedLabel || place.kind == CheckBox ||
                           place.kind == Button;
    if (!containerFound || (place.textSlot != kNoText && !captioned)) {
      return false;
    }
  }
  return true;
}
static_assert(IsWellFormed());

// A word-wrapped label keeps its width and grows downward.
void FitWrappedLabel(QLabel* label, int width) {
  label->setWordWrap(true);
  label->resize(width, label->heightForWidth(width));
}

QLabel* CreateLabel(QWidget* parent, const TPlace& place) {
  auto* label = new QLabel(QString::fromUtf8(place.caption), parent);
  label->setObjectName(place.name);
  label->move(place.left, place.top);
  label->adjustSize();
  return label;
}

void CreateControl(QWidget* parent, const TPlace& place) {
  const QString caption = QString::fromUtf8(place.caption);
  switch (place.kind) {
    case Frame: {
      auto* frame = new QFrame(parent);
      frame->setObjectName(place.name);
      frame->setFrameStyle(QFrame::Box | QFrame::Plain);
      frame->setGeometry(place.left, place.top, place.width, place.height);
      return;
    }
    case List: {
      auto* list = new QComboBox(parent);
      list->setObjectName(place.name);
      list->setFont(WindowFont(kListFontHeight, true));
      list->setGeometry(place.left, place.top, place.width, place.height);
      return;
    }
    case Image: {
      auto* image = new TImageBox(parent);
      image->setObjectName(place.name);
      image->setGeometry(place.left, place.top, place.width, place.height);
      return;
    }
    case Group: {
      auto* group = new QGroupBox(caption, parent);
      group->setObjectName(place.name);
      group->setGeometry(place.left, place.top, place.width, place.height);
      return;
    }
    case Label:
      CreateLabel(parent, place);
      return;
    case WrappedLabel:
      FitWrappedLabel(CreateLabel(parent, place), place.width);
      return;
    case Edit: {
      auto* edit = new TEditField(parent);
      edit->setObjectName(place.name);
      edit->setGeometry(place.left, place.top, place.width, place.height);
      edit->setText(caption);
      return;
    }
    case CheckBox: {
      auto* box = new QCheckBox(caption, parent);
      box->setObjectName(place.name);
      box->setLayoutDirection(Qt::RightToLeft);  // the caption left of the box
      box->setGeometry(place.left, place.top, place.width, place.height);
      return;
    }
    case Value: {
      auto* display = new QLabel(caption, parent);
      display->setObjectName(place.name);
      display->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
      display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      display->setGeometry(place.left, place.top, place.width, place.height);
      return;
    }
    case Button: {
      auto* button = new QPushButton(caption, parent);
      button->setObjectName(place.name);
      button->setFont(WindowFont(kButtonFontHeight, true));
      button->setGeometry(place.left, place.top, place.width, place.height);
      return;
    }
  }
}

}  // namespace

void BuildMainControls(QWidget* clientArea) {
  for (const TPlace& place : kPlaces) {
    QWidget* parent = clientArea->objectName() == QLatin1String(place.container)
                          ? clientArea
                          : MainControl<QWidget>(clientArea, place.container);
    CreateControl(parent, place);
  }
}

void LoadMainControlsStr(QWidget* clientArea) {
  for (const TPlace& place : kPlaces) {
    if (place.textSlot == kNoText) {
      continue;
    }
    const QString text =
        QString::fromStdString(GetLocalStr(static_cast<std::uint8_t>(place.textSlot)));
    switch (place.kind) {
      case Group:
        MainControl<QGroupBox>(clientArea, place.name)->setTitle(text);
        break;
      case Label:
      case WrappedLabel: {
        auto* label = MainControl<QLabel>(clientArea, place.name);
        label->setText(text);
        if (label->wordWrap()) {
          FitWrappedLabel(label, label->width());
        } else {
          label->adjustSize();
        }
        break;
      }
      case CheckBox:
      case Button:
        MainControl<QAbstractButton>(clientArea, place.name)->setText(text);
        break;
      default:
        break;  // IsWellFormed: no other kind has a localized caption
    }
  }
}
