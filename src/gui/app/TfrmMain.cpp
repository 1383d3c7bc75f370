#include "gui/app/TfrmMain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QFileInfo>
#include <QStatusBar>
#include <QTimer>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <csignal>
#include <iostream>

#include "gui/app/AutoSave.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/Glyphs.h"
#include "gui/app/JpegImage.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/SettingsKeeper.h"
#include "gui/app/SidePanel.h"
#include "core/comm/SerialOpenError.h"
#include "gui/comm/SerialLink.h"
#include "gui/comm/TfrmCom.h"
#include "gui/comm/TfrmDownLoad.h"
#include "gui/monitor/ModuleWindows.h"
#include "gui/monitor/TfrmMoni.h"
#include "gui/monitor/TfrmMotBal.h"
#include "gui/app/TfrmHelp.h"
#include "gui/app/TfrmLanguage.h"
#include "gui/app/TfrmMsgBox.h"
#include "gui/app/Workbench.h"
#include "gui/setup/TfrmSetup.h"
#include "gui/build/TfrmBuild.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/editor/Palette.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"
#include "core/model/ProgramFileCheck.h"
#include "core/model/ProgramSet.h"
#include "core/model/StatementKind.h"
#include "core/settings/ProductVariant.h"
#include "core/setup/OptionFlags.h"
#include "core/comm/PortList.h"
#include "core/comm/StaleImage.h"
#include "core/shell/StartUp.h"
#include "core/setup/SetupCodec.h"
#include "core/shell/ShellTexts.h"
#include "core/shell/WindowSizing.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel::gui {
namespace {

constexpr const char* kMessageProperty = "message";
// The message log keeps the last lines the board sent, as many as the download window's log.
constexpr int kMessageLogLines = 2000;

}  // namespace

// --- creation -----------------------------------------------------------------------------------

