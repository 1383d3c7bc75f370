#pragma once
// The application's frame window: menus, tool bar, status bar, the side panel with the
// statement palette, the MDI area the program windows live in, and the commands New, Open,
// Save, Print, the editing styles, window arrangement, options and folders. The services the
// windows share belong to its Workbench; no window calls the main window.

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/model/ProgramFile.h"
#include "core/model/ProgramFileCheck.h"
#include "core/model/RowText.h"
#include "core/shell/UserPaths.h"
#include "core/shell/RecentFiles.h"
#include "core/shell/RecoveryFile.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QToolBar;
class QToolButton;

namespace kavel::gui {

class AutoSave;
class DialogSet;
class Glyphs;
class Palette;
class ProgramWindows;
class Prompts;
class SettingsKeeper;
class SidePanel;
class TfrmBuild;
class TfrmDownLoad;
class ModuleWindows;
class TfrmMoni;
class TfrmHelp;
class TfrmLanguage;
class TfrmMotBal;
class TfrmMsgBox;
class TfrmSetup;
class TfrmProg;
class Workbench;

struct MainOptions {
  std::string programFolder;        // the folder of the binary, ending with "/"
  std::string iniPath;              // the settings file
  // The folders of this run as decided at start; when its data folder is empty, programFolder
  // and iniPath say everything (a program folder that holds all, as in tests).
  UserPaths paths;
  std::string fileArgument;         // a program file named on the command line
  Prompts* prompts = nullptr;       // null: real message boxes and dialogs
};

class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  /// Creation: picks the variant, resets the setup, loads the settings and both message files,
  /// asks for the language on the first run, builds menus, tool bar, side panel and status bar.
  TfrmMain(Context& ctx, const MainOptions& options, QWidget* parent = nullptr);
  ~TfrmMain() override;

  /// First activation (runs once, at the first show): opens the Main program window, enters the
  /// editing style and reads a program file named on the command line.
  void FormActivate();

  // --- parts ---------------------------------------------------------------------------------
  Context& context() { return ctx_; }
  Workbench& workbench() { return *bench_; }
  Prompts& prompts() { return *prompts_; }
  DialogSet& dialogs();
  const Glyphs& glyphs() const;
  Palette* pnlButton() const;
  TfrmMsgBox* frmMsgBox() const { return msgBox_; }
  TfrmHelp* frmHelp() const { return help_; }
  TfrmDownLoad* frmDownLoad() const { return downLoad_; }
  TfrmMoni* frmMoni() const { return moni_; }
  ModuleWindows* moduleWindows() const { return modules_; }
  TfrmLanguage* frmLanguage() const { return language_; }
  TfrmMotBal* frmMotBal() const { return motBal_; }
  TfrmBuild* frmBuild() const;
  TfrmSetup* frmSetup() const { return setup_; }
  SidePanel* sidePanel() const { return sidePanel_; }
  QMdiArea* mdiArea() const { return mdi_; }
  /// Text of status panel 0, 1 or 2.
  QString panelText(int panel) const;
  QAction* action(const QString& objectName) const;
  QToolButton* toolButton(const QString& objectName) const;
  QString userPathText() const;

  // --- the workbench's program windows, for the commands and for tests -----------------------
  TfrmProg* prog(int number) const;
  QMdiSubWindow* subWindow(int number) const;
  /// Captions of the program items of the Window menu, in order.
  QStringList windowMenuItems() const;
  /// Opens (or shows) the window of program `number`; it becomes the current program.
  TfrmProg* openProgramWindow(int number);
  /// Closes a Sub window without asking.
  void closeProgramWindow(int number);
  void disarm();
  bool gridOn() const { return ctx_.options.grid; }
  int paletteWidthIfLeft() const;
  /// Shows the palette buttons by the setup flags, the logo and the tool-bar buttons.
  void refreshPalette();

