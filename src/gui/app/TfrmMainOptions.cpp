// The main window's options, window arrangement, folders, pictures and the palette refresh.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>

#include "core/settings/SettingsPaths.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/JpegImage.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/SidePanel.h"
#include "gui/app/TfrmMain.h"

#include "core/settings/SettingsPaths.h"
#include "gui/app/Workbench.h"
#include "gui/editor/Palette.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"
#include "core/model/ProgramSet.h"
#include "core/settings/ProductVariant.h"
#include "core/setup/OptionFlags.h"
#include "core/text/TextFile.h"

namespace kavel::gui {
namespace {

const QColor kLabelBlue(0, 0, 255);
const QColor kLabelRed(255, 0, 0);

void setLabelColour(QLabel* label, const QColor& colour, bool buttonFace) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, buttonFace ? label->parentWidget()->palette().color(QPalette::WindowText) : colour);
  label->setPalette(pal);
  label->setProperty("buttonFace", buttonFace);
}

}  // namespace

// --- side panel ---------------------------------------------------------------------------------

void TfrmMain::dockSidePanel() {
  auto* row = static_cast<QHBoxLayout*>(centre_->layout());
  row->removeWidget(sidePanel_);
  row->insertWidget(ctx_.settings.FuncPnl == 4 ? 1 : 0, sidePanel_);
  action("mmFuncPnlPos")->setChecked(ctx_.settings.FuncPnl != 3);
  sidePanel_->relayout();
}

void TfrmMain::refreshPalette() {
  IoSetup& io = ctx_.io;
  if (!codeStyle()) {
    const bool option = action("mmSetupButton")->isChecked();
    mnuEditStyleAction_->setVisible(option || io.advancedMode);
    setSetupButtonShown(option);
    if (!option) clearOptionFlags(io, ctx_.settings.variant);
  } else {
    action("mmSetupButton")->setChecked(true);
    showToolButton("btnCLib", true);
    showToolButton("btnSetup", true);
  }
  pnlButton()->refresh(io);
  pnlButton()->enableFor(ctx_.programs.current);
  sidePanel_->setLogoPicture(loadPicture(qs(ctx_.settings.LOGOIMG)));
  sidePanel_->relayout();
  windows().updateCursor();
  emit bench_->setupChanged();
}

void TfrmMain::loadPictures() {
  AppSettings& s = ctx_.settings;
  if (!QFileInfo::exists(qs(s.WPAPER))) s.WPAPER = options_.programFolder + variantInfo(s.variant).wallpaperImage;
  wallpaper_ = loadPicture(qs(s.WPAPER));
  sidePanel_->setProductPicture(loadPicture(qs(s.PRODUCT)));
  sidePanel_->setLogoPicture(loadPicture(qs(s.LOGOIMG)));
  setLabelColour(sidePanel_->lblProduct(), kLabelRed, true);
}