TfrmMain::TfrmMain(Context& ctx, const MainOptions& options, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), options_(options) {
  setObjectName("frmMain");
  if (options_.prompts) {
    prompts_ = options_.prompts;
  } else {
    ownPrompts_ = std::make_unique<Prompts>();
    prompts_ = ownPrompts_.get();
  }
  if (!options_.paths.dataFolder.empty()) {
    options_.programFolder = options_.paths.dataFolder;
    options_.iniPath = options_.paths.settingsFile;
  }
  if (options_.programFolder.empty()) options_.programFolder = "./";
  if (options_.programFolder.back() != '/') options_.programFolder += '/';
  UserPaths paths = options_.paths;
  paths.dataFolder = options_.programFolder;
  paths.settingsFile = options_.iniPath;

  resize(800, 600);
  AppSettings& s = ctx_.settings;
  const ProductVariant variant = variantFromTitle(kApplicationTitle);
  setWindowTitle(qs(mainWindowTitle()));

  std::string settingsError;
  options_.paths = paths;
  startSession(ctx_, variant, paths, &settingsError);
  // Without a port in the settings the first one of this machine serves, if there is one.
  if (s.PortName.empty()) s.PortName = defaultPortName(listSerialPorts());
  // From here on the file holds what was read; every change of it is written at once.
  keeper_ = std::make_unique<SettingsKeeper>(ctx_, options_.iniPath);
  // A missing home folder or a settings file that cannot be read: say so once, go on with defaults.
  std::string startWarning = paths.problem;
  if (!settingsError.empty()) startWarning += (startWarning.empty() ? "" : "\n\n") + settingsError;
  if (!startWarning.empty()) {
    settingsTold_ = true;
    prompts_->ask(this, PromptIcon::Warning, qs(std::string(kApplicationTitle)), qs(startWarning), PromptButtons::Ok);
  }
  bool languageJustChosen = false;
  if (!languageChosen(s)) {
    prompts_->chooseLanguage(this, ctx_);
    languageJustChosen = languageChosen(s);
    settleLanguage(s);
  }
  ctx_.messages.setLanguage(s.LANG_NO_);

  bench_ = std::make_unique<Workbench>(ctx_, *prompts_, qs(options_.programFolder), this);
  bench_->frmBuild().useFolders(options_.paths);
  msgBox_ = new TfrmMsgBox(ctx_, this);
  help_ = new TfrmHelp(ctx_, this);
  language_ = new TfrmLanguage(ctx_, this);
  setup_ = new TfrmSetup(ctx_, *prompts_, *msgBox_, this);

  centre_ = new QWidget(this);
  auto* row = new QHBoxLayout(centre_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  sidePanel_ = new SidePanel(bench_->glyphs(), centre_);
  mdi_ = new QMdiArea(centre_);
  mdi_->setObjectName("mdiArea");
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  row->addWidget(sidePanel_);
  row->addWidget(mdi_, 1);
  setCentralWidget(centre_);

  buildMenus();
  buildToolBar();
  buildStatusBar();

  sidePanel_->lblProduct()->setText(QString::fromUtf8(variantInfo(s.variant).productLabel));
  connect(sidePanel_->lblProduct(), &ClickLabel::doubleClicked, this, &TfrmMain::lblProductDblClick);
  connect(sidePanel_->imgProduct(), &ClickLabel::doubleClicked, this, &TfrmMain::imgProductDblClick);
  connect(sidePanel_->imgLogo(), &ClickLabel::doubleClicked, this, &TfrmMain::imgLogoDblClick);
  bench_->setPalette(pnlButton());
  windows().attach(mdi_, mnuWindow_);
  windows().setSaveCommand([this] { return mmSaveClick(); });
  connect(bench_.get(), &Workbench::programModified, this, [this](int) { modifiedChanged(); });
  connect(bench_.get(), &Workbench::currentChanged, this, &TfrmMain::programActivated);
  connect(bench_.get(), &Workbench::setupButtonRequested, this, &TfrmMain::setSetupButtonShown);
  connect(bench_.get(), &Workbench::buildPathChanged, this, &TfrmMain::buildPathChanged);
  recent_.loadFrom(options_.iniPath);
  autoSave_ = new AutoSave(*bench_, ctx_, options_.iniPath, this);
  followSerialLink();
  downLoad_ = new TfrmDownLoad(ctx_, bench_->link(), *prompts_, this);
  connect(downLoad_, &TfrmDownLoad::mainStatus, this, [this](const QString& text) { panels_[0]->setText(text); });
  connect(downLoad_, &TfrmDownLoad::hexFolderChosen, this, [this](const QString& folder) { pnlUserPath_->setText(folder); });
  motBal_ = new TfrmMotBal(ctx_, bench_->link(), *prompts_, this);
  motBal_->setMotorIcon(glyphs().forKind(kMotorForward));
  connect(downLoad_, &TfrmDownLoad::comSettingsRequested, this, [this](bool* accepted) {
    TfrmCom com(ctx_, bench_->link(), *prompts_, downLoad_);
    connect(&com, &TfrmCom::maintenanceRequested, this, &TfrmMain::revealMaintenance);
    prompts_->showModal(com);
    *accepted = com.result() == QDialog::Accepted;
    if (*accepted) saveSettingsNow();
  });

  moni_ = new TfrmMoni(ctx_, *bench_, qs(options_.programFolder), this);
  modules_ = new ModuleWindows(ctx_, *bench_, *moni_);
  moni_->setModuleHooks(modules_->hooks());

  dockSidePanel();
  loadPictures();

  ctx_.clipboard.clear();
  ctx_.edit = EditBuffer{};
  pnlButton()->release();

  ctx_.options = EditorOptions{};
  action("mmGrid")->setChecked(ctx_.options.grid);
  action("mmLineNo")->setChecked(ctx_.options.lineNumbers);
  action("mmDelQuery")->setChecked(ctx_.options.deleteQuery);

  const bool setupOption = setupOptionAtStart(s);
  action("mmSetupButton")->setChecked(setupOption);
  setSetupButtonShown(setupOption);
  mnuEditStyleAction_->setVisible(setupOption);
  ctx_.io.useLcd = lcdByVariant(s.variant);

  action("mmBuildPathFolder")->setText(qs(text::folderOf(s.BatFile_)));
  action(s.LANG_NO_ != 0 ? "mmEng" : "mmJpn")->setChecked(true);
  setBuildJob(s.BuildJob);
  applyLanguage();
  refreshPalette();
  setFolder(s.DatPath_);

  // The user folder is where programs go; make it exist so the file dialogs can open there. A
  // per-user run made its folders at start, privately, and never writes into the program folder.
  if (!options_.paths.perUser && !s.DatPath_.empty() && s.DatPath_ == defaultHomeFolder()) {
    QDir().mkpath(qs(s.DatPath_));
  }
  // The first run's choice is kept at once, not only when the program closes.
  if (languageJustChosen) keepSettings();
}

TfrmMain::~TfrmMain() {
  // The program windows go before the workbench and the widgets they use.
  windows().releaseAll();
}

void TfrmMain::buildMenus() {
  QMenuBar* bar = menuBar();
  const auto menu = [&](QMenu* parentMenu, const char* name, int message, const QString& caption = {}) {
    QMenu* m = parentMenu ? parentMenu->addMenu(caption) : bar->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(QString::fromLatin1(name) + "Item");
    m->menuAction()->setProperty(kMessageProperty, message);
    return m;
  };
  const auto item = [&](QMenu* m, const char* name, int message, auto handler, const QString& caption = {},
                        const QKeySequence& keys = {}) {
    QAction* a = m->addAction(caption);
    a->setObjectName(name);
    a->setProperty(kMessageProperty, message);
    if (!keys.isEmpty()) a->setShortcut(keys);
    connect(a, &QAction::triggered, this, handler);
    connect(a, &QAction::triggered, this, &TfrmMain::keepSettings);
    return a;
  };
  const auto check = [](QAction* a) {
    a->setCheckable(true);
    return a;
  };

  QMenu* file = menu(nullptr, "mnuFile", 1, "File (&F)");
  item(file, "mmNew", 2, [this] { mmNewClick(); }, {}, QKeySequence::New);
  item(file, "mmOpen", 3, [this] { mmOpenClick(); }, {}, QKeySequence::Open);
  item(file, "mmSave", 4, [this] { mmSaveClick(); }, {}, QKeySequence::Save);
  item(file, "mmPrint", 5, [this] { mmPrintClick(); }, {}, QKeySequence::Print);
  item(file, "mmExportPicture", 100, [this] { mmExportPictureClick(); });
  mnuRecent_ = menu(file, "mmRecent", 101);
  connect(mnuRecent_, &QMenu::aboutToShow, this, &TfrmMain::mmRecentShow);
  file->addSeparator();
  item(file, "mmQuit", 6, [this] { close(); }, {}, QKeySequence(Qt::CTRL | Qt::Key_Q));
  buildEditMenu();

  QMenu* project = menu(nullptr, "mnuProject", 8, "Project (&P)");
  mnuEditStyle_ = menu(project, "mmEditStyle", 9);
  mnuEditStyleAction_ = mnuEditStyle_->menuAction();
  auto* styles = new QActionGroup(this);
  styles->addAction(check(item(mnuEditStyle_, "mmKavel", 0, [this] { mmKavelClick(); }, "Kavel")));
  styles->addAction(check(item(mnuEditStyle_, "mmCode", 0, [this] { mmCodeClick(); }, "C-Code")));
  item(project, "mmBuild", 10, [this] { mmBuildClick(); });
  item(project, "mmDownLoad", 11, [this] { mmDownLoadClick(); });
  item(project, "mmCom", 12, [this] { mmComClick(); });
  mnuBuildPath_ = menu(project, "mmBuildPath", 13);
  item(mnuBuildPath_, "mmBuildPathFolder", 0, [this] { mmBuildPathFolderClick(); });
  QMenu* job = menu(project, "mmBuildJob", 15);
  auto* jobs = new QActionGroup(this);
  jobs->addAction(check(item(job, "mmBuildOverWrite", 16, [this] { setBuildJob(0); })));
  jobs->addAction(check(item(job, "mmBuildConfirm", 17, [this] { setBuildJob(1); })));
  jobs->addAction(check(item(job, "mmBuildHistory", 18, [this] { setBuildJob(2); })));
  mnuSaveFolder_ = menu(project, "mmSaveFolder", 14);
  item(mnuSaveFolder_, "mmSetDefPath", 0, [this] { mmSetDefPathClick(); });
  item(mnuSaveFolder_, "mmInitDefPath", 0, [this] { mmInitDefPathClick(); });
  connect(mnuSaveFolder_, &QMenu::aboutToShow, this, &TfrmMain::mmSaveFolderShow);

  mnuWindow_ = menu(nullptr, "mnuWindow", 21, "Window (&W)");
  item(mnuWindow_, "mmVertical", 22, [this] { mmVerticalClick(); });
  item(mnuWindow_, "mmHorizontal", 23, [this] { mmHorizontalClick(); });
  item(mnuWindow_, "mmCascade", 24, [this] { mmCascadeClick(); });
  mnuWindow_->addSeparator();

  QMenu* option = menu(nullptr, "mnuOption", 25, "Option (&O)");
  item(option, "mmMonitor", 26, [this] { mmMonitorClick(); });
  check(item(option, "mmGrid", 27, [this] { mmGridClick(); }));
  check(item(option, "mmLineNo", 0, [] {}, QString::fromUtf8("\u884c\u756a\u53f7\u3092\u8868\u793a (&N)")))->setVisible(false);
  check(item(option, "mmDelQuery", 28, [this] { mmDelQueryClick(); }));
  check(item(option, "mmFuncPnlPos", 29, [this] { mmFuncPnlPosClick(); }));
  item(option, "mmCodeView", 30, [this] { mmCodeViewClick(); });
  check(item(option, "mmSetupButton", 31, [this] { mmSetupButtonClick(); }));
  item(option, "mmMotBalance", 32, [this] { mmMotBalanceClick(); });
  option->addSeparator();
  auto* languages = new QActionGroup(this);
  languages->addAction(check(item(option, "mmJpn", 33, [this] { mmJpnClick(); })));
  languages->addAction(check(item(option, "mmEng", 0, [this] { mmEngClick(); }, "English (&E)")));
  item(option, "mmLangEdit", 34, [this] { mmLangEditClick(); })->setVisible(false);
  for (const auto& [name, caption] : {std::pair{"mmProductImage", "ProductImage"}, std::pair{"mmWallpaper", "Wallpaper"},
                                      std::pair{"mmLogoImage", "Logo Image"}, std::pair{"mmWsColor", "WorkspaceColor"}}) {
    QAction* a = item(option, name, 0, [] {}, QString::fromLatin1(caption));
    a->setVisible(false);
  }
  connect(action("mmProductImage"), &QAction::triggered, this, &TfrmMain::mmProductImageClick);
  connect(action("mmWallpaper"), &QAction::triggered, this, &TfrmMain::mmWallpaperClick);
  connect(action("mmLogoImage"), &QAction::triggered, this, &TfrmMain::mmLogoImageClick);
  connect(action("mmWsColor"), &QAction::triggered, this, &TfrmMain::mmWsColorClick);

  // Items made while the program runs (the Recent files, the program windows) count as well.
  connect(bar, &QMenuBar::triggered, this, &TfrmMain::keepSettings);

  QMenu* help = menu(nullptr, "mnuHelp", 0, "Help (&H)");
  item(help, "mmVersion", 0, [this] { mmVersionClick(); }, "&Version Info");
}

void TfrmMain::buildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Tools"));
  tBar_ = bar;
  bar->setObjectName("tBar");
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  bar->setIconSize(QSize(24, 24));
  const auto button = [&](const char* name, int message, QStyle::StandardPixmap icon, auto handler) {
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setProperty(kMessageProperty, message);
    b->setIcon(style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setMinimumWidth(64);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QToolButton::clicked, this, handler);
    connect(b, &QToolButton::clicked, this, &TfrmMain::keepSettings);
    bar->addWidget(b);
    return b;
  };
  button("btnNew", 47, QStyle::SP_FileIcon, [this] { mmNewClick(); });
  button("btnOpen", 48, QStyle::SP_DialogOpenButton, [this] { mmOpenClick(); });
  button("btnSave", 49, QStyle::SP_DialogSaveButton, [this] { mmSaveClick(); });
  bar->addSeparator();
  button("btnBuild", 50, QStyle::SP_MediaPlay, [this] { mmBuildClick(); });
  button("btnDownLoad", 51, QStyle::SP_ArrowDown, [this] { mmDownLoadClick(); });
  button("btnMonitor", 52, QStyle::SP_ComputerIcon, [this] { mmMonitorClick(); });
  bar->addSeparator();

  auto* path = new ClickLabel(bar);
  path->setObjectName("pnlUserPath");
  path->setFrameShape(QFrame::StyledPanel);
  path->setFrameShadow(QFrame::Sunken);
  path->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  path->setMinimumWidth(120);
  path->setTextInteractionFlags(Qt::NoTextInteraction);
  path->setContentsMargins(6, 0, 6, 0);
  connect(path, &ClickLabel::doubleClicked, this, &TfrmMain::pnlUserPathDblClick);
  pnlUserPath_ = path;
  bar->addWidget(path);

  QToolButton* lib = button("btnCLib", 0, QStyle::SP_FileDialogContentsView,
                            [this] { btnCLibClick(); });
  lib->setText(QStringLiteral("C-Lib"));
  lib->setIcon(bench_->glyphs().forKind(kCCode));
  QToolButton* setup = button("btnSetup", 0, QStyle::SP_FileDialogDetailedView,
                              [this] { btnSetupClick(); });
  setup->setText(QStringLiteral("Setup"));
  setup->setIcon(bench_->glyphs().forKind(kSetup));
  showToolButton("btnCLib", false);
}

