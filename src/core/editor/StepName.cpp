#include "core/editor/StepName.h"

#include "core/editor/PaletteLayout.h"
#include "core/i18n/MessageTable.h"
#include "core/model/StatementKind.h"

namespace kavel {
namespace {

// Popup items whose captions name the steps of the same commands.
constexpr int kMsgChangeCondition = 115;
constexpr int kMsgCut = 116;
constexpr int kMsgPaste = 118;

// The palette hint of the button that inserts `kind`: the motor and LED buttons stand for all
// their kinds.
int hintMessageOf(int kind) {
  if (isMotorKind(kind)) kind = kMotorForward;
  if (isLedKind(kind)) kind = kGreenLedOff;
  for (const PaletteButton& b : paletteButtons()) {
    if (b.kind == kind) return b.hintMessage;
  }
  return 0;
}

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

StepName StepName::insert(int kind) { return {kMsgInsertStep, hintMessageOf(kind)}; }
StepName StepName::deleteRow(int row) { return {kMsgDeleteStep, row + 1}; }
StepName StepName::editRow(int row) { return {kMsgEditStep, row + 1}; }
StepName StepName::cut() { return {kMsgCut, 0}; }
StepName StepName::paste() { return {kMsgPaste, 0}; }
StepName StepName::changeCondition() { return {kMsgChangeCondition, 0}; }
StepName StepName::subFileNames() { return {kMsgSubNamesStep, 0}; }

std::string stepText(const StepName& name, const MessageTable& messages) {
  const std::string& pattern = messages(name.message);
  switch (name.message) {
    case kMsgInsertStep:
      return fillIn(pattern, name.argument > 0 ? plainCaption(messages(name.argument)) : std::string());
    case kMsgDeleteStep:
    case kMsgEditStep:
      return fillIn(pattern, std::to_string(name.argument));
    default:
      return plainCaption(pattern);
  }
}

std::string fillIn(const std::string& pattern, const std::string& value) {
  std::size_t at = 0;
  while ((at = pattern.find('%', at)) != std::string::npos) {
    if (at + 1 < pattern.size() && (pattern[at + 1] == 's' || pattern[at + 1] == 'd')) break;
    ++at;
  }
  if (at == std::string::npos) return value.empty() ? pattern : trimmed(pattern + " " + value);
  if (!value.empty()) return pattern.substr(0, at) + value + pattern.substr(at + 2);
  std::string head = pattern.substr(0, at);
  std::string tail = pattern.substr(at + 2);
  if (!head.empty() && head.back() == ' ' && (tail.empty() || tail.front() == ' ')) head.pop_back();
  return trimmed(head + tail);
}

std::string historyItemCaption(const std::string& pattern, const std::string& step) {
  std::string escaped;
  for (char c : step) {
    if (c == '&') escaped += '&';
    escaped += c;
  }
  return fillIn(pattern, escaped);
}

std::string plainCaption(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    // "(&T)" after a Japanese caption is only the accelerator.
    if (caption[i] == '(' && i + 3 < caption.size() && caption[i + 1] == '&' && caption[i + 3] == ')') {
      i += 3;
      continue;
    }
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return trimmed(out);
}

}  // namespace kavel
