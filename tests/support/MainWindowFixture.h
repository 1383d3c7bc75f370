#pragma once
// A main window as the program starts it, in a temporary program folder: the shipped message
// files and pictures come from build/bin, the settings file and the user folder are private
// to the test.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <string>

#include "core/Context.h"
#include "ScriptedPrompts.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/TfrmProg.h"

namespace kavel::testing {

class MainWindowFixture {
 public:
  /// `ini` is the settings file's text ("@USER@" in it names the test's user folder); by
  /// default English is chosen and the user folder is a folder of the test.
  explicit MainWindowFixture(const std::string& ini = {}, bool show = true, const std::string& fileArgument = {}) {
    folder = dir.path().toStdString() + "/";
    user = folder + "User/";
    QDir().mkpath(QString::fromStdString(user));
    iniPath = folder + "kavelide.ini";
    std::string text = ini.empty() ? "[PRJ]\r\nDefPath_=@USER@\r\nDatPath_=@USER@\r\n[LANGUAGE]\r\nLANG_NO_=1\r\n" : ini;
    for (std::size_t at = text.find("@USER@"); at != std::string::npos; at = text.find("@USER@", at)) {
      text.replace(at, 6, user);
    }
    std::ofstream(iniPath, std::ios::binary) << text;
    gui::MainOptions options;
    options.programFolder = std::string(KAVEL_BIN_DIR) + "/";
    options.iniPath = iniPath;
    options.fileArgument = fileArgument;
    options.prompts = &prompts;
    main = std::make_unique<gui::TfrmMain>(ctx, options);
    if (show) main->show();
  }

  gui::TfrmProg* prog(int n = 0) const { return main->prog(n); }

  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string path = user + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  QTemporaryDir dir;
  std::string folder;
  std::string user;
  std::string iniPath;
  Context ctx;
  ScriptedPrompts prompts;
  std::unique_ptr<gui::TfrmMain> main;
};

}  // namespace kavel::testing
