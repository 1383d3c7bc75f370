#include <QtTest>

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>

#include "MainWindowFixture.h"
#include "gui/editor/RowView.h"

using namespace kavel;
using namespace kavel::testing;

// Paints the main window with a program of every block kind, its popup menu and its code view
// in both languages. With KAVEL_WINDOW_SHOTS set to a folder the pictures are kept there, to
// look at the windows as a user sees them.
class WindowPictures : public QObject {
  Q_OBJECT

 private slots:
  void paintsTheMainWindowInBothLanguages_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 1;
    QTest::newRow("Japanese") << 0;
  }

  void paintsTheMainWindowInBothLanguages() {
    QFETCH(int, language);
    const std::string sample = std::string(KAVEL_SOURCE_DIR) + "/tests/gui/data/every_kind.Kvl";
    MainWindowFixture f("[LANGUAGE]\r\nLANG_NO_=" + std::to_string(language) + "\r\n", false, sample);
    f.main->resize(1280, 800);
    f.main->show();
    QApplication::processEvents();
    gui::TfrmProg* main = f.prog(0);
    main->copyRows(10);
    main->rowView()->setSelected(4);
    f.main->action("mmGrid")->trigger();

    const QString suffix = language == 0 ? "ja" : "en";
    const QImage window = f.main->grab().toImage();
    QVERIFY(!window.isNull());
    main->openPopup(4);
    const QImage popup = main->pmEdit()->grab().toImage();
    QVERIFY(popup.height() > 100);
    main->pmEdit()->hide();
    f.main->action("mmCodeView")->trigger();
    f.main->subWindow(0)->showMaximized();
    QApplication::processEvents();
    const QImage codeView = f.main->grab().toImage();

    const QString folder = qEnvironmentVariable("KAVEL_WINDOW_SHOTS");
    if (!folder.isEmpty()) {
      QDir().mkpath(folder);
      QVERIFY(window.save(folder + "/main_" + suffix + ".png"));
      QVERIFY(popup.save(folder + "/popup_" + suffix + ".png"));
      QVERIFY(codeView.save(folder + "/code_view_" + suffix + ".png"));
    }
  }
};

QTEST_MAIN(WindowPictures)
#include "window_pictures_test.moc"
