#pragma once
// The build window: writes M_Type.h and User.c into the build folder, runs the compile batch
// file of that folder in a QProcess (the search path of the build batch file goes to that
// process only), shows the compiler output and where a compiler error points, and leaves
// User.Hex beside the program. The window stays responsive while the tool chain runs.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "core/Context.h"
#include "core/build/BuildFolderLock.h"
#include "core/build/ToolChainCommand.h"
#include "core/codegen/CodeBuffer.h"
#include "core/codegen/CodeGenerator.h"
#include "core/shell/UserPaths.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProcess;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTimer;
class QWidget;

namespace kavel::gui {

class Prompts;

/// What the window needs from the rest of the program. Every member may be left empty.
struct BuildWindowServices {
  /// The folder of the program, ending with "/": a missing build folder sends BatFile_ back to
  /// the sample folder there. Empty: the folder of the running binary.
  std::string programFolder;
  /// Saves the open programs by the build save mode before anything is generated; false stops
  /// the build (the user declined or a save failed).
  std::function<bool()> saveBeforeBuild;
  /// The build batch file was changed by "Choose build path": the main window shows the new
  /// folder in its menu and saves the settings.
  std::function<void()> buildPathChanged;
  /// Hooks for generating User.c in the statement style (Sub windows opened and closed, read
  /// failures shown); file errors not handled there go to a "File Error" message box.
  CodeGenHooks codeGenHooks;
  /// A compiler error was chosen that row `row` of program `program` produced (0 Main, 1..30
  /// Sub-N; in the C-code style the text line of Main): its program window shows that row.
  std::function<void(int program, int row)> showProgramRow;
};

class TfrmBuild : public QDialog {
  Q_OBJECT

 public:
  TfrmBuild(Context& ctx, Prompts& prompts, BuildWindowServices services = {}, QWidget* parent = nullptr);
  ~TfrmBuild() override;

  /// Takes the current program and the build folder, and resets the window for a new build.
  void FormShow();
  /// The folders of this run: an installed copy builds in the user's copy of the sample build
  /// folder, made on the first build. Unset: everything lies in the program folder.
  void useFolders(const UserPaths& paths) { paths_ = paths; }
  /// Checks the build folder, saves, generates and starts the tool chain. Returns at once; the
  /// result follows when the tool chain has ended (running() turns false).
  void btnBuildClick();
  /// Closes with OK after a successful build (the caption is message 55), otherwise with
  /// Cancel. While the tool chain runs, stops it instead.
  void btnCancelClick();
  /// The error pane line under the caret: caret position in panel 1. For a compiler error in
  /// User.c the build pane scrolls to the line it names and marks it, panel 2 shows the number
  /// that line shows, and the program window of the row that produced the line shows the row.
  void ShowErrorPosition();
  /// The build pane's marked line (from 0), -1 when none.
  int markedLine() const { return markedLine_; }
  /// Enables "DownLoad" the first time; then switches the error pane between M_Type.h and
  /// err.txt.
  void sBarDblClick();
  /// The Build Path dialog: a build batch file becomes BatFile_. False when cancelled.
  bool ChooseBuildPath();

  /// Closes with Cancel; while the tool chain runs, stops it (and everything it started)
  /// and keeps the window open to show what it wrote; while the build waits for its folder,
  /// stops waiting.
  void reject() override;

  /// True while the build waits for its folder, the tool chain runs or the progress bar is
  /// finishing.
  bool running() const { return phase_ != Phase::Idle; }
  /// True while another build holds the build folder and this one waits for it.
  bool waitingForFolder() const { return phase_ == Phase::Waiting; }
  /// How long a build waits for another build to leave the folder (tests shorten it).
  void setFolderWait(int milliseconds) { folderWaitMs_ = milliseconds; }
  /// 1 after a successful build, 0 otherwise; the download reads it, the Build command resets it.
  int BuildResult = 0;

  QWidget* pnlTop;
  QPushButton* btnBuild;
  QPushButton* btnCancel;
  QCheckBox* ckDownLoad;
  QCheckBox* ckPwrOnRun;
  QLabel* pnlFileName;
  QProgressBar* pBar;
  QSplitter* Splitter1;
  QPlainTextEdit* memoBuild;
  QPlainTextEdit* memoErr;
  QStatusBar* sBar;
  QLabel* sBarPanel1;
  QLabel* sBarPanel2;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Phase { Idle, Waiting, Running, Finishing };

  void holdFolderAndBuild();
  void stopWaiting();
  bool generate();
  void startToolChain();
  void progressTick();
  void toolChainEnded();
  void finishRun();
  void showFile(const std::string& path);
  void growWindow();
  /// Marks the build pane's line `paneLine` and scrolls it into the middle; -1 clears the mark.
  void markLine(int paneLine);
  void setBusy(bool busy);

  Context& ctx_;
  UserPaths paths_;
  Prompts& prompts_;
  BuildWindowServices services_;
  QProcess* process_ = nullptr;
  QTimer* progress_;
  QTimer* folderWait_;
  BuildFolderLock lock_;
  qint64 waitStarted_ = 0;
  int folderWaitMs_ = kBuildFolderWaitSeconds * 1000;
  Phase phase_ = Phase::Idle;
  bool started_ = false;
  bool stopped_ = false;
  std::string programPath_;
  std::string buildFolder_;
  std::string batchName_;
  int statusTag_ = 0;
  // What the build pane shows and which row made each of its lines, for the error clicks.
  std::vector<std::string> paneLines_;
  std::vector<LineOrigin> paneOrigins_;
  int markedLine_ = -1;
};

}  // namespace kavel::gui