void TfrmMain::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("sBar");
  const int widths[3] = {70, 50, 50};
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(bar);
    panels_[i]->setMinimumWidth(widths[i]);
    panels_[i]->setContentsMargins(4, 0, 4, 0);
    bar->addWidget(panels_[i], i == 2 ? 1 : 0);
  }
}

// --- parts --------------------------------------------------------------------------------------

Palette* TfrmMain::pnlButton() const { return sidePanel_ ? sidePanel_->palette() : nullptr; }

QString TfrmMain::panelText(int panel) const { return panel >= 0 && panel < 3 ? panels_[panel]->text() : QString(); }

QAction* TfrmMain::action(const QString& objectName) const {
  // Only the main window's own menus: the windows it owns have items of the same names.
  if (QAction* a = menuBar()->findChild<QAction*>(objectName)) return a;
  for (QMenu* m : menuBar()->findChildren<QMenu*>()) {
    if (m->menuAction()->objectName() == objectName) return m->menuAction();
  }
  return nullptr;
}

QToolButton* TfrmMain::toolButton(const QString& objectName) const {
  return tBar_->findChild<QToolButton*>(objectName);
}

QString TfrmMain::userPathText() const { return pnlUserPath_->text(); }

QString TfrmMain::message(int n) const { return qs(ctx_.messages(n)); }

