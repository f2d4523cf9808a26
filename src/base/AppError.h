// The one exception type for the program's own failures. An error carries what failed (an
// identity from TErrorId) and its arguments; the text the user reads in each language is made
// from the error table of the localization layer (locale/ErrorStr.h), never at the throw site.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

// What failed. Each failure has one identity wherever it is met; its arguments are listed with
// it (%1, %2, ... in the texts), "reason" is the system's error code or the error that caused it.
enum class TErrorId : std::uint8_t {
  // Files
  ProjectWrite,         // %1 project file; no reason: the text is fixed
  ProgramWrite,         // %1 file; reason
  StandardOutputWrite,  // reason
  PictureWrite,         // %1 SVG file; reason
  ProjectRead,          // %1 project file; reason
  ProjectNotRegular,    // %1 project file that is neither a file nor a folder
  ProgramRead,          // %1 cutting-program file; reason
  PictureRead,          // %1 picture file; reason (system or metafile fault)
  // Numbers
  InvalidFloat,    // %1 text
  InvalidInteger,  // %1 text
  // The cutting program
  CoordinateOutOfRange,  // %1 millimetres
  LayerLimit,            // %1 layer count, %2 limit
  BelowZero,             // %1 line, %2 statement
  NoProgramForType,      // %1 panel type ordinal (a warning: an empty program is written)
  // The program's start
  NoProjectFile,
  WindowModule,  // %1 what each candidate said
  NoWindow,      // the build has no window (the Windows build)
  // tectoplan-view's command line
  ViewOptionNeedsFile,  // %1 option
  ViewUnknownOption,    // %1 option
  ViewOneProgram,
  // The cutting-program reader: a statement it cannot read, the fault as the cause
  HpglStatement,      // %1 statement number, %2 line, %3 mnemonic ("?" when unknown)
  HpglNumberTooLong,  // %1 limit in characters
  HpglEmptyParameter,
  HpglUnexpectedCharacter,  // %1 the character as shown
  HpglMissingParameter,
  HpglOddCoordinates,
  HpglSeveralPens,
  HpglBadPen,
  HpglNotANumber,         // %1 text
  HpglTooManyParameters,  // %1 limit
  HpglCoordinateRange,
  HpglRelativeRange,
  HpglTooManyMoves,     // %1 limit
  HpglTooManyOutlines,  // %1 limit
  // The metafile reader: a damaged picture. A fault of one record names it first: %1 record
  // name, %2 its offset in the file in bytes.
  WmfTooLarge,  // %1 limit in MiB
  WmfHeaderTooShort,
  WmfNotAMetafile,
  WmfEmptyBoundingBox,
  WmfZeroUnitsPerInch,
  WmfNoEndRecord,
  WmfEndsInRecordHeader,       // %1 offset of the record header
  WmfRecordShorterThanHeader,  // %1 record, %2 offset
  WmfRecordPastEnd,            // %1 record, %2 offset
  WmfRecordTooShort,           // %1 record, %2 offset
  WmfTooManyPoints,            // %1 record, %2 offset
  WmfTooManyPolygons,          // %1 record, %2 offset
  WmfNegativeTextLength,       // %1 record, %2 offset
  WmfNoSuchObject,             // %1 record, %2 offset, %3 object index, %4 table size
  WmfObjectTableFull,          // %1 record, %2 offset, %3 table size
  WmfTooManySavedStates,       // %1 record, %2 offset, %3 limit
  WmfMappedOutOfRange,         // %1 record, %2 offset
  WmfUnknownBitmapHeader,      // %1 record, %2 offset
  WmfEmptyBitmap,              // %1 record, %2 offset
  WmfBitmapTooLarge,           // %1 record, %2 offset, %3 limit in pixels
  WmfColorTableTooLong,        // %1 record, %2 offset
  WmfBitmapPastRecord,         // %1 record, %2 offset
  // Inputs that are no file of their kind, or far larger than one
  ProjectTooLarge,  // %1 project file, %2 limit in MiB
  ProjectIsFifo,    // %1 project file
  ProjectIsDevice,  // %1 project file
  ConfigTooLarge,   // %1 configuration file, %2 limit in MiB (a warning: the defaults apply)
  ProgramTooLarge,  // %1 cutting-program file, %2 limit in MiB
  // Files that are refused for writing, whatever they hold
  WriteFolderTakesNoNewFile,  // %1 file; reason: the folder refused the new file
  WriteLinkInSharedFolder,    // %1 file, %2 the link that is not followed; reason
  WritePipeWithoutReader,     // %1 pipe; reason
  Count
};

class EAppError : public std::runtime_error {
 public:
  explicit EAppError(TErrorId id, std::vector<std::string> args = {}, std::error_code reason = {});
  // An error raised because of another one (a picture that cannot be read because it is
  // damaged): the cause is the reason.
  EAppError(TErrorId id, std::vector<std::string> args, const EAppError& cause);

  TErrorId Id() const { return FId; }
  const std::vector<std::string>& Args() const { return FArgs; }
  // The system's error code; empty when there is none or the reason is a cause.
  const std::error_code& Reason() const { return FReason; }
  const EAppError* Cause() const { return FCause.get(); }

 private:
  TErrorId FId;
  std::vector<std::string> FArgs;
  std::error_code FReason;
  std::shared_ptr<const EAppError> FCause;
};
