#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/comm/BootLoaderBanner.h"
#include "core/comm/LineDispatcher.h"
#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"

using namespace kavel;

TEST(LineDispatcher, DisplayText) {
  struct Case {
    std::string bytes;
    bool binary;
    std::string text;
  } cases[] = {
      {"AB", false, "AB"},
      {"A\x01" "B", false, "A 01h B"},
      {"A\x01" "B", true, " 41h 01h 42h"},
      {"\x01\x02" "C", false, " 01h 02h C"},
      {"A\x7f", false, "A 7Fh"},
      {"\x82\xa0", false, "\x82\xa0"},  // Shift-JIS stays readable
      {"", false, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(displayText(c.bytes, c.binary), c.text) << c.bytes;
}

TEST(LineDispatcher, BannerTable) {
  struct Case {
    const char* line;
    int variant, mcu;
    int row;
    bool accepted;
  } cases[] = {
      {"Glent Loader2620 V1", 0, 1, 1, true},
      {"Glent Loader2620 V1", 3, 0, 1, false},
      {"QV7B Loader2620", 1, 1, 2, true},
      {"QV7B Loader2620", 2, 0, 2, true},
      {"QV7B Loader2620", 3, 1, 2, false},
      {"WL Loader2520 Ver.1.05", 3, 0, 3, true},
      {"WL Loader2520 Ver.1.05", 4, 0, 3, true},
      {"WL Loader2520 Ver.1.05", 3, 1, 3, false},
      {"WL-101 Loader2520", 3, 0, 4, true},
      {"WL-101 Loader2520", 4, 1, 4, false},
      {"WL Loader2620", 3, 1, 5, true},
      {"WL Loader2620", 3, 0, 5, false},
      {"Loader2420", 3, 0, 6, false},
      {"Loader2520", 3, 0, 7, false},
      {"Loader2620", 0, 1, 8, false},
      {"Loader2620", 1, 1, 8, false},
      {"Please send [.hex] file.", 3, 0, 0, false},
  };
  for (const Case& c : cases) {
    const BannerMatch m = matchBootLoaderBanner(c.line, c.variant, c.mcu);
    EXPECT_EQ(m.row, c.row) << c.line << " variant " << c.variant;
    EXPECT_EQ(m.accepted, c.accepted) << c.line << " variant " << c.variant << " mcu " << c.mcu;
  }
}

namespace {

LinkState download(int state, bool probe = false) {
  LinkState s;
  s.downloadState = state;
  s.ProbeMode = probe;
  return s;
}

LinkState monitor(bool probe = false) {
  LinkState s;
  s.sensorMonitorListening = true;
  s.ProbeMode = probe;
  return s;
}

}  // namespace

TEST(LineDispatcher, Routes) {
  LinkState compass = monitor();
  compass.compassListening = true;
  compass.ussListening = true;  // the compass is served first
  LinkState uss = monitor();
  uss.ussListening = true;
  LinkState pixy = monitor();
  pixy.pixyListening = true;
  LinkState pad;
  pad.gamePadMonitor = true;
  LinkState padFromMonitor = monitor();
  padFromMonitor.gamePadMonitor = true;
  LinkState padBehindCompass = compass;
  padBehindCompass.gamePadMonitor = true;
  LinkState balance;
  balance.motorBalanceListening = true;
  LinkState probe;
  probe.ProbeMode = true;
  LinkState fullLog = download(kDownloadSending);
  fullLog.downloadLogLines = 2001;
  LinkState fullMonitorLog = monitor();
  fullMonitorLog.monitorLogLines = 1001;

  using Check = std::function<bool(const LineRoute&)>;
  struct Case {
    const char* what;
    LinkState state;
    const char* line;
    LineTarget target;
    Check check;
  } cases[] = {
      {"accepted banner", download(1), "WL Loader2520 Ver.1.05", LineTarget::Download,
       [](const LineRoute& r) { return r.showInLoaderPanel && r.storeLoaderText && !r.refuse && !r.newDownloadState; }},
      {"refused banner", download(1), "QV7B Loader2620", LineTarget::Download,
       [](const LineRoute& r) {
         return r.refuse && r.setAbort && r.setCancel && r.newDownloadState == 9 && r.storeLoaderText;
       }},
      {"bare loader refused, not shown", download(1), "Loader2620 V2", LineTarget::Download,
       [](const LineRoute& r) { return r.refuse && !r.showInLoaderPanel && !r.storeLoaderText; }},
      {"prompt", download(1), "Please send [.hex] file.", LineTarget::Download,
       [](const LineRoute& r) { return r.bootLoaderReady && !r.refuse; }},
      {"probe answer while waiting", download(1, true), "Wrenlet CORE", LineTarget::Download,
       [](const LineRoute& r) { return r.setAck; }},
      {"no probe, no ack", download(1), "Wrenlet CORE", LineTarget::Download, [](const LineRoute& r) { return !r.setAck; }},
      {"loader line while sending", download(2), "WL Loader2520", LineTarget::Download,
       [](const LineRoute& r) { return r.setAbort && r.setCancel; }},
      {"error while sending", download(2), "checksum error", LineTarget::Download,
       [](const LineRoute& r) { return r.setAbort && !r.setCancel; }},
      {"out of range while sending", download(2), "address out of range", LineTarget::Download,
       [](const LineRoute& r) { return r.setAbort; }},
      {"plain line while sending", download(2), "ok", LineTarget::Download,
       [](const LineRoute& r) { return !r.setAbort && r.addToLog && !r.clearLog; }},
      {"download log limit", fullLog, "ok", LineTarget::Download, [](const LineRoute& r) { return r.clearLog && r.addToLog; }},
      {"version after the transfer", download(3), "Wrenlet CORE Ver.2", LineTarget::Download,
       [](const LineRoute& r) { return r.storeBoardVersion; }},
      {"QV7B loader is no version", download(3), "QV7B Loader2620", LineTarget::Download,
       [](const LineRoute& r) { return !r.storeBoardVersion; }},
      {"Velmo version", download(3), "Velmo 1.0", LineTarget::Download, [](const LineRoute& r) { return r.storeBoardVersion; }},
      {"refused state only logs", download(9), "Please send [.hex] file.", LineTarget::Download,
       [](const LineRoute& r) { return !r.bootLoaderReady && r.addToLog; }},
      {"monitor probe", monitor(true), "Glent V1", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.setAck && !r.addToLog && r.monitorHandler == MonitorHandler::None; }},
      {"monitor loader text", monitor(), "WL Loader2520", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.storeLoaderText && r.monitorHandler == MonitorHandler::None && r.addToLog; }},
      {"connector report", monitor(), "CN1=0512,CN2=...", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.monitorHandler == MonitorHandler::ConnectorReport; }},
      {"report only at the start", monitor(), "xCN1=0512", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.monitorHandler == MonitorHandler::None; }},
      {"version handler", monitor(), "Wrenlet CORE Ver.2", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.monitorHandler == MonitorHandler::Version && r.storeBoardVersion; }},
      {"option report", monitor(), "CNio:1111111100 USE_USS", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.monitorHandler == MonitorHandler::OptionReport; }},
      {"compass first", compass, "D:090,045,010 U:1", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.module == ModuleTarget::Compass; }},
      {"compass ignores U:", compass, "U:1234", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.module == ModuleTarget::None; }},
      {"ultrasonic", uss, "U:1234,0000,0000,0000", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.module == ModuleTarget::Ultrasonic; }},
      {"camera", pixy, "#Pixy:001,160", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.module == ModuleTarget::Camera; }},
      {"monitor log limit", fullMonitorLog, "x", LineTarget::SensorMonitor, [](const LineRoute& r) { return r.clearLog; }},
      {"game pad", pad, "P:0010,128,128", LineTarget::GamePad, [](const LineRoute& r) { return !r.setAck; }},
      {"game pad shown from the sensor monitor", padFromMonitor, "P:0010,128,128", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.module == ModuleTarget::GamePad && r.addToLog; }},
      {"an open compass window is served before the pad", padBehindCompass, "D:090 P:1", LineTarget::SensorMonitor,
       [](const LineRoute& r) { return r.module == ModuleTarget::Compass; }},
      {"game pad ignores others", pad, "B:000", LineTarget::None, [](const LineRoute&) { return true; }},
      {"motor balance", balance, "B:015,000,010", LineTarget::MotorBalance, [](const LineRoute& r) { return r.setAck; }},
      {"probe, nobody listening", probe, "WL Loader2620", LineTarget::None, [](const LineRoute& r) { return r.setAck; }},
      {"probe ignores bare loader", probe, "Loader2620", LineTarget::None, [](const LineRoute& r) { return !r.setAck; }},
      {"only logged", LinkState{}, "Wrenlet", LineTarget::None, [](const LineRoute& r) { return !r.setAck && !r.addToLog; }},
  };
  for (const Case& c : cases) {
    const LineRoute r = LineDispatcher(c.line, c.state, 3, 0);
    EXPECT_EQ(r.target, c.target) << c.what;
    EXPECT_TRUE(c.check(r)) << c.what;
    EXPECT_EQ(r.text, c.line) << c.what;
  }
}

TEST(LineDispatcher, ApplyRouteSetsMarksAndTexts) {
  LinkState state = download(kDownloadWaiting);
  AppSettings settings;
  applyRoute(LineDispatcher("QV7B Loader2620", state, 3, 0), state, settings);
  EXPECT_EQ(state.downloadState, kDownloadRefused);
  EXPECT_TRUE(state.AbortFlag);
  EXPECT_TRUE(state.downloadCancel);
  EXPECT_EQ(settings.LoaderText, "QV7B Loader2620");
  EXPECT_EQ(state.downloadLogLines, 1);

  LinkState finished = download(kDownloadFinished);
  finished.downloadLogLines = 2001;
  applyRoute(LineDispatcher("Wrenlet CORE Ver.2", finished, 3, 0), finished, settings);
  EXPECT_EQ(settings.BoardVersionText, "Wrenlet CORE Ver.2");
  EXPECT_EQ(finished.downloadLogLines, 1);
}
