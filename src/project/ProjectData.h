// The panel project: the inputs of one cutting job, the computed front and rear faces of the
// panel and the machine work area, and the project file that stores the inputs.
// Lengths are millimetres; y grows upward from the machine's zero, x across the face from it.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

// The face computation evaluates in x87 extended precision and rounds each stored result to
// double once; the results differ in the last bit without it.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended type");

// Ordinals are stored in project files and index the catalogue: their order is fixed. A project
// file may carry any value 0 to 255; values above 9 are kept and select nothing.
enum TRoofPanelType : std::uint8_t {
  ptEmpty = 0,
  ptFlat = 1,
  ptGutter = 2,
  ptGutter3E = 3,
  ptRidge = 4,
  ptRidge3E = 5,
  ptSlope = 6,
  ptDoubleSlope = 7,
  ptDoubleSlopeNarrow = 8,
  ptCustom = 9,
};

enum TBlockLayout : std::uint8_t { blDiagonal = 0, blParallel = 1 };

enum TCuttingMode : std::uint8_t { cm2D = 0, cmIndependent = 1 };

// The four corner dimensions of the panel.
class TRoofPanel {
 public:
  double DimA() const { return FDimA; }
  double DimB() const { return FDimB; }
  double DimC() const { return FDimC; }
  double DimD() const { return FDimD; }
  void SetDimA(double value) { FDimA = value; }
  void SetDimB(double value) { FDimB = value; }
  void SetDimC(double value) { FDimC = value; }
  void SetDimD(double value) { FDimD = value; }

 private:
  double FDimA = 0.0;
  double FDimB = 0.0;
  double FDimC = 0.0;
  double FDimD = 0.0;
};

// One cross-section of the panel as the machine cuts it at the front or at the rear.
class TPanelFace {
 public:
  double Height() const { return FHeight; }
  double Width() const { return FWidth; }
  double MiddleHeight() const { return FMiddleHeight; }
  void SetHeight(double value) { FHeight = value; }
  void SetWidth(double value) { FWidth = value; }
  void SetMiddleHeight(double value) { FMiddleHeight = value; }

  // The larger of Height and MiddleHeight.
  double MaxHeight() const { return FHeight > FMiddleHeight ? FHeight : FMiddleHeight; }

 private:
  double FHeight = 10.0;
  double FWidth = 1414.213;  // the decimal 1414.213, not 1000 times the root of 2
  double FMiddleHeight = 10.0;
};

// The work area that the computed project needs on the machine.
class TPrjSize {
 public:
  TPrjSize() = default;
  TPrjSize(double height, double width, double depth) { SetSize(height, width, depth); }

  double Height() const { return FHeight; }
  double Width() const { return FWidth; }
  double Depth() const { return FDepth; }
  void SetHeight(double value) { FHeight = value; }
  void SetWidth(double value) { FWidth = value; }
  void SetDepth(double value) { FDepth = value; }
  void SetSize(double height, double width, double depth) {
    FHeight = height;
    FWidth = width;
    FDepth = depth;
  }

 private:
  double FHeight = 0.0;
  double FWidth = 0.0;
  double FDepth = 0.0;
};

// One cutting job. The project owns its panel, its two faces and its work area. Nothing is
// validated: any value is stored as given. The faces, the work area and UnderBottom are valid
// only after ComputeFaces has run on the current inputs.
class TPanelsProject {
 public:
  TPanelsProject();
  // A copy owns copies of the panel, the faces and the work area: the preview works on one
  // while the window goes on changing its own.
  TPanelsProject(const TPanelsProject& other);
  TPanelsProject& operator=(const TPanelsProject& other);

