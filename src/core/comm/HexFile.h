#pragma once
// An Intel HEX image as the boot loader receives it: the record lines of the file, checked.
// CR LF and LF line ends read alike (the gputils assembler writes LF only).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavel {

struct HexRecord {
  std::string line;         // the record as sent, without line end
  std::size_t endOffset;    // file position after the record's line end (progress)
  int byteCount;
  int address;              // 16-bit load address
  int type;                 // 0 data, 1 end of file, 2..5 address records
};

struct HexFile {
  std::vector<HexRecord> records;
  std::size_t fileSize = 0;
};

struct HexReadResult {
  bool ok = false;
  HexFile image;
  std::string error;  // what is wrong, naming the line: "line 12: checksum is 3E, the record's bytes give 3F"
};

/// Largest file accepted: an image for the boards' 64 KB of flash is far smaller.
inline constexpr std::size_t kHexFileLimit = 4 * 1024 * 1024;

/// Checks `text` as an Intel HEX file: every non-blank line a record (":" then an even
/// number of hexadecimal digits; byte count, address, type 00-05, data, checksum that makes the
/// sum 0), an end-of-file record present. Blank lines and trailing spaces are ignored.
HexReadResult parseHexFile(std::string_view text);

/// Reads and checks the file at `path`; the error names the file when it cannot be read.
HexReadResult readHexFile(const std::string& path);

}  // namespace kavel