  // --- commands ------------------------------------------------------------------------------
  /// Undo and Redo of the Edit menu: the current program window's last change of its rows (in
  /// the C-code style the source text's).
  void mmUndoClick();
  void mmRedoClick();
  /// The Edit menu's items name the steps of the current program and are enabled while there
  /// is one.
  void refreshEditMenu();
  void mmNewClick();
  void mmOpenClick();
  /// Saves the current program; false when it was not saved.
  bool mmSaveClick();
  void mmPrintClick();
  void mmKavelClick();
  void mmCodeClick();
  void mmVerticalClick();
  void mmHorizontalClick();
  void mmCascadeClick();
  void mmGridClick();
  void mmDelQueryClick();
  void mmFuncPnlPosClick();
  void mmCodeViewClick();
  void mmSetupButtonClick();
  /// The I/O setup window, placed below the tool bar at the Setup button and shown modally;
  /// OK refreshes the palette and marks Main modified, or renews the C source's header.
  void btnSetupClick();
  /// The C-code library browser beside the current C source: closes it when shown, else opens
  /// it below the tool bar at the CLib button.
  void btnCLibClick();
  void mmJpnClick();
  void mmEngClick();
  void mmSetDefPathClick();
  void mmInitDefPathClick();
  void mmSaveFolderShow();
  void pnlUserPathDblClick();
  void lblProductDblClick();
  void imgProductDblClick();
  void imgLogoDblClick();
  void mmProductImageClick();
  void mmWallpaperClick();
  void mmLogoImageClick();
  void mmWsColorClick();
  /// Build: saves by the build save mode, shows the build window, and hands a successful
  /// build over to Download when "DownLoad" is ticked.
  void mmBuildClick();
  /// Saves the open programs before a build by BuildJob (both editing styles); false stops
  /// the build, with the program that was not saved as the current program.
  bool saveBeforeBuild();
  /// The build-path item: another build batch file.
  void mmBuildPathFolderClick();
  void mmVersionClick();
  void mmLangEditClick();
  /// The communication settings: a fresh dialog; on OK the settings are saved and the port it
  /// opened is closed a second later.
  void mmComClick();
  /// Download: chooses the HEX file (the program's own after a build or with a program file
  /// open, else asked) and hands over to the download window.
  void mmDownLoadClick();
  /// The sensor monitor: searches the board, shows the monitor modally, closes the port after.
  void mmMonitorClick();
  /// Motor balance: opens the port (no board search) and shows the window modally only when it
  /// opened; the port is closed again afterwards.
  void mmMotBalanceClick();
  /// The maintenance gesture of the communication settings window: shows the language editor
  /// item and the message memo.
  void revealMaintenance();
  /// Prints the current program (Main's text in the C-code style) on `printer`, which is set
  /// up already; the number of pages printed.
  int printTo(QPrinter& printer);

  /// Export Picture: asks for a PNG or SVG file and writes the current program's rows into it.
  void mmExportPictureClick();
  /// Writes every row of the current program, as its window paints them, to `path` (PNG or
  /// SVG by the suffix); a failure is told in a message box naming the file and the reason.
  bool exportPictureTo(const QString& path);
  /// Fills the Recent submenu: the last eight program files, newest first; files that are
  /// gone, or belong to the other editing style, are shown disabled.
  void mmRecentShow();
  /// Opens a file of the Recent list as Open does, with Open's question about changes.
  void openRecent(const QString& path);
  const RecentFiles& recentFiles() const { return recent_; }
  /// After a crash or a killed session: offers the recovery copies it left (one question
  /// listing them, damaged ones and those of another format version with their reason).
  /// Restored programs are marked modified and keep their own file for Save.
  void offerRecovery();
  AutoSave* autoSave() const { return autoSave_; }

  /// Opens a program file into the current program (the Open command after its questions).
  /// A file that is no program file changes nothing; one damaged inside is opened only after
  /// the user has read what cannot be, and its program is then marked modified.
  bool openProgramFile(const QString& path);
  /// The same for a path of file-system bytes, which need not be UTF-8.
  bool openProgramFile(const std::string& file);
  /// Opens a C-code file into Main (the Open command in the C-code style).
  bool openCodeFile(const QString& path);
  /// Saves the current program to `path` (the Save command after its file dialog).
  bool saveProgramAs(const QString& path);
  /// The same for a path of file-system bytes, which need not be UTF-8.
  bool saveProgramAs(const std::string& file);

  /// SIGTERM or SIGINT (`signal`): the program ends without asking anybody. Modified programs
  /// are kept as recovery copies (the next start offers them), the serial port is closed, the
  /// settings are saved, and every event loop, a question's included, ends.
  void endOnSignal(int signal);
  /// True once endOnSignal() ran.
  bool ending() const { return ending_; }

  /// The closing questions; true when the window may close.
  bool FormCloseQuery();
  /// What closing does once the questions are answered: settings saved, windows released.
  void FormClose();

