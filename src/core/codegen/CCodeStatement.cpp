#include "core/codegen/CCodeStatement.h"

#include <algorithm>

namespace kavel {
namespace {

std::string trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

CCodeParts splitCCodeComment(const std::string& comment) {
  const std::size_t at = comment.find("\t// ");
  if (at == std::string::npos) return CCodeParts{comment, {}};
  return CCodeParts{trimmed(std::string_view(comment).substr(0, at)), comment.substr(at + 4)};
}

std::string joinCCodeComment(const std::string& code, const std::string& remark) {
  if (remark.empty()) return code;
  return code + std::string(kRemarkSeparator) + remark;
}

std::string libraryLookupName(const std::string& code) {
  std::size_t end = code.find('(');
  if (end == std::string::npos) end = code.find('[');
  std::string name = code.substr(0, end);
  return name.empty() ? "wait_ms" : name;
}

CCodeLibRow selectLibraryRow(const CCodeLibrary& library, const std::string& code) {
  const std::string name = libraryLookupName(code);
  for (const CCodeTable t : {CCodeTable::Function, CCodeTable::Defines, CCodeTable::Variable}) {
    const auto& rows = library.table(t);
    const auto hit = std::find_if(rows.begin(), rows.end(),
                                  [&](const CCodeLibEntry& e) { return e.code.find(name) != std::string::npos; });
    if (hit != rows.end()) return CCodeLibRow{t, static_cast<int>(hit - rows.begin()) + 1};
  }
  return CCodeLibRow{};
}

std::string blankParameters(const std::string& code) {
  std::string out = code;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (code[i] == '(') {
      // Up to the matching ")": nested parentheses belong to the parameters.
      int depth = 1;
      std::size_t j = i + 1;
      for (; j < out.size(); ++j) {
        if (code[j] == '(') ++depth;
        if (code[j] == ')' && --depth == 0) break;
        if (code[j] != ',') out[j] = ' ';
      }
      i = j;
    } else if (code[i] == '[') {
      std::size_t j = i + 1;
      for (; j < out.size() && code[j] != ']'; ++j) out[j] = ' ';
      i = j;
    }
  }
  return out;
}

std::string libraryInsertText(const std::string& code, bool functionTab, bool editsCondition) {
  std::string text = code;
  if (functionTab && editsCondition && !text.empty()) text.pop_back();
  return blankParameters(text);
}

std::string insertAtCaret(const std::string& text, std::size_t& caret, const std::string& insert) {
  caret = std::min(caret, text.size());
  std::string out = text;
  out.insert(caret, insert);
  caret += insert.size();
  return out;
}

}  // namespace kavel
