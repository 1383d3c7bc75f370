#pragma once
// Text encodings of the files we exchange with existing users: their files are Shift-JIS
// (CP932); files written on Linux may be UTF-8. Inside the program every text is UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace kavel::text {

enum class FileEncoding { Utf8, Cp932 };

/// True when every byte sequence is well-formed UTF-8 (pure ASCII included).
bool isValidUtf8(std::string_view bytes);

/// UTF-8 when the bytes are valid UTF-8, else CP932.
FileEncoding detectEncoding(std::string_view bytes);

/// Converts CP932 bytes to UTF-8. Never fails: bytes that do not convert become U+FFFD.
std::string cp932ToUtf8(std::string_view bytes);

/// Converts UTF-8 to CP932; nullopt when some character has no CP932 form.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

/// Turns arbitrary bytes into valid UTF-8, replacing each malformed byte with U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);

/// Bytes of a file field to UTF-8 by the file's encoding.
std::string decode(std::string_view bytes, FileEncoding encoding);

/// The bytes to write for a whole text: CP932 when every character fits and the result reads
/// back as CP932, otherwise the UTF-8 text itself, so nothing is lost.
std::string encodeForFile(std::string_view utf8);

}  // namespace kavel::text
