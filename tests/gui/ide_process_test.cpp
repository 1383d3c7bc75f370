// kavelide as the user starts it from a terminal or a session: help and version without a
// display, one clear line when there is no display, and an end on SIGTERM or SIGINT even while
// a question is waiting for an answer.

#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "core/model/StatementKind.h"
#include "core/shell/RecoveryFile.h"
#include "core/shell/RecoveryFolder.h"
#include "gui/app/AutoSave.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

const QString kIde = QStringLiteral(KAVEL_BIN_DIR "/kavelide");

// The environment of a login without a display.
QProcessEnvironment withoutDisplay(const QString& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  env.insert("HOME", home);
  return env;
}

struct Run {
  int code = -1;
  QString out;
  QString err;
};

Run run(const QStringList& args, const QProcessEnvironment& env) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(kIde, args);
  Run r;
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

// Whether process `pid` has its own handler for `signal` (the SigCgt mask of /proc).
bool catches(qint64 pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) != 0) continue;
    const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
    return (mask >> (signal - 1)) & 1u;
  }
  return false;
}

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

class IdeProcessTest : public QObject {
  Q_OBJECT

 private slots:
  void helpAndVersionNeedNoDisplay() {
    QTemporaryDir home;
    const Run help = run({"--help"}, withoutDisplay(home.path()));
    QCOMPARE(help.code, 0);
    QVERIFY2(help.out.startsWith("usage: kavelide"), qPrintable(help.out));
    QVERIFY2(help.err.isEmpty(), qPrintable(help.err));
    const Run version = run({"--version"}, withoutDisplay(home.path()));
    QCOMPARE(version.code, 0);
    QCOMPARE(version.out, QString("kavelide MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\n"));
    QVERIFY(version.err.isEmpty());
    QVERIFY2(QDir(home.path()).isEmpty(), "nothing is written");
  }

  void withoutADisplayItSaysSoInOneLine_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("named");
    QTest::newRow("none set") << "" << "DISPLAY";
    QTest::newRow("not reachable") << ":987" << "DISPLAY=:987";
  }

  void withoutADisplayItSaysSoInOneLine() {
    QFETCH(QString, display);
    QFETCH(QString, named);
    QTemporaryDir home;
    QProcessEnvironment env = withoutDisplay(home.path());
    if (!display.isEmpty()) env.insert("DISPLAY", display);
    const Run r = run({}, env);
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.startsWith("kavelide: ") && r.err.count('\n') == 1 && r.err.endsWith('\n'), qPrintable(r.err));
    QVERIFY2(r.err.contains(named), qPrintable(r.err));
    QVERIFY2(!r.err.contains("plugin") && !r.err.contains("qt."), qPrintable(r.err));
  }

  // An installed copy whose last session left a recovery copy: the next start asks whether to
  // restore it, and the signal comes while that question waits.
  void aSignalEndsItWhileAQuestionWaits_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
  }

  void aSignalEndsItWhileAQuestionWaits() {
    QFETCH(int, signal);
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share");
    fs::copy_file(kIde.toStdString(), root / "bin" / "kavelide");
    fs::create_directory_symlink(KAVEL_BIN_DIR, root / "share" / "kavel");
    const fs::path config = root / "config" / "kavel";
    fs::create_directories(config);
    fs::create_directories(root / "home");
    std::ofstream(config / "kavelide.ini") << "[LANGUAGE]\r\nLANG_NO_=1\r\n";
    {
      // A session that has ended: its lock goes with it, its copy stays.
      RecoveryFolder earlier(recoveryFolderFor((config / "kavelide.ini").string()));
      RecoveryFile copy;
      copy.text = "Title:Main - [ New ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n"
                  "[0001]:sno:29,cno:29,val:000500-000000-000000,cmt:\r\n";
      QVERIFY(earlier.save(copy));
    }
    const auto copies = [&] {
      QStringList names = QDir(QString::fromStdString(recoveryFolderFor((config / "kavelide.ini").string())))
                              .entryList({"*.krec"}, QDir::Files);
      return names;
    };
    QCOMPARE(copies().size(), 1);

    QProcess p;
    QProcessEnvironment env = withoutDisplay(QString::fromStdString((root / "home").string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((root / "config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((root / "data").string()));
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString((root / "bin" / "kavelide").string()), {});
    QVERIFY(p.waitForStarted());
    QVERIFY(QTest::qWaitFor([&] { return catches(p.processId(), signal); }, 30000));
    // Give the start time to reach its question; a signal that comes earlier waits for it.
    QTest::qWait(500);
    ::kill(static_cast<pid_t>(p.processId()), signal);
    const bool ended = p.waitForFinished(20000);
    if (!ended) {
      p.kill();
      p.waitForFinished();
    }
    QVERIFY2(ended, "the process stayed after the signal");
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    // Nothing lost: the copy waits for the next start, and the settings were written whole.
    QCOMPARE(copies().size(), 1);
    const std::string ini = slurp(config / "kavelide.ini");
    QVERIFY2(ini.find("[COMPORT]") != std::string::npos && ini.find("LANG_NO_=1") != std::string::npos, ini.c_str());
  }

  // What the ending does inside the window, with a changed Main and a changed Sub. It ends every
  // event loop of this process, so it runs last.
  void endingOnASignalKeepsTheChangesAndAsksNothing() {
    testing::MainWindowFixture f;
    for (int n : {0, 2}) {
      gui::TfrmProg* p = n == 0 ? f.prog(0) : f.main->openProgramWindow(n);
      p->program().appendRow(testing::row(kWait, kWait, 100 + n));
      p->rowsChanged();
      p->setModified(true);
    }
    f.main->mmJpnClick();
    f.main->endOnSignal(SIGTERM);
    QVERIFY(f.main->ending());
    QVERIFY(f.prompts.asked.empty());
    QVERIFY(!f.main->isVisible());
    const RecoveryFolder& folder = f.main->autoSave()->folder();
    for (int n : {0, 2}) {
      const RecoveryRead copy = readRecoveryFile(folder.pathFor(n));
      QCOMPARE(copy.verdict, RecoveryRead::Verdict::Ok);
      QVERIFY(copy.file.text.find(n == 0 ? "val:000100" : "val:000102") != std::string::npos);
    }
    QVERIFY(testing::MainWindowFixture::read(f.iniPath).find("LANG_NO_=0") != std::string::npos);
    f.main->close();
    QVERIFY2(fs::exists(folder.pathFor(0)), "closing afterwards asks nothing and removes nothing");
    QVERIFY(f.prompts.asked.empty());
  }
};

QTEST_MAIN(IdeProcessTest)
#include "ide_process_test.moc"
