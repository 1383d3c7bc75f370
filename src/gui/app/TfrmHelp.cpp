#include "gui/app/TfrmHelp.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "gui/app/BuiltinPictures.h"
#include "gui/app/WindowLook.h"
#include "core/shell/VersionInfo.h"

namespace kavel::gui {
namespace {

constexpr int kWidth = 397;
constexpr int kHeight = 215;
const QRect kIconRect(16, 16, 64, 64);
const QRect kDistributorRect(kWidth - 16 - 64, 16, 64, 64);
constexpr int kTitleLeft = 96;

QLabel* makeIcon(QWidget* parent, const char* name, ProductIcon icon, const QRect& at) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(at);
  label->setPixmap(builtinProductIcon(icon, at.size()));
  label->hide();
  return label;
}

QLabel* makeLine(QWidget* parent, const char* name, int y, int lines) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(16, y, kWidth - 32, 16 * lines + 2);
  label->setWordWrap(lines > 1);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setPixelFont(label, 12, false);
  return label;
}

}  // namespace

TfrmHelp::TfrmHelp(Context& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  setObjectName("frmHelp");
  setModal(true);
  setFixedSize(kWidth, kHeight);
  setWindowTitle("Kavel Version");

  // All icons share the first icon's place; the shown one is picked by variant.
  imgGlent = makeIcon(this, "imgGlent", ProductIcon::Glent, kIconRect);
  imgQV7B = makeIcon(this, "imgQV7B", ProductIcon::QV7B, kIconRect);
  imgBoard = makeIcon(this, "imgBoard", ProductIcon::BoardFamily, kIconRect);
  imgDistributor = makeIcon(this, "imgDistributor", ProductIcon::Distributor, kDistributorRect);

  lblTitle = new QLabel(this);
  lblTitle->setObjectName("lblTitle");
  lblTitle->setAlignment(Qt::AlignCenter);
  lblTitle->setWordWrap(true);
  setPixelFont(lblTitle, 15, true);

  // The program version is long (title and version marker): it may take two lines.
  lblAppVer = makeLine(this, "lblAppVer", 88, 2);
  lblBuildVer = makeLine(this, "lblBuildVer", 124, 1);
  lblLoaderVer = makeLine(this, "lblLoaderVer", 144, 1);

  btnWeb = new QPushButton("Click here to Check for New Version ", this);
  btnWeb->setObjectName("btnWeb");
  btnWeb->setGeometry(16, 172, 268, 30);
  connect(btnWeb, &QPushButton::clicked, this, &TfrmHelp::btnWebClick);

  btnOk = new QPushButton("OK", this);
  btnOk->setObjectName("btnOk");
  btnOk->setGeometry(kWidth - 16 - 80, 172, 80, 30);
  btnOk->setDefault(true);
  connect(btnOk, &QPushButton::clicked, this, &TfrmHelp::btnOkClick);
}

void TfrmHelp::FormShow() {
  const VersionInfo info = versionInfo(ctx_.settings);
  imgGlent->setVisible(info.icon == VersionInfo::Icon::Glent);
  imgQV7B->setVisible(info.icon == VersionInfo::Icon::QV7B);
  imgBoard->setVisible(info.icon == VersionInfo::Icon::BoardFamily);
  imgDistributor->setVisible(info.distributorPicture);

  const int titleRight = info.distributorPicture ? kDistributorRect.left() - 4 : kWidth - 40;
  lblTitle->setGeometry(kTitleLeft, 20, titleRight - kTitleLeft, 50);
  lblTitle->setText(QString::fromStdString(info.title));

  lblAppVer->setText(QString::fromStdString(info.appVersion));
  lblBuildVer->setText(QString::fromStdString(info.buildVersion));
  lblBuildVer->setVisible(!info.buildVersion.empty());
  lblLoaderVer->setText(QString::fromStdString(info.loaderVersion));
  lblLoaderVer->setVisible(!info.loaderVersion.empty());
}

void TfrmHelp::btnWebClick() {
  const QString address = QString::fromLatin1(kDownloadPage);
  if (openUrl_ && openUrl_(QUrl(address))) return;
  auto* box = new QMessageBox(QMessageBox::Warning, kStartFailedTitle, kStartFailedText, QMessageBox::Ok, this);
  // The address on a line of its own, unbroken, so it reads and copies as one.
  box->setInformativeText(QStringLiteral("<p>No web browser could be started. Open this address in a web browser "
                                         "yourself:</p><p><nobr>%1</nobr></p>")
                              .arg(address));
  box->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
    const int width = box->fontMetrics().horizontalAdvance(address) + 120;  // the icon's column besides
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void TfrmHelp::btnOkClick() { accept(); }

void TfrmHelp::showEvent(QShowEvent* event) {
  FormShow();
  centreOver(this, parentWidget());
  QDialog::showEvent(event);
}

}  // namespace kavel::gui
