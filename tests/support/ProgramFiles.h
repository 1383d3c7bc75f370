#pragma once
// Writing small program files for the console-tool tests: a Main program of the Wrenlet board
// with its default connector names, its setup line and the given rows.

#include <fstream>
#include <string>
#include <vector>

namespace kavel::testing {

/// One row line's content after "[nnnn]:", e.g. kvlRow(21, 21, 50, 50) for motor(50, 50).
inline std::string kvlRow(int sno, int cno, int v0 = 0, int v1 = 0, int v2 = 0, const std::string& cmt = {}) {
  const auto value = [](int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, v < 0 ? "-%05d" : "%06d", v < 0 ? -v : v);
    return std::string(buf);
  };
  char head[32];
  std::snprintf(head, sizeof head, "sno:%02d,cno:%02d,val:", sno, cno);
  return head + value(v0) + "-" + value(v1) + "-" + value(v2) + ",cmt:" + cmt;
}

/// Writes a Main program file with `rows`; `setup` is the setup line's three values.
inline void writeKvl(const std::string& path, const std::vector<std::string>& rows,
                     const std::string& setup = "111111-110000-000004") {
  std::ofstream out(path, std::ios::binary);
  out << "Title:Main - [ test ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n";
  const char* names[] = {"Ball", "Line", "L-Touch", "R-Touch", "", "", "", "", "RED3", "RED2"};
  for (int n = 1; n <= 10; ++n) {
    char line[32];
    std::snprintf(line, sizeof line, "CN%02d:", n);
    out << line << names[n - 1] << "\r\n";
  }
  out << "[0000]:sno:08,cno:07,val:" << setup << ",cmt:\r\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    char number[32];
    std::snprintf(number, sizeof number, "[%04zu]:", i + 1);
    out << number << rows[i] << "\r\n";
  }
}

}  // namespace kavel::testing