bool TfrmMain::codeStyle() const { return ctx_.settings.EdtStyle != 0; }

// --- start, activation, closing -----------------------------------------------------------------

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  FormActivate();
}

void TfrmMain::FormActivate() {
  if (activated_) return;
  activated_ = true;
  windows().markAllClosed();
  setWindowState(windowState() | Qt::WindowMaximized);
  openProgramWindow(0);
  if (codeStyle()) {
    enterCodeStyle();
  } else {
    mnuEditStyleAction_->setVisible(ctx_.io.advancedMode);
    enterStatementStyle();
  }
  applyWallpaper();
  sidePanel_->memoMsg()->clear();
  sidePanel_->memoMsg()->hide();
  hiddenMessages_.clear();

  if (!options_.fileArgument.empty()) {
    windows().clearClipboard();
    TfrmProg* main = prog(0);
    main->scrollToTopLeft();
    const QString path = qs(options_.fileArgument);
    bool read = false;
    if (codeStyle()) {
      read = openCodeFile(path);
    } else {
      const ProgramFileCheck check = checkProgramFile(options_.fileArgument, bench_->fileContext());
      const bool damaged = check.verdict == ProgramFileCheck::Verdict::Damaged;
      if (check.verdict == ProgramFileCheck::Verdict::NotProgram) {
        prompts_->ask(this, PromptIcon::Warning, message(44), qs(check.reason), PromptButtons::Ok);
      } else if (!damaged || confirmDamagedOpen(check)) {
        // The file's own bytes: a name that is no UTF-8 would not survive a trip through Qt.
        read = main->readFile(options_.fileArgument, false) || damaged;
      }
      // Opened from the command line the program counts as saved, even when it was converted;
      // one that did not read whole is not what its file holds.
      if (!damaged || !read) main->setModified(false);
    }
    if (read) {
      setFolder(text::folderOf(ctx_.programs.main().path.empty() ? options_.fileArgument : ctx_.programs.main().path));
      QDir::setCurrent(qs(ctx_.settings.DatPath_));
      rememberRecent(ctx_.programs.main().path.empty() ? options_.fileArgument : ctx_.programs.main().path);
    }
    refreshPalette();
  }
  offerRecovery();
}

