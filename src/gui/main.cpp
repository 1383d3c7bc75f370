// kavelide: creates the application, its records and the main window.

#include <QApplication>
#include <QScreen>
#include <QMessageBox>

#include <QSocketNotifier>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <exception>
#include <sys/socket.h>
#include <unistd.h>

#include "core/Context.h"
#include "gui/app/TfrmMain.h"
#include "core/settings/AppSettings.h"
#include "core/settings/ProductVariant.h"
#include "core/shell/UserPaths.h"

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

// SIGTERM and SIGINT (a session ending, Ctrl+C in a terminal) close the main window the normal
// way, with its questions and the settings saved. The handler only writes to a socket; the
// event loop does the rest.
int signalPair[2] = {-1, -1};

void onSignal(int) {
  const char c = 1;
  [[maybe_unused]] const auto n = ::write(signalPair[0], &c, 1);
}

void closeOnSignals(QWidget& window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPair) != 0) return;
  auto* notifier = new QSocketNotifier(signalPair[1], QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
    char c;
    [[maybe_unused]] const auto n = ::read(signalPair[1], &c, 1);
    window.close();
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

// The program file named on the command line, made absolute, as the bytes the system gave: a
// name that is no UTF-8 would not survive a trip through QString. QApplication has taken its
// own options out of argv by now; a "--" lets a file name start with "-".
std::string fileArgument(int argc, char** argv) {
  int at = 1;
  if (at < argc && std::strcmp(argv[at], "--") == 0) ++at;
  if (at >= argc || argv[at][0] == '\0') return {};
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(argv[at], ec);
  return ec ? std::string(argv[at]) : absolute.lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
  KavelApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kavel::kApplicationTitle.data(),
                                                      static_cast<int>(kavel::kApplicationTitle.size())));
  try {
    kavel::Context ctx;
    kavel::gui::MainOptions options;
    const std::string binary = binaryPath();
    // Beside the binary, or per user when the program is installed or its folder read-only.
    options.paths = kavel::decideUserPaths(kavel::probePathInputs(binary));
    kavel::prepareUserFolders(options.paths,
                              kavel::variantInfo(kavel::variantFromTitle(kavel::kApplicationTitle)).userFolder);
    options.fileArgument = fileArgument(argc, argv);

    kavel::gui::TfrmMain main(ctx, options);
    // Without a window manager a maximised window keeps its size; start at the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) main.setGeometry(screen->availableGeometry());
    closeOnSignals(main);
    main.showMaximized();
    return QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Kavel"), QString::fromUtf8(e.what()));
    return 1;
  }
}
