// kavelide: creates the application, its records and the main window.

#include <QApplication>
#include <QScreen>
#include <QMessageBox>

#include <QSocketNotifier>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <exception>
#include <iostream>
#include <string>
#include <vector>
#include <sys/socket.h>
#include <unistd.h>

#include "core/Context.h"
#include "gui/app/PlatformStart.h"
#include "gui/app/TfrmMain.h"
#include "core/settings/AppSettings.h"
#include "core/settings/ProductVariant.h"
#include "core/shell/IdeCommandLine.h"
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

// SIGTERM and SIGINT (a session ending, Ctrl+C in a terminal) end the program even while a
// question waits for an answer nobody will give. The handler only writes the signal's number
// to a socket and gives the signal back its default action, so that a second one ends the
// process at once; the event loop, whichever one runs, does the rest.
int signalPair[2] = {-1, -1};
kavel::gui::TfrmMain* mainWindow = nullptr;
int pendingSignal = 0;

void onSignal(int signal) {
  const char c = static_cast<char>(signal);
  [[maybe_unused]] const auto n = ::write(signalPair[0], &c, 1);
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
}

void catchEndSignals() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPair) != 0) return;
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

void listenForEndSignals(QApplication& app) {
  if (signalPair[1] < 0) return;
  auto* notifier = new QSocketNotifier(signalPair[1], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
    char c = 0;
    if (::read(signalPair[1], &c, 1) != 1) return;
    if (mainWindow) {
      mainWindow->endOnSignal(static_cast<int>(c));
    } else {
      // Still starting: whatever waits for the user gives up, and main() ends the start.
      pendingSignal = static_cast<int>(c);
      QCoreApplication::exit(0);
    }
  });
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
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  switch (kavel::ideAction(args)) {
    case kavel::IdeAction::Help:
      std::cout << kavel::ideUsageText();
      return 0;
    case kavel::IdeAction::Version:
      std::cout << kavel::ideVersionText();
      return 0;
    case kavel::IdeAction::Run:
      break;
  }
  const kavel::DisplayInputs display = kavel::gui::displayInputsOf(args);
  if (const std::string missing = kavel::missingDisplayText(display); !missing.empty()) {
    std::cerr << missing;
    return 1;
  }
  catchEndSignals();

  kavel::gui::holdPlatformMessages(display);
  KavelApplication app(argc, argv);
  kavel::gui::releasePlatformMessages();
  QApplication::setApplicationName(QString::fromUtf8(kavel::kApplicationTitle.data(),
                                                      static_cast<int>(kavel::kApplicationTitle.size())));
  listenForEndSignals(app);
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
    // A signal during the start (the first-run language question, a warning about the
    // folders) ends it before anything was done that could be lost.
    if (pendingSignal != 0) return 0;
    mainWindow = &main;
    // Without a window manager a maximised window keeps its size; start at the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) main.setGeometry(screen->availableGeometry());
    main.showMaximized();
    // The first show asks questions of its own (a file named on the command line, crash
    // recovery); a signal then has ended the program already.
    const int code = main.ending() ? 0 : QApplication::exec();
    mainWindow = nullptr;
    return code;
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Kavel"), QString::fromUtf8(e.what()));
    return 1;
  }
}