bool TfrmMain::FormCloseQuery() {
  for (int n = 0; n < ProgramSet::kPrograms; ++n) {
    TfrmProg* p = prog(n);
    if (!p || p->rowCount() == 0 || !p->program().modified) continue;
    const QString text =
        qs(closeQuestionText(p->program().caption(), ctx_.messages(41), ctx_.messages.language()));
    const Answer a = prompts_->ask(this, PromptIcon::Question, message(44), text, PromptButtons::YesNoCancel);
    if (a == Answer::Yes) {
      mdi_->setActiveSubWindow(subWindow(n));
      windows().activate(n);
      mmSaveClick();
      if (p->program().modified) return false;  // the save dialog was cancelled
    } else if (a != Answer::No) {
      mdi_->setActiveSubWindow(subWindow(n));
      windows().activate(n);
      return false;
    }
  }
  return true;
}

void TfrmMain::FormClose() {
  closing_ = true;
  hide();
  // Every change was saved or knowingly discarded: nothing is left to recover.
  autoSave_->closeNormally();
  bench_->link().ClosePort();
  saveSettingsNow();
  ctx_.clipboard.clear();
  for (int n = ProgramSet::kPrograms - 1; n >= 1; --n) closeProgramWindow(n);
  if (TfrmProg* main = prog(0)) {
    main->clearRows();
    main->program().modified = false;
  }
}

