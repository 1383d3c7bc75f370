#pragma once
// The application's frame window: the program windows as children of an MDI area, the
// statement palette in the side panel, menus, tool bar and status bar, and the commands New,
// Open, Save, Print, the editing styles, window arrangement, options and folders.

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/model/ProgramFile.h"
#include "core/model/RowText.h"

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

class DialogSet;
class Glyphs;
class Palette;
class Prompts;
class SidePanel;
class TfrmComStandIn;
class TfrmHelp;
class TfrmLanguage;
class TfrmMsgBox;
class TfrmProg;

struct MainOptions {
  std::string programFolder;        // the folder of the binary, ending with "/"
  std::string iniPath;              // the settings file
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
  Prompts& prompts() { return *prompts_; }
  DialogSet& dialogs() { return *dialogs_; }
  const Glyphs& glyphs() const { return *glyphs_; }
  Palette* pnlButton() const;
  TfrmMsgBox* frmMsgBox() const { return msgBox_; }
  TfrmHelp* frmHelp() const { return help_; }
  TfrmLanguage* frmLanguage() const { return language_; }
  TfrmComStandIn* frmCom() const { return com_; }
  SidePanel* sidePanel() const { return sidePanel_; }
  QMdiArea* mdiArea() const { return mdi_; }
  TfrmProg* prog(int number) const;
  QMdiSubWindow* subWindow(int number) const;
  /// Text of status panel 0, 1 or 2.
  QString panelText(int panel) const;
  QAction* action(const QString& objectName) const;
  QToolButton* toolButton(const QString& objectName) const;
  /// Captions of the program items of the Window menu, in order.
  QStringList windowMenuItems() const;
  QString userPathText() const;

  // --- services for the program windows ------------------------------------------------------
  void disarm();
  /// Empties the row clipboard and clears the Cut and Copy marks of every window.
  void clearClipboard();
  void clearMarksInAllWindows();
  void updateCursor();
  bool deleteQuery() const;
  bool gridOn() const;
  int paletteWidthIfLeft() const;
  ProgramFileContext fileContext();
  ProgramFileHooks fileHooks(TfrmProg& prog);
  RowTextContext rowTextContext(int programNumber) const;
  /// Follows the modified state of the current program (the Save button).
  void modifiedChanged();
  /// "NewFile-%02d" with the next free number in the current program folder.
  std::string nextNewFileName();
  void setSetupButtonShown(bool shown);
  /// A program window became active.
  void programActivated(int number);
  /// Asks whether a modified Sub window may close (Yes saves it first); true to close.
  bool mayCloseSubWindow(TfrmProg& prog);
  /// Before Sub windows above `number` are closed by a command: each modified one with rows is
  /// offered for saving as on closing (Yes saves, No drops it); false when the user cancels or
  /// a save did not happen, and the command must stop.
  bool offerToSaveSubsAbove(int number);
  /// Opens (or shows) the window of program `number`; it becomes the current program.
  TfrmProg* openProgramWindow(int number);
  /// Closes a Sub window without asking: its rows are cleared and its Window-menu item goes.
  void closeProgramWindow(int number);
  /// Shows the palette buttons by the setup flags, the logo and the tool-bar buttons.
  void refreshPalette();

  // --- commands ------------------------------------------------------------------------------
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
  /// Commands of later versions.
  void notYet(const QString& what);
  void mmVersionClick();
  void mmLangEditClick();
  void mmComClick();
  /// The maintenance gesture of the communication settings window: shows the language editor
  /// item and the message memo.
  void revealMaintenance();
  /// Prints the current program (Main's text in the C-code style) on `printer`, which is set
  /// up already; the number of pages printed.
  int printTo(QPrinter& printer);

  /// Opens a program file into the current program (the Open command after its questions).
  bool openProgramFile(const QString& path);
  /// Opens a C-code file into Main (the Open command in the C-code style).
  bool openCodeFile(const QString& path);
  /// Saves the current program to `path` (the Save command after its file dialog).
  bool saveProgramAs(const QString& path);

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
  void buildMenus();
  void buildToolBar();
  void buildStatusBar();
  void dockSidePanel();
  void loadPictures();
  void applyWallpaper();
  void rebuildWindowMenu();
  void resetSetupForNew(bool askAllowed);
  void enterStatementStyle();
  void enterCodeStyle();
  void writeCodeSkeleton();
  void setFolder(const std::string& folder);
  std::string defaultHomeFolder() const;
  void setBuildJob(int job);
  QString message(int n) const;
  QString filterFor(bool codeStyle) const;
  bool saveCodeAs(const QString& path);
  void markAllClosed();
  bool codeStyle() const;

  Context& ctx_;
  MainOptions options_;
  std::unique_ptr<Prompts> ownPrompts_;
  Prompts* prompts_ = nullptr;
  std::unique_ptr<Glyphs> glyphs_;
  std::unique_ptr<DialogSet> dialogs_;
  TfrmMsgBox* msgBox_ = nullptr;
  TfrmHelp* help_ = nullptr;
  TfrmLanguage* language_ = nullptr;
  TfrmComStandIn* com_ = nullptr;

  QMdiArea* mdi_ = nullptr;
  SidePanel* sidePanel_ = nullptr;
  QWidget* centre_ = nullptr;
  std::array<TfrmProg*, 31> progs_{};
  std::array<QMdiSubWindow*, 31> subs_{};
  QLabel* panels_[3] = {};
  QLabel* pnlUserPath_ = nullptr;
  QToolBar* tBar_ = nullptr;
  QMenu* mnuWindow_ = nullptr;
  QMenu* mnuBuildPath_ = nullptr;
  QMenu* mnuSaveFolder_ = nullptr;
  QMenu* mnuEditStyle_ = nullptr;
  QAction* mnuEditStyleAction_ = nullptr;
  QList<QAction*> windowItems_;
  QImage wallpaper_;

  bool activated_ = false;
  bool closing_ = false;
  int newFileNumber_ = 0;
  qint64 codeFileTime_ = 0;  // modification time of the C file last opened or saved (ms)
};

}  // namespace kavel::gui
