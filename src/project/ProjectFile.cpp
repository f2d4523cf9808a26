// The project file: an INI text whose section "Project" holds the project's input values.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/AppError.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/NumberText.h"
#include "platform/Utf8Path.h"
#include "project/ProjectData.h"

namespace {

constexpr std::string_view kSection = "Project";

// Reads the values of one project file. A key that is missing or holds an unusable value gives
// the default the caller passes.
class ProjectFileReader {
 public:
  explicit ProjectFileReader(std::string text) : document_(std::move(text)) {}

  std::int32_t Integer(std::string_view key, std::int32_t fallback) const {
    const auto text = document_.ReadString(kSection, key);
    const auto value = text ? platform::ParseInteger(*text) : std::nullopt;
    return value.value_or(fallback);
  }

  // Files travel between workshops with different regional settings, so "." and "," are both
  // taken as the decimal separator, besides the regional one.
  double Number(std::string_view key, double fallback) const {
    const auto text = document_.ReadString(kSection, key);
    if (!text) {
      return fallback;
    }
    const std::string_view separators[] = {platform::NumberFormat().decimalSeparator, ".", ","};
    return platform::ParseNumber(*text, separators).value_or(fallback);
  }

  bool Flag(std::string_view key, bool fallback) const { return Integer(key, fallback) != 0; }

 private:
  platform::IniDocument document_;
};

EAppError TooLarge(const std::string& path) {
  return EAppError(TErrorId::ProjectTooLarge, {path, std::to_string(kMaxProjectFileSize >> 20)});
}

std::string FlagText(bool value) {
  return value ? "1" : "0";
}

}  // namespace

std::string TPanelsProject::SaveToText(std::string existingText) const {
  platform::IniDocument document(std::move(existingText));
  const auto write = [&document](std::string_view key, const std::string& value) {
    document.WriteString(kSection, key, value);
  };
  write("Panel type", platform::FormatInteger(FPanelType));
  write("Layer count", platform::FormatInteger(FLayerCount));
  write("Vertex A", platform::FormatNumber(FRoofPanel->DimA()));
  write("Vertex B", platform::FormatNumber(FRoofPanel->DimB()));
  write("Vertex C", platform::FormatNumber(FRoofPanel->DimC()));
  write("Vertex D", platform::FormatNumber(FRoofPanel->DimD()));
  write("Panel length", platform::FormatNumber(FPanelLength));
  write("Front base width", platform::FormatNumber(FFrontBaseWidth));
  write("Rear base width", platform::FormatNumber(FRearBaseWidth));
  write("Elevation", platform::FormatNumber(FElevation));
  write("Top space", platform::FormatNumber(FTopSpace));
  write("Left space", platform::FormatNumber(FLeftSpace));
  write("Skip bottom", FlagText(FSkipBottom));
  write("Cut diagonally", FlagText(FCutDiagonally));
  return document.Text();
}

void TPanelsProject::Save(const std::string& projectFileName) {
  // The keys are applied to the file's content in memory and the file is replaced once, so a
  // failed write never leaves a half-updated project behind.
  // Only a regular file has content to keep: a pipe or device is written as it is, and reading
  // one first would wait for a writer.
  std::string existing;
  if (platform::IsRegularFile(projectFileName)) {
    if (platform::ReadWholeFile(projectFileName, existing)) {
      // The other sections of a file that cannot be read would be lost.
      throw EAppError(TErrorId::ProjectWrite, {projectFileName});
    }
  }
  if (platform::ReplaceFileContents(projectFileName, SaveToText(std::move(existing)))) {
    throw EAppError(TErrorId::ProjectWrite, {projectFileName});
  }
}

void TPanelsProject::OpenFromText(std::string text) {
  const ProjectFileReader file(std::move(text));
  // Only the low 8 bits of the stored number are kept; values above 9 select nothing.
  FPanelType = static_cast<TRoofPanelType>(file.Integer("Panel type", 0) & 0xFF);
  FLayerCount = file.Integer("Layer count", 0);
  FRoofPanel->SetDimA(file.Number("Vertex A", 0.0));
  FRoofPanel->SetDimB(file.Number("Vertex B", 0.0));
  FRoofPanel->SetDimC(file.Number("Vertex C", 0.0));
  FRoofPanel->SetDimD(file.Number("Vertex D", 0.0));
  // Older files know only "Block width"; it serves as the default of the panel length, which in
  // turn is the default of both base widths.
  FPanelLength = file.Number("Block width", 1000.0);
  FPanelLength = file.Number("Panel length", FPanelLength);
  FFrontBaseWidth = file.Number("Front base width", FPanelLength);
  FRearBaseWidth = file.Number("Rear base width", FPanelLength);
  FElevation = file.Number("Elevation", 0.0);
  FTopSpace = file.Number("Top space", 0.0);
  FLeftSpace = file.Number("Left space", 0.0);
  FSkipBottom = file.Flag("Skip bottom", false);
  FCutDiagonally = file.Flag("Cut diagonally", false);
}

std::string ReadProjectFile(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(platform::PathFromUtf8(path), ec);
  if (ec) {
    throw EAppError(TErrorId::ProjectRead, {path}, ec);
  }
  switch (status.type()) {
    case std::filesystem::file_type::regular:
      break;
    case std::filesystem::file_type::directory:
      throw EAppError(TErrorId::ProjectRead, {path},
                      std::make_error_code(std::errc::is_a_directory));
    case std::filesystem::file_type::fifo:
      throw EAppError(TErrorId::ProjectIsFifo, {path});
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::block:
      throw EAppError(TErrorId::ProjectIsDevice, {path});
    default:
      throw EAppError(TErrorId::ProjectNotRegular, {path});
  }
  std::string text;
  if (const auto readError = platform::ReadWholeFile(path, text, kMaxProjectFileSize)) {
    if (readError == std::errc::file_too_large) {
      throw TooLarge(path);
    }
    throw EAppError(TErrorId::ProjectRead, {path}, readError);
  }
  return text;
}

void TPanelsProject::Open(const std::string& projectFileName) {
  // A file that does not exist or cannot be read gives every key its default; one that is far
  // too large to be a project is refused, as the unattended run refuses it.
  std::string text;
  if (const auto ec = platform::ReadWholeFile(projectFileName, text, kMaxProjectFileSize)) {
    if (ec == std::errc::file_too_large) {
      throw TooLarge(projectFileName);
    }
    text.clear();
  }
  OpenFromText(std::move(text));
}
