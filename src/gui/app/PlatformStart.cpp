#include "gui/app/PlatformStart.h"

#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace kavel::gui {
namespace {

struct Held {
  QtMsgType type;
  std::string category;
  QString text;
};

std::string* failureLine = nullptr;
std::vector<Held>* held = nullptr;
QtMessageHandler previous = nullptr;

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // The toolkit would abort with its plugin report; the user gets one line and exit status 1.
    const std::string& line = *failureLine;
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, line.data(), line.size());
    ::_exit(1);
  }
  held->push_back(Held{type, context.category ? context.category : "", text});
}

}  // namespace

DisplayInputs displayInputsOf(const std::vector<std::string>& args) {
  DisplayInputs in;
  in.platformArgument = platformArgumentOf(args);
  in.platformVariable = variable("QT_QPA_PLATFORM");
  in.display = variable("DISPLAY");
  in.waylandDisplay = variable("WAYLAND_DISPLAY");
  return in;
}

void holdPlatformMessages(const DisplayInputs& in) {
  failureLine = new std::string(unreachableDisplayText(in));
  held = new std::vector<Held>;
  previous = qInstallMessageHandler(holdMessage);
}

void releasePlatformMessages() {
  qInstallMessageHandler(previous);
  if (held) {
    for (const Held& h : *held) {
      const QMessageLogContext context(nullptr, 0, nullptr, h.category.empty() ? nullptr : h.category.c_str());
      qt_message_output(h.type, context, h.text);
    }
  }
  delete held;
  held = nullptr;
  delete failureLine;
  failureLine = nullptr;
}

}  // namespace kavel::gui
