#include "core/comm/LineDispatcher.h"

#include "core/comm/BootLoaderBanner.h"
#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

bool has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool isBoardName(std::string_view t) { return has(t, "QV7B") || has(t, "Wrenlet") || has(t, "Glent"); }

void routeDownload(const std::string& t, const LinkState& state, ProductVariant variant, int mcu2620, LineRoute& r) {
  r.target = LineTarget::Download;
  int downloadState = state.downloadState;
  if (downloadState == kDownloadWaiting) {
    const BannerMatch banner = matchBootLoaderBanner(t, variant, mcu2620);
    if (banner.row != 0) {
      if (banner.named()) {
        r.showInLoaderPanel = true;
        r.storeLoaderText = true;
      }
      if (!banner.accepted) {
        downloadState = kDownloadRefused;
        r.newDownloadState = kDownloadRefused;
      }
    } else if (state.ProbeMode && isBoardName(t)) {
      r.setAck = true;
    }
    if (downloadState == kDownloadRefused) {
      r.refuse = true;
      r.setAbort = true;
      r.setCancel = true;
    } else if (has(t, "Please send [.hex] file.")) {
      r.bootLoaderReady = true;
    }
  } else if (downloadState == kDownloadSending) {
    if (has(t, "Loader")) {
      r.setAbort = true;
      r.setCancel = true;
    } else if (has(t, "error") || has(t, "out of range")) {
      r.setAbort = true;
    }
  } else if (downloadState == kDownloadFinished) {
    if ((has(t, "QV7B") && !has(t, "Loader2620")) || has(t, "Wrenlet") || has(t, "Velmo") ||
        (has(t, "Glent") && !has(t, "Loader2620"))) {
      r.storeBoardVersion = true;
    }
  }
  r.clearLog = state.downloadLogLines > kDownloadLogLimit;
  r.addToLog = true;
}

void routeSensorMonitor(const std::string& t, const LinkState& state, LineRoute& r) {
  r.target = LineTarget::SensorMonitor;
  if (state.ProbeMode) {
    r.setAck = isBoardName(t);
    return;
  }
  if (has(t, "Loader")) {
    r.storeLoaderText = true;
  } else if (t.starts_with("CN1=")) {
    r.monitorHandler = MonitorHandler::ConnectorReport;
  } else if (isBoardName(t) || has(t, "Velmo")) {
    r.storeBoardVersion = true;
    r.monitorHandler = MonitorHandler::Version;
  } else if (has(t, "CNio:")) {
    r.monitorHandler = MonitorHandler::OptionReport;
  }
  if (state.compassListening) {
    if (has(t, "D:")) r.module = ModuleTarget::Compass;
  } else if (state.ussListening) {
    if (has(t, "U:")) r.module = ModuleTarget::Ultrasonic;
  } else if (state.pixyListening) {
    if (has(t, "#Pixy:")) r.module = ModuleTarget::Camera;
  } else if (state.gamePadMonitor) {
    // The game-pad window shown from the sensor monitor: the monitor keeps listening, so the
    // pad's lines would never get past it to the window.
    if (has(t, "P:")) r.module = ModuleTarget::GamePad;
  }
  r.clearLog = state.monitorLogLines > kMonitorLogLimit;
  r.addToLog = true;
}

}  // namespace

std::string displayText(std::string_view bytes, bool binaryView) {
  std::string out;
  out.reserve(bytes.size() * (binaryView ? 4 : 1) + 8);
  bool afterControl = false;
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (binaryView || b < 0x20 || b == 0x7F) {
      out += text::format(" %02Xh", b);
      afterControl = true;
    } else {
      if (afterControl) out += ' ';
      out += ch;
      afterControl = false;
    }
  }
  return out;
}

LineRoute LineDispatcher(std::string_view bytes, const LinkState& state, ProductVariant variant, int mcu2620) {
  LineRoute r;
  r.text = displayText(bytes, state.binaryView);
  const std::string& t = r.text;
  if (state.downloadState != kDownloadIdle) {
    routeDownload(t, state, variant, mcu2620, r);
  } else if (state.sensorMonitorListening) {
    routeSensorMonitor(t, state, r);
  } else if (state.gamePadMonitor && has(t, "P:")) {
    r.target = LineTarget::GamePad;
  } else if (state.motorBalanceListening && has(t, "B:")) {
    r.target = LineTarget::MotorBalance;
    r.setAck = true;
  } else if (state.ProbeMode && (has(t, "QV7B") || has(t, "Wrenlet") || has(t, "WL Loader2520") ||
                                 has(t, "WL Loader2620") || has(t, "Glent"))) {
    r.setAck = true;
  }
  return r;
}

void applyRoute(const LineRoute& route, LinkState& state, AppSettings& settings) {
  if (route.setAck) state.AckFlag = true;
  if (route.setAbort) state.AbortFlag = true;
  if (route.setCancel) state.downloadCancel = true;
  if (route.newDownloadState) state.downloadState = *route.newDownloadState;
  if (route.storeLoaderText) settings.LoaderText = route.text;
  if (route.storeBoardVersion) settings.BoardVersionText = route.text;
  int& logLines = route.target == LineTarget::Download ? state.downloadLogLines : state.monitorLogLines;
  if (route.clearLog) logLines = 0;
  if (route.addToLog) ++logLines;
}

}  // namespace kavel