void TfrmMain::endOnSignal(int signal) {
  if (ending_) return;
  ending_ = true;
  closing_ = true;  // from now on the window closes without its questions
  // Nobody is there to answer the closing questions: what is not saved is kept as a recovery
  // copy, and the copies stay for the next start instead of going as on a normal close.
  autoSave_->saveNow();
  int kept = 0;
  for (int n = 0; n < ProgramSet::kPrograms; ++n) {
    if (TfrmProg* p = prog(n); p && p->program().modified) ++kept;
  }
  const char* name = signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
  if (!autoSave_->lastError().empty()) {
    std::cerr << "kavelide: ended by " << name << "; a changed program could not be kept: " << autoSave_->lastError()
              << "\n";
  } else if (kept > 0) {
    std::cerr << "kavelide: ended by " << name << "; " << kept << (kept == 1 ? " changed program is" : " changed programs are")
              << " kept in " << autoSave_->folder().folder() << " and offered at the next start\n";
  }
  hide();
  bench_->link().ClosePort();
  saveSettingsNow();
  QCoreApplication::exit(0);
  // A loop that starts after this one (the main loop, still to come during the start) ends too.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  applyWallpaper();
  FormResize();
}

void TfrmMain::FormResize() {
  if (!isVisible()) return;
  QMdiSubWindow* sub = subWindow(ctx_.programs.current);
  if (!sub || sub->isMinimized() || sub->isMaximized()) return;
  const WindowSize now{sub->width(), sub->height()};
  const WindowSize next = resizedProgramWindow(mdi_->viewport()->width(), mdi_->viewport()->height(), now);
  if (!(next == now)) sub->resize(next.width, next.height);
}

