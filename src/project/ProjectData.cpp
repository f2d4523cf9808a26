#include "project/ProjectData.h"

#include <cmath>

namespace {

// Every expression of the computation is evaluated in this type and rounded to double once,
// where its result is stored.
using Extended = long double;

double Round(Extended value) {
  return static_cast<double>(value);
}

// The height of the stack of layers: LayerCount layers, each followed by the space between
// panels except the top one, starting at elevation and lifted by lift.
double StackHeight(double layerHeight, std::int32_t layerCount, double topSpace, double elevation,
                   double lift) {
  return Round(Extended(layerHeight) * layerCount - topSpace + elevation + lift);
}

}  // namespace

TPanelsProject::TPanelsProject()
    : FRoofPanel(std::make_unique<TRoofPanel>()),
      FFrontFace(std::make_unique<TPanelFace>()),
      FBackFace(std::make_unique<TPanelFace>()),
      FPrjSize(std::make_unique<TPrjSize>()) {}

TPanelsProject::TPanelsProject(const TPanelsProject& other)
    : FPanelType(other.FPanelType),
      FRoofPanel(std::make_unique<TRoofPanel>(*other.FRoofPanel)),
      FElevation(other.FElevation),
      FUnderBottom(other.FUnderBottom),
      FTopSpace(other.FTopSpace),
      FLeftSpace(other.FLeftSpace),
      FLayerCount(other.FLayerCount),
      FFrontFace(std::make_unique<TPanelFace>(*other.FFrontFace)),
      FBackFace(std::make_unique<TPanelFace>(*other.FBackFace)),
      FPrjSize(std::make_unique<TPrjSize>(*other.FPrjSize)),
      FSkipBottom(other.FSkipBottom),
      FPanelLength(other.FPanelLength),
      FFrontBaseWidth(other.FFrontBaseWidth),
      FRearBaseWidth(other.FRearBaseWidth),
      FCutDiagonally(other.FCutDiagonally) {}

TPanelsProject& TPanelsProject::operator=(const TPanelsProject& other) {
  if (this != &other) {
    TPanelsProject copy(other);
    std::swap(FRoofPanel, copy.FRoofPanel);
    std::swap(FFrontFace, copy.FFrontFace);
    std::swap(FBackFace, copy.FBackFace);
    std::swap(FPrjSize, copy.FPrjSize);
    FPanelType = other.FPanelType;
    FElevation = other.FElevation;
    FUnderBottom = other.FUnderBottom;
    FTopSpace = other.FTopSpace;
    FLeftSpace = other.FLeftSpace;
    FLayerCount = other.FLayerCount;
    FSkipBottom = other.FSkipBottom;
    FPanelLength = other.FPanelLength;
    FFrontBaseWidth = other.FFrontBaseWidth;
    FRearBaseWidth = other.FRearBaseWidth;
    FCutDiagonally = other.FCutDiagonally;
  }
  return *this;
}

double TPanelsProject::BlockDiagonal() const {
  const Extended length = FPanelLength;
  return Round(std::sqrt(length * length * 2));
}

TBlockLayout TPanelsProject::BlockLayout() const {
  switch (FPanelType) {
    case ptFlat:
    case ptSlope:
    case ptDoubleSlope:
    case ptDoubleSlopeNarrow:
      return blParallel;
    default:
      return blDiagonal;
  }
}

double TPanelsProject::LayerHeight() const {
  const double front = FFrontFace->MaxHeight();
  const double rear = FBackFace->MaxHeight();
  const Extended highest = rear >= front ? rear : front;
  return Round(highest + FTopSpace);
}

double TPanelsProject::LayerWidth() const {
  return FFrontFace->Width() > FBackFace->Width() ? FFrontFace->Width() : FBackFace->Width();
}

void TPanelsProject::ComputeFaces() {
  switch (FPanelType) {
    case ptFlat:
    case ptSlope:
      ComputeFlatFaces();
      ComputeFlatProjectSize();
      break;
    case ptGutter:
    case ptGutter3E:
    case ptRidge:
    case ptRidge3E:
      ComputeIndepFaces();
      ComputeIndepProjectSize();
      break;
    case ptDoubleSlope:
    case ptDoubleSlopeNarrow:
      ComputeDoubleSlopeFaces();
      ComputeDoubleSlopeProjectSize();
      break;
    default:
      break;
  }
}

