// The main window of an installed copy: data read from the installation, settings, programs and
// the build in the user's own folders, the installation never written, and a folder problem
// told once at start.

#include <QtTest>

#include <QCheckBox>

#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>

#include "ScriptedPrompts.h"
#include "Statements.h"
#include "core/Context.h"
#include "core/model/StatementKind.h"
#include "core/shell/UserPaths.h"
#include "gui/app/TfrmMain.h"
#include "gui/build/TfrmBuild.h"
#include "gui/editor/TfrmProg.h"

using namespace kavel;
using namespace kavel::testing;
namespace fs = std::filesystem;

namespace {

std::map<std::string, fs::file_time_type> snapshot(const fs::path& root) {
  std::map<std::string, fs::file_time_type> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) files[e.path().string()] = e.last_write_time();
  return files;
}

void setWritable(const fs::path& root, bool writable) {
  const auto bits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  const auto how = writable ? fs::perm_options::add : fs::perm_options::remove;
  for (const auto& e : fs::recursive_directory_iterator(root)) fs::permissions(e.path(), bits, how);
  fs::permissions(root, bits, how);
}

// A user of an installed copy: the installation holds what build/bin holds (the data the window
// reads and the sample build folder), read-only; the user's HOME and XDG folders are empty.
struct InstalledCopy {
  InstalledCopy() {
    root = fs::path(dir.path().toStdString());
    install = root / "share" / "kavel";
    fs::create_directories(install);
    for (const char* f : {"English.Txt", "Japanese.Txt", "C-CodeLib.Txt", "WL-Core.jpg", "MORVANE_Logo.jpg"}) {
      fs::copy_file(fs::path(KAVEL_BIN_DIR) / f, install / f);
    }
    fs::copy(fs::path(KAVEL_BIN_DIR) / "glyphs", install / "glyphs", fs::copy_options::recursive);
    fs::create_directories(install / "Build");
    fs::copy(fs::path(KAVEL_BIN_DIR) / "Build" / "Build_V190617", install / "Build" / "Build_V190617",
             fs::copy_options::recursive);
    for (const char* d : {"home", "config", "data"}) fs::create_directories(root / d);

    paths.perUser = true;
    paths.dataFolder = install.string() + "/";
    paths.settingsBase = (root / "config").string();
    paths.settingsFile = (root / "config" / "kavel" / "kavelide.ini").string();
    paths.userRoot = (root / "home" / "Kavel").string() + "/";
    paths.buildBase = (root / "data").string();
    paths.buildRoot = (root / "data" / "kavel").string() + "/";
    prepareUserFolders(paths, "User_WL/");
    // English is chosen, so the first-run question does not wait.
    std::ofstream(paths.settingsFile) << "[LANGUAGE]\r\nLANG_NO_=1\r\n";
    setWritable(install, false);
  }
  ~InstalledCopy() {
    main.reset();
    setWritable(install, true);
  }

  void start() {
    gui::MainOptions options;
    options.paths = paths;
    options.prompts = &prompts;
    main = std::make_unique<gui::TfrmMain>(ctx, options);
    main->show();
  }

  QTemporaryDir dir;
  fs::path root, install;
  UserPaths paths;
  Context ctx;
  ScriptedPrompts prompts;
  std::unique_ptr<gui::TfrmMain> main;
};

}  // namespace

class InstalledCopyTest : public QObject {
  Q_OBJECT

 private slots:
  void buildsInTheUsersCopyAndNeverWritesTheInstallation() {
    InstalledCopy c;
    const auto before = snapshot(c.install);
    c.start();
    QVERIFY(c.prompts.asked.empty());
    QCOMPARE(c.ctx.settings.DatPath_, c.paths.userRoot + "User_WL/");
    QCOMPARE(c.ctx.settings.LANG_1__, c.paths.dataFolder + "English.Txt");
    const std::string batFile = c.paths.buildRoot + "Build/Build_V190617/BuildPath.Bat";
    QCOMPARE(c.ctx.settings.BatFile_, batFile);

    gui::TfrmProg* prog = c.main->prog(0);
    prog->clearRows();
    prog->program().appendRow(row(kWait, kWait, 500));
    prog->rowsChanged();
    prog->setModified(true);
    prog->program().path = c.paths.userRoot + "User_WL/robot.Kvl";
    c.ctx.settings.BuildJob = 0;
    c.ctx.settings.MCU2620_ = 1;
    int result = -1;
    c.prompts.onShow = [&result](QDialog& dialog) {
      auto* w = qobject_cast<gui::TfrmBuild*>(&dialog);
      QVERIFY(w);
      w->FormShow();
      w->sBarDblClick();
      w->ckDownLoad->setChecked(false);
      w->btnBuildClick();
      QVERIFY(QTest::qWaitFor([w] { return !w->running(); }, 30000));
      result = w->BuildResult;
      w->btnCancelClick();
    };
    c.main->mmBuildClick();

    QCOMPARE(result, 1);
    QVERIFY(fs::exists(c.paths.buildRoot + "Build/Build_V190617/User.Hex"));
    QVERIFY(fs::exists(c.paths.userRoot + "User_WL/robot.Hex"));
    QVERIFY(before == snapshot(c.install));

    // Closing saves the settings in the user's folder, keeping the private mode.
    c.main->close();
    std::ifstream in(c.paths.settingsFile);
    const std::string ini((std::istreambuf_iterator<char>(in)), {});
    QVERIFY2(ini.find("BatFile_=" + batFile) != std::string::npos, ini.c_str());
    struct stat st {};
    ::stat(c.paths.settingsFile.c_str(), &st);
    QCOMPARE(st.st_mode & 0777, 0600u);
    QVERIFY(before == snapshot(c.install));
  }

  void aFolderProblemIsToldOnceAndTheWindowStillStarts() {
    InstalledCopy c;
    c.paths.problem = "Kavel cannot keep your files: HOME is not set.";
    c.paths.userRoot.clear();
    c.paths.buildRoot.clear();
    const auto before = snapshot(c.install);
    c.start();
    QCOMPARE(c.prompts.asked.size(), std::size_t{1});
    QCOMPARE(c.prompts.asked[0].text, QString::fromStdString(c.paths.problem));
    QVERIFY(c.main->prog(0));
    // With no folder of the user's own a build is refused before anything is written.
    c.prompts.asked.clear();
    gui::TfrmBuild* w = c.main->frmBuild();
    w->FormShow();
    w->btnBuildClick();
    QCOMPARE(c.prompts.asked.size(), std::size_t{1});
    QVERIFY(c.prompts.asked[0].text.contains("Build Path"));
    QVERIFY(!w->running());
    QVERIFY(before == snapshot(c.install));
  }
};

QTEST_MAIN(InstalledCopyTest)
#include "installed_copy_test.moc"