  TRoofPanelType PanelType() const { return FPanelType; }
  void SetPanelType(TRoofPanelType value) { FPanelType = value; }
  TRoofPanel& RoofPanel() { return *FRoofPanel; }
  const TRoofPanel& RoofPanel() const { return *FRoofPanel; }
  double Elevation() const { return FElevation; }
  void SetElevation(double value) { FElevation = value; }
  double UnderBottom() const { return FUnderBottom; }
  void SetUnderBottom(double value) { FUnderBottom = value; }
  double TopSpace() const { return FTopSpace; }
  void SetTopSpace(double value) { FTopSpace = value; }
  double LeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(double value) { FLeftSpace = value; }
  std::int32_t LayerCount() const { return FLayerCount; }
  void SetLayerCount(std::int32_t value) { FLayerCount = value; }
  TPanelFace& FrontFace() { return *FFrontFace; }
  const TPanelFace& FrontFace() const { return *FFrontFace; }
  TPanelFace& RearFace() { return *FBackFace; }
  const TPanelFace& RearFace() const { return *FBackFace; }
  TPrjSize& ProjectSize() { return *FPrjSize; }
  const TPrjSize& ProjectSize() const { return *FPrjSize; }
  bool SkipBottom() const { return FSkipBottom; }
  void SetSkipBottom(bool value) { FSkipBottom = value; }
  double PanelLength() const { return FPanelLength; }
  void SetPanelLength(double value) { FPanelLength = value; }
  double FrontBaseWidth() const { return FFrontBaseWidth; }
  void SetFrontBaseWidth(double value) { FFrontBaseWidth = value; }
  double RearBaseWidth() const { return FRearBaseWidth; }
  void SetRearBaseWidth(double value) { FRearBaseWidth = value; }
  bool CutDiagonally() const { return FCutDiagonally; }
  void SetCutDiagonally(bool value) { FCutDiagonally = value; }

  // Derived values, computed on every read from the current fields.
  double BlockDiagonal() const;  // the diagonal of a square of side PanelLength
  TBlockLayout BlockLayout() const;
  double LayerHeight() const;  // the larger face's MaxHeight plus TopSpace
  double LayerWidth() const;   // the wider face's Width

  // Recomputes the faces, the work area and, for gutters and ridges, UnderBottom from the
  // current inputs. Panel types without a computation (empty, custom, values above 9) change
  // nothing.
  void ComputeFaces();

  // Face height of a gutter or ridge face: the face's middle height plus the rise of the corner
  // DimA over the point half-way between the two middle heights.
  double ComputeIndepLayerHeight(double MiddleFaceHeight, double DimA,
                                 double OppositeMiddleFaceHeight) const;
  // Face height of a double-slope face: the largest of 0 and the four dimensions.
  double ComputeDoubleSlopeLayerHeight(double DimA, double DimB, double DimC, double DimD) const;

  // Writes the 14 input values into section "Project" of the project file, keeping everything
  // else in the file. The file is replaced as a whole, so a failure leaves it as it was; the
  // failure raises EAppError "Unable to write to <file name>".
  void Save(const std::string& projectFileName);

  // Reads the input values from the project file; a missing file, section, key or an unusable
  // value gives that key's default. Computes nothing. A file larger than kMaxProjectFileSize
  // raises EAppError ProjectTooLarge and leaves the project as it was.
  void Open(const std::string& projectFileName);

  // The same two on the file's bytes.
  std::string SaveToText(std::string existingText) const;
  void OpenFromText(std::string text);

 private:
  void ComputeFlatFaces();
  void ComputeFlatProjectSize();
  void ComputeIndepFaces();
  void ComputeIndepProjectSize();
  void ComputeDoubleSlopeFaces();
  void ComputeDoubleSlopeProjectSize();

  TRoofPanelType FPanelType = ptEmpty;
  std::unique_ptr<TRoofPanel> FRoofPanel;
  double FElevation = 2.0;
  double FUnderBottom = 0.0;
  double FTopSpace = 0.0;
  double FLeftSpace = 2.0;
  std::int32_t FLayerCount = 1;
  std::unique_ptr<TPanelFace> FFrontFace;
  std::unique_ptr<TPanelFace> FBackFace;
  std::unique_ptr<TPrjSize> FPrjSize;
  bool FSkipBottom = false;
  double FPanelLength = 0.0;
  double FFrontBaseWidth = 0.0;
  double FRearBaseWidth = 0.0;
  bool FCutDiagonally = false;
};

// A project file holds a few hundred bytes. Larger files are refused before they are parsed: a
// file of line ends costs the parser memory and time for every line, and nothing a user meant
// as a project comes near this size.
inline constexpr std::size_t kMaxProjectFileSize = 1u << 20;

// The bytes of the project file at path, for a caller that must not go on without them (the
// unattended run, tectoplan-view). Only a regular file is read: a folder or a pipe would give
// nothing usable, or block. Raises EAppError ProjectRead with the system's reason,
// ProjectIsFifo, ProjectIsDevice or ProjectNotRegular (a socket) for what the path names
// instead, or ProjectTooLarge above kMaxProjectFileSize.
std::string ReadProjectFile(const std::string& path);
