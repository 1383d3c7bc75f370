#include "core/shell/ManualPages.h"

#include "core/text/TextFile.h"

namespace kavel {
namespace {

ManualPage statementPage(const char* file, const char* anchor = "") {
  return {std::string("statements/") + file, anchor};
}

// "/usr/bin/" gives "/usr/"; "bin/" gives "./".
std::string parentFolder(const std::string& folder) {
  std::string f = folder;
  while (f.size() > 1 && f.back() == '/') f.pop_back();
  const auto slash = f.rfind('/');
  return slash == std::string::npos ? std::string("./") : f.substr(0, slash + 1);
}

}  // namespace

std::string ManualPage::link() const { return anchor.empty() ? file : file + "#" + anchor; }

ManualPage manualContents() { return {"index.html", ""}; }

const std::vector<std::pair<std::string_view, ManualPage>>& manualWindowTable() {
  static const std::vector<std::pair<std::string_view, ManualPage>> table = {
      {"TfrmMain", {"getting-started.html", "main-window"}},
      {"TfrmProg", {"getting-started.html", "program-window"}},
      {"TfrmStartup", {"getting-started.html", "first-start"}},
      {"TfrmHelp", {"index.html", ""}},
      {"TfrmMsgBox", {"troubleshooting.html", ""}},
      {"TfrmLanguage", {"settings.html", "language"}},
      {"TfrmSetup", {"setup.html", ""}},
      {"TfrmBuild", {"building.html", ""}},
      {"TfrmDownLoad", {"download.html", ""}},
      {"TfrmCom", {"download.html", "port"}},
      {"TfrmMoni", {"monitors.html", "sensor-monitor"}},
      {"TfrmUssMoni", {"monitors.html", "ultrasonic"}},
      {"TfrmCmps", {"monitors.html", "compass"}},
      {"TfrmPixyMoni", {"monitors.html", "camera"}},
      {"TfrmMotBal", {"monitors.html", "motor-balance"}},
      {"TfrmSim", {"simulator.html", "window"}},
      {"TfrmSpeed", statementPage("motor.html")},
      {"TfrmCondition", statementPage("conditions.html")},
      {"TfrmRepeat", statementPage("for.html")},
      {"TfrmTimer", statementPage("timer.html")},
      {"TfrmVar", statementPage("variable.html")},
      {"TfrmSensor", statementPage("sensor.html")},
      {"TfrmLed", statementPage("led.html")},
      {"TfrmOutCn", statementPage("output.html")},
      {"TfrmPwm", statementPage("pwm.html")},
      {"TfrmServo", statementPage("servo.html")},
      {"TfrmLcd", statementPage("lcd.html")},
      {"TfrmUss", statementPage("ultrasonic.html")},
      {"TfrmDir", statementPage("direction.html")},
      {"TfrmSNX4410", statementPage("gamepad.html")},
      {"TfrmPixy", statementPage("camera.html")},
      {"TfrmSubProg", statementPage("subprogram.html")},
      {"TfrmCode", statementPage("ccode.html")},
  };
  return table;
}

ManualPage manualPageForWindow(std::string_view className) {
  for (const auto& [name, page] : manualWindowTable()) {
    if (name == className) return page;
  }
  return manualContents();
}

ManualPage manualPageForStatement(int sno) {
  switch (sno) {
    case 0: return statementPage("if.html", "end");
    case 1: return statementPage("if.html");
    case 2: return statementPage("if.html", "elseif");
    case 3: return statementPage("if.html", "else");
    case 4: return statementPage("while.html");
    case 5: return statementPage("for.html");
    case 6: return statementPage("while.html", "continue");
    case 7: return statementPage("while.html", "break");
    case 8: return {"setup.html", ""};
    case 9: return statementPage("subprogram.html");
    case 10: return statementPage("subprogram.html", "return");
    case 13:
    case 14: return statementPage("sensor.html");
    case 15: return statementPage("direction.html");
    case 29: return statementPage("wait.html");
    case 30: return statementPage("timer.html");
    case 31:
    case 32: return statementPage("variable.html");
    case 33: return statementPage("ccode.html");
    case 38: return statementPage("pwm.html");
    case 39: return statementPage("servo.html");
    case 40: return statementPage("output.html");
    case 41: return statementPage("lcd.html");
    case 43: return statementPage("gamepad.html");
    case 44: return statementPage("ultrasonic.html");
    case 45: return statementPage("camera.html");
    default: break;
  }
  if (sno >= 19 && sno <= 28) return statementPage("motor.html");
  if (sno >= 34 && sno <= 37) return statementPage("led.html");
  return statementPage("index.html");
}

ManualPage manualPageForCondition(int cno) {
  switch (cno) {
    case 1: return statementPage("while.html", "forever");
    case 13:
    case 14: return statementPage("sensor.html");
    case 15: return statementPage("direction.html");
    case 30: return statementPage("timer.html", "condition");
    case 31:
    case 32: return statementPage("variable.html", "condition");
    case 33: return statementPage("ccode.html", "condition");
    case 40: return statementPage("output.html", "condition");
    case 43: return statementPage("gamepad.html");
    case 44: return statementPage("ultrasonic.html", "condition");
    case 45: return statementPage("camera.html");
    default: break;
  }
  if (cno >= 34 && cno <= 37) return statementPage("led.html", "condition");
  return statementPage("conditions.html");
}

ManualPage manualPageForRow(int sno, int cno) {
  if ((sno == 1 || sno == 2 || sno == 4) && cno != 0) return manualPageForCondition(cno);
  return manualPageForStatement(sno);
}

std::vector<std::string> manualFolderCandidates(const std::string& binaryPath) {
  std::string folder = text::folderOf(binaryPath);
  if (folder.empty()) folder = "./";
  return {folder + "doc/", parentFolder(folder) + "share/doc/kavel/"};
}

std::string findManualFolder(const std::string& binaryPath) {
  for (const std::string& folder : manualFolderCandidates(binaryPath)) {
    if (text::fileExists(folder + "index.html")) return folder;
  }
  return {};
}

ManualPage localizedPage(const std::string& folder, const ManualPage& page, int language) {
  if (language != 0) return page;
  const std::string ext = text::extensionOf(page.file);
  if (ext != ".html") return page;
  const std::string japanese = page.file.substr(0, page.file.size() - ext.size()) + ".ja.html";
  if (!text::fileExists(folder + japanese)) return page;
  return {japanese, page.anchor};
}

}  // namespace kavel
