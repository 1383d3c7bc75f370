// kavelide: creates the application, its records and the main window.

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QMessageBox>

#include <exception>

#include "Context.h"
#include "app/TfrmMain.h"
#include "settings/AppSettings.h"
#include "settings/ProductVariant.h"
#include "text/TextFile.h"

namespace {

std::string binaryPath() {
  const QString path = QCoreApplication::applicationFilePath();
  return path.isEmpty() ? std::string("./kavelide") : path.toStdString();
}

// Exceptions must not cross Qt's event dispatch: they are shown and the program goes on.
class KavelApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(nullptr, QStringLiteral("Kavel"), QString::fromUtf8(e.what()));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  KavelApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kavel::kApplicationTitle.data(),
                                                      static_cast<int>(kavel::kApplicationTitle.size())));
  try {
    kavel::Context ctx;
    kavel::gui::MainOptions options;
    const std::string binary = binaryPath();
    options.programFolder = kavel::text::folderOf(binary);
    options.iniPath = kavel::settingsFilePath(binary);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) options.fileArgument = QFileInfo(args.at(1)).absoluteFilePath().toStdString();

    kavel::gui::TfrmMain main(ctx, options);
    // Without a window manager a maximised window keeps its size; start at the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) main.setGeometry(screen->availableGeometry());
    main.showMaximized();
    return QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Kavel"), QString::fromUtf8(e.what()));
    return 1;
  }
}