  void applyLanguage();
  /// Applies the resizing rule to the current program window.
  void FormResize();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  /// Asks whether to open the rows of a damaged program file that read (`check` says which
  /// line stopped the read and why); false when there are none or the user declines.
  bool confirmDamagedOpen(const ProgramFileCheck& check);
  ProgramWindows& windows();
  /// Follows the modified state of the programs (the Save button).
  void modifiedChanged();
  void setSetupButtonShown(bool shown);
  /// Status panel 0, the message log and the broken-link box follow the serial link.
  void followSerialLink();
  /// A board line for the message log; kept aside while the log is hidden.
  void addMessageLog(const QString& line);
  /// Saves the settings; panel 0 shows the port or "Ini:NG".
  bool saveSettingsNow();
  /// After a command: the settings file is written at once when a setting it holds changed. A
  /// failure shows "Ini:NG" (the reason in its tool tip) and is told once in a message box.
  void keepSettings();
  /// A widget on a tool bar shows and hides through its action too: hiding only the widget is
  /// undone when the tool bar lays out.
  void showToolButton(const char* name, bool shown);
  /// A program window became the current program.
  void programActivated(int number);
  void buildMenus();
  void buildEditMenu();
  void buildToolBar();
  void buildStatusBar();
  void dockSidePanel();
  void loadPictures();
  void applyWallpaper();
  void resetSetupForNew(bool askAllowed);
  void enterStatementStyle();
  void enterCodeStyle();
  void writeCodeSkeleton();
  /// Before the editing style changes: a modified Main is offered for saving (Yes saves, No
  /// lets the changes go, Cancel stops); true when the switch may go on.
  bool mainMayLeaveStyle();
  void setFolder(const std::string& folder);
  std::string defaultHomeFolder() const;
  void setBuildJob(int job);
  QString message(int n) const;
  QString filterFor(bool codeStyle) const;
  bool saveCodeAs(const QString& path);
  bool saveCodeAs(const std::string& file);
  bool codeStyle() const;
  bool saveProgramsBeforeBuild();
  bool saveCodeBeforeBuild();
  /// The build batch file changed: the build-path item shows its folder, the settings are saved.
  void buildPathChanged();
  /// A program file was opened or saved: it goes on top of the Recent list, kept at once.
  void rememberRecent(const std::string& path);
  /// Puts a recovery copy into its program window; false when it could not be read back.
  bool restoreRecovered(const RecoveryFile& file);

  Context& ctx_;
  MainOptions options_;
  std::unique_ptr<Prompts> ownPrompts_;
  Prompts* prompts_ = nullptr;
  std::unique_ptr<Workbench> bench_;
  std::unique_ptr<SettingsKeeper> keeper_;
  bool settingsFailed_ = false;  // the last write of the settings failed (told once)
  bool settingsTold_ = false;    // the start already said that the settings file is not usable
  TfrmMsgBox* msgBox_ = nullptr;
  TfrmHelp* help_ = nullptr;
  TfrmDownLoad* downLoad_ = nullptr;
  TfrmMoni* moni_ = nullptr;
  ModuleWindows* modules_ = nullptr;  // child of moni_
  TfrmLanguage* language_ = nullptr;
  TfrmMotBal* motBal_ = nullptr;
  TfrmSetup* setup_ = nullptr;

  QMdiArea* mdi_ = nullptr;
  SidePanel* sidePanel_ = nullptr;
  QWidget* centre_ = nullptr;
  QLabel* panels_[3] = {};
  QLabel* pnlUserPath_ = nullptr;
  QToolBar* tBar_ = nullptr;
  QMenu* mnuEdit_ = nullptr;
  QMenu* mnuWindow_ = nullptr;
  QMenu* mnuBuildPath_ = nullptr;
  QMenu* mnuSaveFolder_ = nullptr;
  QMenu* mnuEditStyle_ = nullptr;
  QMenu* mnuRecent_ = nullptr;
  RecentFiles recent_;
  AutoSave* autoSave_ = nullptr;
  QAction* mnuEditStyleAction_ = nullptr;
  QImage wallpaper_;
  QStringList hiddenMessages_;  // the message log's lines while it is hidden

  bool activated_ = false;
  bool closing_ = false;
  bool ending_ = false;
  qint64 codeFileTime_ = 0;  // modification time of the C file last opened or saved (ms)
};

}  // namespace kavel::gui