// --- language -----------------------------------------------------------------------------------

void TfrmMain::applyLanguage() {
  ctx_.settings.LANG_NO_ = action("mmJpn")->isChecked() ? 0 : 1;
  ctx_.messages.setLanguage(ctx_.settings.LANG_NO_);
  for (QAction* a : menuBar()->findChildren<QAction*>()) {
    const int n = a->property(kMessageProperty).toInt();
    if (n > 0) a->setText(message(n));
  }
  for (QMenu* m : menuBar()->findChildren<QMenu*>()) {
    const int n = m->menuAction()->property(kMessageProperty).toInt();
    if (n > 0) m->setTitle(message(n));
  }
  for (QToolButton* b : tBar_->findChildren<QToolButton*>()) {
    const int n = b->property(kMessageProperty).toInt();
    if (n > 0) b->setText(message(n));
  }
  pnlButton()->applyLanguage(ctx_.messages);
  if (activated_) bench_->dialogs().applyLanguage();
  emit bench_->languageChanged();
  setBuildJob(ctx_.settings.BuildJob);
  mmSaveFolderShow();
}

void TfrmMain::mmJpnClick() {
  action("mmJpn")->setChecked(true);
  applyLanguage();
}

void TfrmMain::mmEngClick() {
  action("mmEng")->setChecked(true);
  applyLanguage();
}

void TfrmMain::setBuildJob(int job) {
  if (job < 0 || job > 2) job = 1;
  ctx_.settings.BuildJob = job;
  const char* names[] = {"mmBuildOverWrite", "mmBuildConfirm", "mmBuildHistory"};
  action(names[job])->setChecked(true);
  panels_[2]->setText(QStringLiteral("Mode : ") + message(16 + job));
}

void TfrmMain::mmVersionClick() { prompts_->showModal(*help_); }

void TfrmMain::mmLangEditClick() {
  prompts_->showModal(*language_);
  // The editor is reached once per reveal; its texts take effect at once.
  action("mmLangEdit")->setVisible(false);
  applyLanguage();
}

bool TfrmMain::saveSettingsNow() {
  std::string error;
  if (!keeper_->saveNow(&error)) {
    panels_[0]->setText(QStringLiteral("Ini:NG"));
    panels_[0]->setToolTip(qs(error));
    settingsFailed_ = true;
    return false;
  }
  panels_[0]->setText(qs(ctx_.settings.PortName + ":OK"));
  panels_[0]->setToolTip({});
  settingsFailed_ = false;
  return true;
}

void TfrmMain::keepSettings() {
  if (!keeper_) return;
  std::string error;
  if (keeper_->keepIfChanged(&error)) {
    if (settingsFailed_) {
      panels_[0]->setText(qs(ctx_.settings.PortName + ":OK"));
      panels_[0]->setToolTip({});
      settingsFailed_ = false;
    }
    return;
  }
  panels_[0]->setText(QStringLiteral("Ini:NG"));
  panels_[0]->setToolTip(qs(error));
  // Told once until a write succeeds again; the start has told already when the file was unusable.
  const bool tell = !settingsFailed_ && !settingsTold_;
  settingsFailed_ = true;
  if (tell) prompts_->ask(this, PromptIcon::Warning, message(44), qs(error), PromptButtons::Ok);
}

void TfrmMain::followSerialLink() {
  SerialLink& link = bench_->link();
  sidePanel_->memoMsg()->setMaximumBlockCount(kMessageLogLines);
  connect(&link, &SerialLink::messageLogLine, this, &TfrmMain::addMessageLog);
  connect(&link, &SerialLink::probePort, this, [this](const QString& port) { panels_[0]->setText(port); });
  connect(&link, &SerialLink::probeFinished, this,
          [this](bool, const QString& status) { panels_[0]->setText(status); });
  connect(&link, &SerialLink::disconnected, this, [this](const QString& text) {
    panels_[0]->setText(QStringLiteral("COM:OFF"));
    prompts_->ask(this, PromptIcon::Warning, qs(disconnectedCaption(ctx_.settings.LANG_NO_)), text,
                  PromptButtons::Ok);
  });
}