double TPanelsProject::ComputeIndepLayerHeight(double MiddleFaceHeight, double DimA,
                                               double OppositeMiddleFaceHeight) const {
  const double low =
      MiddleFaceHeight < OppositeMiddleFaceHeight ? MiddleFaceHeight : OppositeMiddleFaceHeight;
  const double high =
      MiddleFaceHeight < OppositeMiddleFaceHeight ? OppositeMiddleFaceHeight : MiddleFaceHeight;
  const double halfWay = Round(low + (Extended(high) - low) / 2);
  const double rise = Round(Extended(DimA) - halfWay);
  return Round(Extended(MiddleFaceHeight) + rise);
}

double TPanelsProject::ComputeDoubleSlopeLayerHeight(double DimA, double DimB, double DimC,
                                                     double DimD) const {
  double highest = 0.0;
  for (const double dim : {DimA, DimB, DimC, DimD}) {
    if (dim > highest) {
      highest = dim;
    }
  }
  return highest;
}

void TPanelsProject::ComputeFlatFaces() {
  const TRoofPanel& panel = *FRoofPanel;
  FFrontFace->SetMiddleHeight(panel.DimA());
  FBackFace->SetMiddleHeight(panel.DimD());
  FFrontFace->SetWidth(FPanelLength);
  FBackFace->SetWidth(FPanelLength);
  const double height =
      FPanelType == ptFlat ? panel.DimA() : Round(Extended(panel.DimA()) + panel.DimD());
  FFrontFace->SetHeight(height);
  FBackFace->SetHeight(height);
}

void TPanelsProject::ComputeFlatProjectSize() {
  FPrjSize->SetHeight(StackHeight(LayerHeight(), FLayerCount, FTopSpace, FElevation, 0.0));
  FPrjSize->SetWidth(Round(Extended(FLeftSpace) + FFrontFace->Width()));
  FPrjSize->SetDepth(FFrontFace->Width());
}

void TPanelsProject::ComputeIndepFaces() {
  const TRoofPanel& panel = *FRoofPanel;
  FFrontFace->SetMiddleHeight(panel.DimA());
  FBackFace->SetMiddleHeight(panel.DimC());
  FFrontFace->SetWidth(BlockDiagonal());
  FBackFace->SetWidth(BlockDiagonal());
  FFrontFace->SetHeight(
      ComputeIndepLayerHeight(FFrontFace->MiddleHeight(), panel.DimB(), FBackFace->MiddleHeight()));
  FBackFace->SetHeight(
      ComputeIndepLayerHeight(FBackFace->MiddleHeight(), panel.DimB(), FFrontFace->MiddleHeight()));
}

void TPanelsProject::ComputeIndepProjectSize() {
  // The cutting path lifts the whole stack by UnderBottom, so the work area is that much
  // higher; the diagonal middle cut rises to the work-area height and must clear the top.
  const double lowest =
      FFrontFace->Height() < FBackFace->Height() ? FFrontFace->Height() : FBackFace->Height();
  FUnderBottom = lowest >= 0 ? 0.0 : -lowest;
  FPrjSize->SetHeight(StackHeight(LayerHeight(), FLayerCount, FTopSpace, FElevation, FUnderBottom));
  FPrjSize->SetWidth(Round(Extended(FLeftSpace) + FFrontFace->Width()));
  FPrjSize->SetDepth(FFrontFace->Width());
}

void TPanelsProject::ComputeDoubleSlopeFaces() {
  const TRoofPanel& panel = *FRoofPanel;
  FFrontFace->SetMiddleHeight(panel.DimA());
  FBackFace->SetMiddleHeight(panel.DimC());
  FFrontFace->SetWidth(FFrontBaseWidth);
  FBackFace->SetWidth(FRearBaseWidth);
  FFrontFace->SetHeight(
      ComputeDoubleSlopeLayerHeight(panel.DimA(), panel.DimB(), panel.DimC(), panel.DimD()));
  FBackFace->SetHeight(
      ComputeDoubleSlopeLayerHeight(panel.DimA(), panel.DimB(), panel.DimC(), panel.DimD()));
}

void TPanelsProject::ComputeDoubleSlopeProjectSize() {
  // The front base alone sets the width, also when the rear base is wider.
  FPrjSize->SetHeight(StackHeight(LayerHeight(), FLayerCount, FTopSpace, FElevation, 0.0));
  FPrjSize->SetWidth(Round(Extended(FLeftSpace) + FFrontFace->Width()));
  FPrjSize->SetDepth(FPanelLength);
}
