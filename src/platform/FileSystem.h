// Whole-file reads and safe whole-file replacement, the only file access the core needs.
// Paths are UTF-8 texts in the platform's own form; errors come back as std::error_code values
// with the system's reason (on Windows the common file errors as their errno values).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace platform {

// True when a regular file (not a folder or device) exists at path, following symbolic links.
bool IsRegularFile(const std::string& path);

// Files larger than this are refused by ReadWholeFile (with EFBIG): nothing the program reads is
// anywhere near it, and reading further would only exhaust memory.
inline constexpr std::size_t kMaxReadFileSize = 256u << 20;

// Reads the whole file at path into out. Returns an empty error code on success.
std::error_code ReadWholeFile(const std::string& path, std::string& out);

// Replaces the content of the file at path with data. A regular file, new or existing, is
// replaced atomically: data goes into a temporary file in the same folder, is flushed to disk and
// renamed over the target, so readers see either the old or the new content and a failure leaves
// the old file byte for byte. The target must be writable exactly as an ordinary open for writing
// would require; an existing file keeps its mode and, where allowed, its owner; a new file gets
// 0666 less the umask. A symbolic link is followed. A target that is not a regular file (a pipe,
// a character device such as a serial line) is written directly.
std::error_code ReplaceFileContents(const std::string& path, std::string_view data);

// Writes data to the process's standard output as raw bytes, whatever it is connected to.
std::error_code WriteStandardOutput(std::string_view data);

}  // namespace platform
