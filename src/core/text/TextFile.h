#pragma once
// Reading and writing whole text files the way all our file formats need it: line buffers of a
// fixed size over raw bytes, and writes that never leave a half-written file behind.

#include <string>
#include <string_view>
#include <vector>

namespace kavel::text {

/// Reads the whole file into `bytes`. False (and `error` set) when it cannot be opened or read.
bool readFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr);

/// Splits raw bytes into lines as a C line reader with a buffer of `bufferSize` bytes does:
/// each piece holds at most bufferSize - 1 bytes, so the rest of a longer line comes back as a
/// further line. Line ends (LF, CR LF, a CR at the very end) are not part of a piece, also
/// when the piece filled the buffer right up to its CR. A last line without a line end is
/// kept; an empty input gives no lines.
std::vector<std::string_view> splitLines(std::string_view bytes, size_t bufferSize);

/// Writes `bytes` to a temporary file in the target's folder and renames it over the target,
/// so a failed write leaves the old file intact. False (and `error` set) on any failure,
/// including a target that is read-only.
bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);

/// True when a file (not a folder) exists at the path.
bool fileExists(const std::string& path);

/// Folder part of a path including its trailing "/" ("" when there is none); "/" and "\" both
/// separate.
std::string folderOf(const std::string& path);

/// File name without folder.
std::string fileNameOf(const std::string& path);

/// File name without folder and without its last extension.
std::string baseNameOf(const std::string& path);

/// The extension including its dot ("" when the file name has none).
std::string extensionOf(const std::string& path);

}  // namespace kavel::text
