#include <QtTest>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "MainWindowFixture.h"
#include "core/shell/RecentFiles.h"

using namespace kavel;
using namespace kavel::testing;

namespace {

const std::string kProgramFile =
    "Title:Main - [ A ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n"
    "[0000]:sno:08,cno:07,val:111111-110000-000000,cmt:\r\n"
    "[0001]:sno:21,cno:21,val:000050-000050-000000,cmt:\r\n";

QString en(const MainWindowFixture& f, int n) { return QString::fromStdString(f.ctx.messages.text(1, n)); }

QMenu* recentMenu(MainWindowFixture& f) {
  QMenu* menu = f.main->menuBar()->findChild<QMenu*>("mmRecent");
  if (menu) emit menu->aboutToShow();
  return menu;
}

// The file entries of the submenu: caption and enabled state.
QList<QPair<QString, bool>> entries(QMenu* menu) {
  QList<QPair<QString, bool>> out;
  for (QAction* a : menu->actions()) {
    if (a->objectName().startsWith("mmRecentFile")) out.append({a->text(), a->isEnabled()});
  }
  return out;
}

}  // namespace

class RecentFilesMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void openedAndSavedFilesAreListedNewestFirstAndKeptForTheNextStart() {
    MainWindowFixture f;
    const std::string a = f.write("A.Kvl", kProgramFile);
    const std::string b = f.write("B.Kvl", kProgramFile);
    QMenu* menu = recentMenu(f);
    QVERIFY(menu);
    QCOMPARE(menu->title(), en(f, 101));
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions()[0]->text(), en(f, 159));

    QVERIFY(f.main->openProgramFile(QString::fromStdString(a)));
    QVERIFY(f.main->openProgramFile(QString::fromStdString(b)));
    QVERIFY(f.main->saveProgramAs(QString::fromStdString(f.user + "C.Kvl")));
    QVERIFY(f.main->openProgramFile(QString::fromStdString(a)));
    const std::vector<std::string> expected{a, f.user + "C.Kvl", b};
    QCOMPARE(f.main->recentFiles().files(), expected);
    QCOMPARE(entries(recentMenu(f)).size(), 3);
    QCOMPARE(entries(menu)[0].first, QStringLiteral("&1  ") + QString::fromStdString(a));

    // Kept in the settings file at once, and still there after the program saved its settings.
    f.main->close();
    RecentFiles stored;
    stored.loadFrom(f.iniPath);
    QCOMPARE(stored.files(), expected);
  }

  void aMissingFileIsShownDisabledAndAFileOfTheOtherStyleToo() {
    MainWindowFixture f;
    const std::string a = f.write("A.Kvl", kProgramFile);
    const std::string gone = f.write("Gone.Kvl", kProgramFile);
    const std::string code = f.write("robot.c", "void user_main(void)\r\n{\r\n}\r\n");
    QVERIFY(f.main->openProgramFile(QString::fromStdString(gone)));
    QVERIFY(f.main->openProgramFile(QString::fromStdString(a)));
    QFile::remove(QString::fromStdString(gone));
    RecentFiles list = f.main->recentFiles();
    list.add(code);
    QVERIFY(list.saveTo(f.iniPath));

    MainWindowFixture again(MainWindowFixture::read(f.iniPath));
    const auto shown = entries(recentMenu(again));
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[0], qMakePair(QStringLiteral("&1  ") + QString::fromStdString(code), false));
    QCOMPARE(shown[1], qMakePair(QStringLiteral("&2  ") + QString::fromStdString(a), true));
    QCOMPARE(shown[2],
             qMakePair(QStringLiteral("&3  ") + QString::fromStdString(gone) + QStringLiteral("  ") + en(f, 157), false));
  }

  void choosingAnEntryOpensItAfterOpensQuestion() {
    MainWindowFixture f;
    const std::string a = f.write("A.Kvl", kProgramFile);
    QVERIFY(f.main->openProgramFile(QString::fromStdString(a)));
    f.main->mmNewClick();
    f.prog(0)->program().modified = true;

    f.prompts.answers = {Answer::No};
    f.main->openRecent(QString::fromStdString(a));
    QCOMPARE(f.prompts.asked.back().text, en(f, 43));
    QCOMPARE(f.ctx.programs.main().size(), std::size_t(0));

    f.prompts.answers = {Answer::Yes};
    f.main->openRecent(QString::fromStdString(a));
    QCOMPARE(f.ctx.programs.main().size(), std::size_t(1));
    QCOMPARE(f.ctx.programs.main().path, a);
  }

  void clearingTheListEmptiesItInTheSettingsFile() {
    MainWindowFixture f;
    QVERIFY(f.main->openProgramFile(QString::fromStdString(f.write("A.Kvl", kProgramFile))));
    QMenu* menu = recentMenu(f);
    QAction* clear = menu->findChild<QAction*>("mmRecentClear");
    QVERIFY(clear);
    QCOMPARE(clear->text(), en(f, 158));
    clear->trigger();
    QVERIFY(f.main->recentFiles().files().empty());
    RecentFiles stored;
    stored.loadFrom(f.iniPath);
    QVERIFY(stored.files().empty());
  }
};

QTEST_MAIN(RecentFilesMenuTest)
#include "recent_files_menu_test.moc"
