// Whole-file reads and safe whole-file replacement, the only file access the core needs.
// Paths are UTF-8 texts in the platform's own form; errors come back as std::error_code values
// with the system's reason (on Windows the common file errors as their errno values).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/AppError.h"

namespace platform {

// True when a regular file (not a folder or device) exists at path, following symbolic links.
bool IsRegularFile(const std::string& path);

// Files larger than this are refused by ReadWholeFile (with EFBIG): nothing the program reads is
// anywhere near it, and reading further would only exhaust memory.
inline constexpr std::size_t kMaxReadFileSize = 256u << 20;

// Reads the whole file at path into out. Returns an empty error code on success, EFBIG (and an
// empty out) when the file holds more than limit bytes: a regular file is refused by its size
// before anything is read, a device or pipe after limit bytes, so /dev/zero ends too.
std::error_code ReadWholeFile(const std::string& path, std::string& out,
                              std::size_t limit = kMaxReadFileSize);

// Why a replacement was refused where the system's reason alone would not say what to change.
enum class TWriteRefusal : std::uint8_t {
  None,
  // The file exists, but its folder takes no new file (no write permission, an immutable folder,
  // no free inode): it cannot be replaced in one step, and it is never rewritten in place.
  FolderTakesNoNewFile,
  // The path leads through a symbolic link in a sticky, world-writable folder whose owner is
  // neither the caller nor the folder's owner (`link` names it).
  LinkInSharedFolder,
  // A pipe without a reader: writing would wait for one forever.
  PipeWithoutReader,
};

// The outcome of a replacement: an empty reason on success.
struct TWriteResult {
  TWriteResult() = default;
  TWriteResult(std::error_code reason, TWriteRefusal refusal = TWriteRefusal::None,
               std::string link = {})
      : reason(reason), refusal(refusal), link(std::move(link)) {}

  std::error_code reason;
  TWriteRefusal refusal = TWriteRefusal::None;
  std::string link;  // the refused link, for LinkInSharedFolder
  explicit operator bool() const { return static_cast<bool>(reason); }
};

// Replaces the content of the file at path with data. A regular file, new or existing, is
// replaced atomically or not at all: data goes into an unnamed temporary file in the same folder
// (a hidden ".tectoplan-" file where the file system has no unnamed ones), is flushed to disk,
// given a name and renamed over the target, so readers see either the old or the new content and
// a failure leaves the old file byte for byte. The target must be writable exactly as an ordinary
// open for writing would require; an existing file keeps its mode and, where allowed, its owner;
// a new file gets 0666 less the umask. Symbolic links are followed (the link stays, its target is
// replaced), except that a link in a sticky, world-writable folder is followed only when it
// belongs to the caller or to the folder's owner, whatever the kernel's own setting. A target
// that is not a regular file (a pipe, a character device such as a serial line) is written
// directly; a pipe without a reader is refused at once instead of waited for.
// The content is the parts one after the other: a large text and its ending need not be joined
// into one copy first.
TWriteResult ReplaceFileContents(const std::string& path, std::span<const std::string_view> parts);
inline TWriteResult ReplaceFileContents(const std::string& path, std::string_view data) {
  return ReplaceFileContents(path, std::span<const std::string_view>(&data, 1));
}

// The error of a failed replacement of the file path: the refusal's own identity, otherwise
// plain (which takes the file name and the system's reason).
EAppError WriteError(TErrorId plain, const std::string& path, const TWriteResult& result);

// Writes the parts, one after the other, to the process's standard output as raw bytes,
// whatever it is connected to.
std::error_code WriteStandardOutput(std::span<const std::string_view> parts);
inline std::error_code WriteStandardOutput(std::string_view data) {
  return WriteStandardOutput(std::span<const std::string_view>(&data, 1));
}

}  // namespace platform