void TfrmMain::applyWallpaper() {
  if (wallpaper_.isNull()) {
    mdi_->setBackground(palette().brush(QPalette::Dark));
    return;
  }
  const QSize area = mdi_->viewport()->size();
  if (area.isEmpty()) return;
  mdi_->setBackground(QBrush(wallpaper_.scaled(area, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

// --- window arrangement -------------------------------------------------------------------------

namespace {

QList<QMdiSubWindow*> arrangeable(QMdiArea* mdi) {
  QList<QMdiSubWindow*> list;
  for (QMdiSubWindow* w : mdi->subWindowList()) {
    if (w->isVisible() && !w->isMinimized()) list << w;
  }
  return list;
}

}  // namespace

void TfrmMain::mmVerticalClick() {
  if (QMdiSubWindow* main = subWindow(0)) main->showNormal();
  const auto windows = arrangeable(mdi_);
  if (windows.isEmpty()) return;
  const QSize area = mdi_->viewport()->size();
  const int w = area.width() / static_cast<int>(windows.size());
  int x = 0;
  for (QMdiSubWindow* sub : windows) {
    sub->showNormal();
    sub->setGeometry(x, 0, w, area.height());
    x += w;
  }
}

void TfrmMain::mmHorizontalClick() {
  if (QMdiSubWindow* main = subWindow(0)) main->showNormal();
  const auto windows = arrangeable(mdi_);
  if (windows.isEmpty()) return;
  const QSize area = mdi_->viewport()->size();
  const int h = area.height() / static_cast<int>(windows.size());
  int y = 0;
  for (QMdiSubWindow* sub : windows) {
    sub->showNormal();
    sub->setGeometry(0, y, area.width(), h);
    y += h;
  }
}

void TfrmMain::mmCascadeClick() {
  if (QMdiSubWindow* main = subWindow(0)) main->showNormal();
  mdi_->cascadeSubWindows();
}

// --- options ------------------------------------------------------------------------------------

void TfrmMain::mmGridClick() {
  ctx_.options.grid = action("mmGrid")->isChecked();
  windows().repaintAll();
}

void TfrmMain::mmDelQueryClick() { ctx_.options.deleteQuery = action("mmDelQuery")->isChecked(); }

void TfrmMain::mmFuncPnlPosClick() {
  ctx_.settings.FuncPnl = ctx_.settings.FuncPnl == 3 ? 4 : 3;
  dockSidePanel();
}

void TfrmMain::imgLogoDblClick() {
  mmFuncPnlPosClick();
  keepSettings();
}

void TfrmMain::mmCodeViewClick() {
  TfrmProg* cur = prog(ctx_.programs.current);
  if (!cur || codeStyle()) return;
  cur->setCodeViewVisible(!cur->codeViewVisible());
}

void TfrmMain::mmSetupButtonClick() {
  const bool on = action("mmSetupButton")->isChecked();
  setSetupButtonShown(on);
  refreshPalette();
  if (on) btnSetupClick();
}

// --- folders ------------------------------------------------------------------------------------

std::string TfrmMain::defaultHomeFolder() const {
  return defaultUserFolder(options_.paths, ctx_.settings.variant);
}

void TfrmMain::mmSaveFolderShow() {
  const std::string def = defaultHomeFolder();
  QAction* init = action("mmInitDefPath");
  init->setVisible(ctx_.settings.DefPath_ != def);
  init->setText(message(20) + " >> " + qs(def));
  action("mmSetDefPath")->setText(message(19) + " >> " + qs(ctx_.settings.DefPath_));
}

void TfrmMain::mmSetDefPathClick() { setFolder(ctx_.settings.DefPath_); }

void TfrmMain::mmInitDefPathClick() {
  ctx_.settings.DefPath_ = defaultHomeFolder();
  setFolder(ctx_.settings.DefPath_);
  mmSaveFolderShow();
}

void TfrmMain::pnlUserPathDblClick() {
  const QString text = message(46) + " : " + message(14) + "\n" + qs(ctx_.settings.DatPath_);
  if (prompts_->ask(this, PromptIcon::Warning, message(45), text, PromptButtons::YesNo) != Answer::Yes) return;
  ctx_.settings.DefPath_ = ctx_.settings.DatPath_;
  mmSaveFolderShow();
  keepSettings();
}

// --- pictures and colour ------------------------------------------------------------------------

void TfrmMain::lblProductDblClick() {
  QAction* product = action("mmProductImage");
  const bool show = !product->isVisible();
  for (const char* name : {"mmProductImage", "mmWallpaper", "mmLogoImage", "mmWsColor"}) action(name)->setVisible(show);
  setLabelColour(sidePanel_->lblProduct(), show ? kLabelBlue : kLabelRed, false);
}

void TfrmMain::imgProductDblClick() {
  QLabel* label = sidePanel_->lblProduct();
  const bool buttonFace = !label->property("buttonFace").toBool();
  setLabelColour(label, kLabelRed, buttonFace);
  if (buttonFace) {
    for (const char* name : {"mmWallpaper", "mmWsColor"}) action(name)->setVisible(false);
  }
}

namespace {

QString pictureFilter() { return QStringLiteral("JPEG (*.jpg *.jpeg *.JPG);;All Files (*)"); }

}  // namespace

void TfrmMain::mmProductImageClick() {
  const QString f = prompts_->openFileName(this, qs(options_.programFolder), pictureFilter(), qs(ctx_.settings.PRODUCT));
  if (f.isEmpty()) return;
  ctx_.settings.PRODUCT = f.toStdString();
  sidePanel_->setProductPicture(loadPicture(f));
}

void TfrmMain::mmWallpaperClick() {
  const QString f = prompts_->openFileName(this, qs(options_.programFolder), pictureFilter(), qs(ctx_.settings.WPAPER));
  if (f.isEmpty()) return;
  ctx_.settings.WPAPER = f.toStdString();
  wallpaper_ = loadPicture(f);
  applyWallpaper();
}

void TfrmMain::mmLogoImageClick() {
  const QString f = prompts_->openFileName(this, qs(options_.programFolder), pictureFilter(), qs(ctx_.settings.LOGOIMG));
  if (f.isEmpty()) return;
  ctx_.settings.LOGOIMG = f.toStdString();
  sidePanel_->setLogoPicture(loadPicture(f));
}

void TfrmMain::mmWsColorClick() {
  const std::uint32_t c = ctx_.settings.WSCOLOR;
  const QColor now(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
  const auto picked = prompts_->pickColor(this, now);
  if (!picked) return;
  ctx_.settings.WSCOLOR = static_cast<std::uint32_t>(picked->red()) | (static_cast<std::uint32_t>(picked->green()) << 8) |
                          (static_cast<std::uint32_t>(picked->blue()) << 16);
  if (TfrmProg* main = prog(0)) main->rowView()->viewport()->update();
}

}  // namespace kavel::gui