void TfrmMain::mmDownLoadClick() {
  SerialLink& link = bench_->link();
  if (link.probing()) {
    // Pressing Download again while the board is searched cancels the search.
    link.state().ProbeMode = false;
    link.wake();
    return;
  }
  const Program& program = ctx_.programs.currentProgram();
  QString hex;
  bool programsImage = false;
  // After a cancelled download window the file is asked for again.
  if (!program.path.empty() && !downLoad_->hexFileForgotten() &&
      (downLoad_->hexFileKnown() || QFileInfo::exists(qs(program.path)))) {
    const QFileInfo info(qs(program.path));
    hex = info.absolutePath() + QStringLiteral("/") + info.completeBaseName() + QStringLiteral(".Hex");
    programsImage = true;
  } else {
    hex = prompts_->openFileName(this, qs(ctx_.settings.DatPath_), QStringLiteral("Program (*.Hex);;All Files (*)"));
    if (hex.isEmpty()) return;
  }
  if (programsImage) {
    // An image built before the programs changed is not flashed without asking.
    const std::vector<StaleSource> stale = staleImageSources(ctx_.programs, hex.toStdString());
    if (!stale.empty()) {
      QStringList buttons;
      for (const std::string& b : staleImageChoices(ctx_.settings.LANG_NO_)) buttons << qs(b);
      const int choice = prompts_->choose(this, PromptIcon::Warning, QStringLiteral("Download"),
                                          qs(staleImageQuestion(hex.toStdString(), stale, ctx_.settings.LANG_NO_)),
                                          buttons);
      if (choice == 0) {
        mmBuildClick();
        return;
      }
      if (choice != 1) return;
    }
  }
  // "PwrOn Run" as the build window's box was last set, whichever way the download starts.
  downLoad_->setPowerOnRun(frmBuild()->ckPwrOnRun->isChecked());
  downLoad_->DownLoad(hex);
}

void TfrmMain::mmMonitorClick() { moni_->Monitor(); }

void TfrmMain::mmComClick() {
  SerialLink& link = bench_->link();
  TfrmCom com(ctx_, link, *prompts_, this);
  connect(&com, &TfrmCom::maintenanceRequested, this, &TfrmMain::revealMaintenance);
  prompts_->showModal(com);
  if (com.result() != QDialog::Accepted) return;
  saveSettingsNow();
  // The board may still be answering the test open; give it a second before letting go, unless
  // a window has taken the port over meanwhile.
  QTimer::singleShot(1000, this, [this] {
    SerialLink& l = bench_->link();
    if (!l.state().downloadVisible && !l.state().sensorMonitorListening) l.ClosePort();
  });
}

void TfrmMain::mmMotBalanceClick() {
  SerialLink& link = bench_->link();
  if (link.probing()) return;  // a search owns the port
  const OpenResult opened = link.OpenPort(true);
  if (!opened.ok) {
    if (link.state().ReportOpenErrors) {
      prompts_->ask(this, PromptIcon::Warning, QStringLiteral("Warning!"),
                    qs(openFailureText(opened, ctx_.settings.PortName, ctx_.settings.LANG_NO_, false)), PromptButtons::Ok);
    }
    return;
  }
  prompts_->showModal(*motBal_);
  link.ClosePort();
}

void TfrmMain::addMessageLog(const QString& line) {
  // A board streaming 50 reports a second would cost a hidden log its layout work for nothing.
  if (sidePanel_->memoMsg()->isHidden()) {
    hiddenMessages_.append(line);
    if (hiddenMessages_.size() > kMessageLogLines) hiddenMessages_.removeFirst();
    return;
  }
  sidePanel_->memoMsg()->appendPlainText(line);
}

void TfrmMain::revealMaintenance() {
  action("mmLangEdit")->setVisible(true);
  if (!hiddenMessages_.isEmpty()) {
    sidePanel_->memoMsg()->appendPlainText(hiddenMessages_.join(QLatin1Char('\n')));
    hiddenMessages_.clear();
  }
  sidePanel_->memoMsg()->show();
  sidePanel_->relayout();
}


}  // namespace kavel::gui
