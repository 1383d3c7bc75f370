#include "core/shell/IdeCommandLine.h"

#include "core/settings/ProductVariant.h"

namespace kavel {
namespace {

constexpr const char* kOffscreenHint = "or set QT_QPA_PLATFORM=offscreen to run it without a display";

std::vector<std::string> splitPlatforms(const std::string& list) {
  std::vector<std::string> names;
  std::string name;
  for (char c : list + ";") {
    if (c != ';') {
      name += c;
      continue;
    }
    // "xcb:option=value" names the platform before its options.
    if (const std::size_t colon = name.find(':'); colon != std::string::npos) name.resize(colon);
    if (!name.empty()) names.push_back(name);
    name.clear();
  }
  return names;
}

bool needsX11(const std::string& platform) { return platform == "xcb"; }
bool needsWayland(const std::string& platform) { return platform.rfind("wayland", 0) == 0; }

}  // namespace

IdeAction ideAction(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--") break;
    if (a == "--help" || a == "-h") return IdeAction::Help;
    if (a == "--version") return IdeAction::Version;
  }
  return IdeAction::Run;
}

std::string ideUsageText() {
  return "usage: kavelide [--help] [--version] [--] [PROGRAM.Kvl]\n"
         "Starts the Kavel environment; PROGRAM.Kvl opens as the Main program.\n"
         "  --help     print this text and exit\n"
         "  --version  print the version and exit\n"
         "It needs a display (X11 or Wayland); QT_QPA_PLATFORM=offscreen runs it without one.\n";
}

std::string ideVersionText() { return "kavelide " + mainWindowTitle() + "\n"; }

std::string platformArgumentOf(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--") break;
    if ((a == "-platform" || a == "--platform") && i + 1 < args.size()) return args[i + 1];
    for (const char* prefix : {"-platform=", "--platform="}) {
      const std::string p = prefix;
      if (a.rfind(p, 0) == 0) return a.substr(p.size());
    }
  }
  return {};
}

std::string missingDisplayText(const DisplayInputs& in) {
  const std::string& chosen = !in.platformArgument.empty() ? in.platformArgument : in.platformVariable;
  const std::vector<std::string> platforms = splitPlatforms(chosen);
  const bool x11 = !in.display.empty();
  const bool wayland = !in.waylandDisplay.empty();
  if (platforms.empty()) {
    // The desktop's default: Wayland or X11, whichever the session offers.
    if (x11 || wayland) return {};
    return "kavelide: no display: neither DISPLAY nor WAYLAND_DISPLAY is set; start it in a desktop session, " +
           std::string(kOffscreenHint) + "\n";
  }
  for (const std::string& p : platforms) {
    if ((needsX11(p) && x11) || (needsWayland(p) && wayland) || (!needsX11(p) && !needsWayland(p))) return {};
  }
  const std::string& first = platforms.front();
  const char* variable = needsX11(first) ? "DISPLAY" : "WAYLAND_DISPLAY";
  return "kavelide: no display for the platform \"" + chosen + "\": " + variable +
         " is not set; start it in a desktop session, " + kOffscreenHint + "\n";
}

std::string unreachableDisplayText(const DisplayInputs& in) {
  std::string named;
  if (!in.display.empty()) named = "DISPLAY=" + in.display;
  if (!in.waylandDisplay.empty()) named += (named.empty() ? "" : ", ") + ("WAYLAND_DISPLAY=" + in.waylandDisplay);
  const std::string& chosen = !in.platformArgument.empty() ? in.platformArgument : in.platformVariable;
  if (!chosen.empty()) named += (named.empty() ? "" : ", ") + ("platform \"" + chosen + "\"");
  return "kavelide: cannot open the display" + (named.empty() ? std::string() : " (" + named + ")") +
         "; check that the desktop session is running and this user may use it, " + kOffscreenHint + "\n";
}

}  // namespace kavel
