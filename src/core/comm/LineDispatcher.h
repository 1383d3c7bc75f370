#pragma once
// Where a completed board line goes. The decision is a plain value computed from the line and
// the link's marks; applyRoute makes the flag changes, and the window that listens carries out
// the rest (its log, its handlers, the refusal box).

#include <optional>
#include <string>
#include <string_view>

#include "core/settings/ProductVariant.h"

namespace kavel {

struct AppSettings;
struct LinkState;

enum class LineTarget { None, Download, SensorMonitor, GamePad, MotorBalance };
enum class MonitorHandler { None, ConnectorReport, Version, OptionReport };
enum class ModuleTarget { None, Compass, Ultrasonic, Camera, GamePad };

struct LineRoute {
  std::string text;  // display text; always added to the main window's message log
  LineTarget target = LineTarget::None;

  // Link marks to change.
  bool setAck = false;
  bool setAbort = false;
  bool setCancel = false;                // the download's cancel request
  std::optional<int> newDownloadState;   // 9 on a refused banner
  bool storeLoaderText = false;          // the line becomes LoaderText
  bool storeBoardVersion = false;        // the line becomes BoardVersionText

  // Download window.
  bool showInLoaderPanel = false;        // second status panel
  bool refuse = false;                   // "Can't Download" box with the line; window closes
  bool bootLoaderReady = false;          // "Please send [.hex] file." arrived

  // Sensor monitor and its module windows.
  MonitorHandler monitorHandler = MonitorHandler::None;
  ModuleTarget module = ModuleTarget::None;

  // The target's log (download receive log or monitor log); a log past its limit is emptied
  // before the line is added.
  bool clearLog = false;
  bool addToLog = false;
};

/// The text a line is shown as. Binary view: every byte as " XXh". Text view: printable
/// bytes and bytes from 0x80 as they are; control bytes (0x00-0x1F, 0x7F) as " XXh", and a
/// space between such a group and the next printable byte.
std::string displayText(std::string_view bytes, bool binaryView);

/// Routes one completed line (raw bytes). `variant` and `mcu2620` decide which boot-loader
/// banner the download accepts.
LineRoute LineDispatcher(std::string_view bytes, const LinkState& state, ProductVariant variant, int mcu2620);

/// Makes the route's changes to the link marks and texts: AckFlag, AbortFlag, the cancel
/// request, the download state, LoaderText, BoardVersionText and the log line counts.
void applyRoute(const LineRoute& route, LinkState& state, AppSettings& settings);

/// Line limits of the two logs the dispatcher fills.
inline constexpr int kDownloadLogLimit = 2000;
inline constexpr int kMonitorLogLimit = 1000;

}  // namespace kavel
