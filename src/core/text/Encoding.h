#pragma once
// Text encodings of the files we exchange with existing users: their files are Shift-JIS
// (CP932); files edited in modern editors may be UTF-8. Inside the program every text is UTF-8.
// We write CP932, and UTF-8 with a byte-order mark only when CP932 cannot hold the text, so
// that every file we write reads back exactly as it was written.

#include <optional>
#include <string>
#include <string_view>

namespace kavel::text {

enum class FileEncoding { Utf8, Cp932 };

/// True when every byte sequence is well-formed UTF-8 (pure ASCII included).
bool isValidUtf8(std::string_view bytes);

/// The UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

/// The bytes without a leading UTF-8 byte-order mark.
std::string_view withoutBom(std::string_view bytes);

/// The encoding of a whole file's bytes: UTF-8 when they begin with a byte-order mark; CP932
/// when they are not valid UTF-8; for valid UTF-8 without a mark, the reading that is the more
/// plausible text: CP932 half-width katakana pair up into two-byte UTF-8 sequences of Greek,
/// Cyrillic or Latin letters ("ﾏｲﾅｽ" reads as "ϲŽ"), whereas Japanese in UTF-8 takes three
/// bytes per character. So two-byte sequences alone mean CP932, unless each is a Latin letter
/// inside a word ("Café").
FileEncoding detectEncoding(std::string_view bytes);

/// A whole file's bytes as UTF-8 text by detectEncoding, without the byte-order mark.
std::string decodeFile(std::string_view bytes);

/// Converts CP932 bytes to UTF-8. Never fails: bytes that do not convert become U+FFFD.
std::string cp932ToUtf8(std::string_view bytes);

/// Converts UTF-8 to CP932; nullopt when some character has no CP932 form.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

/// Turns arbitrary bytes into valid UTF-8, replacing each malformed byte with U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);

/// Bytes of a file field to UTF-8 by the file's encoding.
std::string decode(std::string_view bytes, FileEncoding encoding);

/// The bytes to write for a whole text: CP932 when every character fits and decodeFile gives
/// the text back unchanged, otherwise a byte-order mark and the UTF-8 text, so that
/// decodeFile(encodeForFile(t)) == t for every valid UTF-8 text t.
std::string encodeForFile(std::string_view utf8);

}  // namespace kavel::text
