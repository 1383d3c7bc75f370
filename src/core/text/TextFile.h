#pragma once
// Reading and writing whole text files the way all our file formats need it: line buffers of a
// fixed size over raw bytes, and writes that never leave a half-written file behind.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavel::text {

/// The size above which a text file of ours is refused: a program of 1000 rows with long
/// comments stays far below it.
inline constexpr std::size_t kMaxTextFileBytes = 8u << 20;

/// Reads the whole file into `bytes`, guarded so that no path can hang or exhaust the caller:
/// opens without blocking, follows links, accepts only a regular file, and refuses one larger
/// than `maxBytes` (also when it grows while being read). False with `error` set to a sentence
/// naming the path and the reason; `bytes` is then empty.
bool readFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr,
                   std::size_t maxBytes = kMaxTextFileBytes);

/// Splits raw bytes into lines as a C line reader with a buffer of `bufferSize` bytes does:
/// each piece holds at most bufferSize - 1 bytes, so the rest of a longer line comes back as a
/// further line. Line ends (LF, CR LF, a CR at the very end) are not part of a piece, also
/// when the piece filled the buffer right up to its CR. A last line without a line end is
/// kept; an empty input gives no lines.
std::vector<std::string_view> splitLines(std::string_view bytes, size_t bufferSize);

/// Replaces the file at `path` with `bytes` so that it is at every moment either the old or the
/// new complete file: a hidden temporary file in the same folder is written, flushed to disk
/// and renamed over the target, and the folder is flushed. A link is written through to its
/// target; the target keeps its mode and, where permitted, its owner; a file with further hard
/// links, or one in a folder where no file can be created, is rewritten in place after the new
/// content has been written completely to a temporary copy (kept, and named in `error`, if the
/// in-place write fails). Temporary files that a killed save left for this target (older than
/// kLeftoverAgeSeconds) are removed.
/// False with `error` set on any failure, including a read-only target or a target that is not
/// a regular file; a failed write leaves the old file unchanged.
bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);

/// How old a temporary file of a save must be before another save takes it for the leftover of
/// a killed one and removes it: far longer than any save of ours runs.
inline constexpr long kLeftoverAgeSeconds = 3600;

/// One file of writeFilesAtomic: where, and its whole content.
struct FileContent {
  std::string path;
  std::string_view bytes;
};

/// Replaces several files together: every one of them or, when one cannot be written (a full
/// disk, a read-only file, a folder where a file belongs), none. All new contents are first
/// written to temporary files beside their targets; only then are they renamed over them, and
/// a rename that fails puts back the files already replaced. Each file is written as
/// writeFileAtomic writes it. False with `error` naming the file and the reason.
bool writeFilesAtomic(const std::vector<FileContent>& files, std::string* error = nullptr);

/// The prefix of the temporary files writeFileAtomic makes for `path` (a dot and a short hash of
/// the file name), so tests and cleaners can recognise them.
std::string temporaryPrefixFor(const std::string& path);

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
