#include "sim/JsonLocation.h"

#include <algorithm>

namespace kavel::sim {
namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void skipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r')) {
      ++pos_;
    }
  }
  bool at(char c) {
    skipSpace();
    return pos_ < text_.size() && text_[pos_] == c;
  }
  bool take(char c) {
    if (!at(c)) return false;
    ++pos_;
    return true;
  }
  std::string_view string() {
    skipSpace();
    if (pos_ >= text_.size() || text_[pos_] != '"') return {};
    const std::size_t start = ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') pos_ += text_[pos_] == '\\' ? 2 : 1;
    const std::string_view s = text_.substr(start, std::min(pos_, text_.size()) - start);
    ++pos_;
    return s;
  }
  void skipValue() {
    skipSpace();
    if (pos_ >= text_.size()) return;
    const char c = text_[pos_];
    if (c == '"') {
      string();
    } else if (c == '{' || c == '[') {
      const char close = c == '{' ? '}' : ']';
      ++pos_;
      while (!at(close) && pos_ < text_.size()) {
        if (c == '{') {
          string();
          take(':');
        }
        skipValue();
        take(',');
      }
      take(close);
    } else {
      while (pos_ < text_.size() && std::string_view(",]} \t\r\n").find(text_[pos_]) == std::string_view::npos) ++pos_;
    }
  }
  std::size_t pos() {
    skipSpace();
    return pos_;
  }

  /// Moves to the value of `step` inside the value at the current position; false (position
  /// unchanged) when there is none.
  bool enter(const JsonStep& step) {
    const std::size_t start = pos();
    if (step.index < 0 && take('{')) {
      while (!at('}') && pos_ < text_.size()) {
        const std::string_view key = string();
        take(':');
        if (key == step.key) return true;
        skipValue();
        take(',');
      }
    } else if (step.index >= 0 && take('[')) {
      for (int i = 0; !at(']') && pos_ < text_.size(); ++i) {
        if (i == step.index) return true;
        skipValue();
        take(',');
      }
    }
    pos_ = start;
    return false;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string jsonPathText(const std::vector<JsonStep>& path) {
  std::string out;
  for (const JsonStep& step : path) {
    if (step.index >= 0) {
      out += "[" + std::to_string(step.index) + "]";
    } else {
      if (!out.empty()) out += ".";
      out += step.key;
    }
  }
  return out;
}

int jsonLineOf(std::string_view text, const std::vector<JsonStep>& path) {
  Scanner scanner(text);
  for (const JsonStep& step : path) {
    if (!scanner.enter(step)) break;
  }
  const std::size_t at = std::min(scanner.pos(), text.size());
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

}  // namespace kavel::sim
