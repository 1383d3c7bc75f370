#include "gui/dialogs/TfrmPixy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/model/StatementKind.h"
#include "gui/dialogs/DialogButton.h"
#include "gui/app/Glyphs.h"

namespace kavel::gui {
namespace {

constexpr int kGridWidth = 240;
constexpr int kGridHeight = 150;
constexpr QSize kGlyphSize(56, 36);
const QColor kMarked(0xC0, 0xDC, 0xC0);  // 0x00C0DCC0 as 0x00BBGGRR

QPushButton* limitButton(const char* name, const char* caption, QWidget* parent) { return dialogButton(name, caption, parent, 36); }

QLabel* limitPanel(const char* name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setFrameShape(QFrame::Panel);
  l->setFrameShadow(QFrame::Sunken);
  l->setAlignment(Qt::AlignCenter);
  l->setMinimumWidth(l->fontMetrics().horizontalAdvance("000") + 12);
  return l;
}

}  // namespace

TfrmPixy::TfrmPixy(Context& ctx, const Glyphs& glyphs, QWidget* parent)
    : StatementDialog(ctx, parent), glyphs_(glyphs) {
  setObjectName("TfrmPixy");
  FormCreate();
}

void TfrmPixy::FormCreate() {
  pnlPixy = new QGroupBox(pnlBase);
  pnlPixy->setObjectName("pnlPixy");
  auto* box = new QVBoxLayout(pnlPixy);

  auto* top = new QHBoxLayout;
  btnIcon = new QToolButton(pnlPixy);
  btnIcon->setObjectName("btnIcon");
  btnIcon->setIconSize(kGlyphSize);
  btnIcon->setFixedSize(kGlyphSize + QSize(12, 12));
  btnIcon->setIcon(glyphs_.forKind(kCameraTest));
  connect(btnIcon, &QToolButton::clicked, this, [this] { btnIconClick(); });
  lblSig = new QLabel("Signature", pnlPixy);
  lblSig->setObjectName("lblSig");
  cmbSigNo = new QComboBox(pnlPixy);
  cmbSigNo->setObjectName("cmbSigNo");
  for (int s = 0; s <= kCameraSignatures; ++s) cmbSigNo->addItem(QString::fromStdString(cameraSignatureCaption(s)));
  connect(cmbSigNo, &QComboBox::activated, this, [this] { cmbSigNoChange(); });
  top->addWidget(btnIcon);
  top->addWidget(lblSig);
  top->addWidget(cmbSigNo);
  top->addStretch(1);
  box->addLayout(top);

  auto* checks = new QHBoxLayout;
  ckPosition = new QCheckBox("Position Check", pnlPixy);
  ckPosition->setObjectName("ckPosition");
  ckSize = new QCheckBox("Size Check", pnlPixy);
  ckSize->setObjectName("ckSize");
  connect(ckPosition, &QCheckBox::clicked, this, [this] { ckPositionClick(); });
  connect(ckSize, &QCheckBox::clicked, this, [this] { ckSizeClick(); });
  checks->addWidget(ckPosition);
  checks->addWidget(ckSize);
  checks->addStretch(1);
  box->addLayout(checks);

  pnlGrid = new QFrame(pnlPixy);
  pnlGrid->setObjectName("pnlGrid");
  pnlGrid->setFixedSize(kGridWidth + 2, kGridHeight + 2);
  pnlGrid->setFrameShape(QFrame::Box);
  for (int i = 0; i < 9; ++i) {
    auto* area = new QFrame(pnlGrid);
    area->setObjectName(QString("pnlPos%1").arg(i + 1));
    area->setProperty("tag", i);
    area->setFrameShape(QFrame::Panel);
    area->setFrameShadow(QFrame::Raised);
    area->setAutoFillBackground(true);
    area->setGeometry(1 + (i % 3) * 80, 1 + (i / 3) * 50, 80, 50);
    area->installEventFilter(this);
    pnlPos[static_cast<std::size_t>(i)] = area;
  }
  pnlPreview = new QFrame(pnlGrid);
  pnlPreview->setObjectName("pnlPreview");
  pnlPreview->setFrameShape(QFrame::Box);
  pnlPreview->setAutoFillBackground(true);
  QPalette grey = pnlPreview->palette();
  grey.setColor(QPalette::Window, QColor(128, 128, 128, 160));
  pnlPreview->setPalette(grey);
  pnlPreview->setAttribute(Qt::WA_TransparentForMouseEvents);
  box->addWidget(pnlGrid, 0, Qt::AlignHCenter);

  pnlLimit = new QWidget(pnlPixy);
  pnlLimit->setObjectName("pnlLimit");
  auto* limits = new QHBoxLayout(pnlLimit);
  limits->setContentsMargins(0, 0, 0, 0);
  btnXdn = limitButton("btnXdn", "-", pnlLimit);
  pnlXsize = limitPanel("pnlXsize", pnlLimit);
  btnXup = limitButton("btnXup", "+", pnlLimit);
  btnYdn = limitButton("btnYdn", "-", pnlLimit);
  pnlYsize = limitPanel("pnlYsize", pnlLimit);
  btnYup = limitButton("btnYup", "+", pnlLimit);
  btnLimit = limitButton("btnLimit", "<", pnlLimit);
  lblSize = new QLabel(pnlLimit);
  lblSize->setObjectName("lblSize");
  limits->addWidget(new QLabel("w:", pnlLimit));
  for (QWidget* w : std::initializer_list<QWidget*>{btnXdn, pnlXsize, btnXup}) limits->addWidget(w);
  limits->addSpacing(8);
  limits->addWidget(new QLabel("h:", pnlLimit));
  for (QWidget* w : std::initializer_list<QWidget*>{btnYdn, pnlYsize, btnYup}) limits->addWidget(w);
  limits->addSpacing(8);
  limits->addWidget(btnLimit);
  limits->addWidget(lblSize);
  limits->addStretch(1);
  connect(btnXdn, &QPushButton::clicked, this, [this] { btnXdnClick(); });
  connect(btnXup, &QPushButton::clicked, this, [this] { btnXupClick(); });
  connect(btnYdn, &QPushButton::clicked, this, [this] { btnYdnClick(); });
  connect(btnYup, &QPushButton::clicked, this, [this] { btnYupClick(); });
  connect(btnLimit, &QPushButton::clicked, this, [this] { btnLimitClick(); });
  box->addWidget(pnlLimit);

  baseLayout()->addWidget(pnlPixy);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

bool TfrmPixy::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const QVariant tag = watched->property("tag");
    if (tag.isValid()) {
      pnlPosClick(tag.toInt());
      return true;
    }
  }
  return StatementDialog::eventFilter(watched, event);
}

void TfrmPixy::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlPixy->setTitle(msg(114));
}

void TfrmPixy::FormShow() {
  applyLanguage();
  const CameraTest t = cameraTestOf(ctx_.edit.val0, ctx_.edit.val1);
  cmbSigNo->setCurrentIndex(t.signature);
  ckPosition->setChecked(t.positionCode != 0);
  if (t.positionCode != 0) areas_ = areasOf(t.positionCode);
  ckSize->setChecked(t.sizeMode != kSizeNone);
  larger_ = t.sizeMode == kSizeLarger;
  width_ = t.width;
  height_ = t.height;
  refreshPreview();
  layoutControls();
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmPixy::layoutControls() {
  const bool signature = cmbSigNo->currentIndex() > 0;
  if (signature && !ckPosition->isChecked() && !ckSize->isChecked()) ckPosition->setChecked(true);
  lblSig->setVisible(signature);
  ckPosition->setVisible(signature);
  ckSize->setVisible(signature);
  pnlGrid->setVisible(signature);
  pnlLimit->setVisible(signature && ckSize->isChecked());
  pnlPreview->setVisible(signature && ckSize->isChecked());
  paintAreas();
  if (isVisible()) fitToContents();
}

void TfrmPixy::paintAreas() {
  for (int i = 0; i < 9; ++i) {
    QFrame* area = pnlPos[static_cast<std::size_t>(i)];
    QPalette p = area->palette();
    const bool marked = ckPosition->isChecked() && areas_[static_cast<std::size_t>(i)];
    p.setColor(QPalette::Window, marked ? kMarked : palette().color(QPalette::Button));
    area->setPalette(p);
  }
}

void TfrmPixy::refreshPreview() {
  const CameraPreview size = cameraSizePreview(width_, height_);
  pnlPreview->setGeometry(1 + (kGridWidth - size.width) / 2, 1 + (kGridHeight - size.height) / 2, size.width,
                          size.height);
  pnlPreview->raise();
  pnlXsize->setText(QString::number(width_));
  pnlYsize->setText(QString::number(height_));
  btnLimit->setText(larger_ ? ">" : "<");
  lblSize->setText(QString::fromStdString(cameraSizeCaption(width_, height_)));
}

void TfrmPixy::cmbSigNoChange() { layoutControls(); }

void TfrmPixy::btnIconClick() {
  cmbSigNo->setCurrentIndex(nextCameraSignature(cmbSigNo->currentIndex()));
  layoutControls();
}

void TfrmPixy::ckPositionClick() { layoutControls(); }
void TfrmPixy::ckSizeClick() { layoutControls(); }

void TfrmPixy::pnlPosClick(int tag) {
  if (tag < 0 || tag > 8) return;
  areas_[static_cast<std::size_t>(tag)] = !areas_[static_cast<std::size_t>(tag)];
  paintAreas();
}

void TfrmPixy::btnXdnClick() {
  width_ = std::max(kCameraWidthMin, width_ - kCameraLimitStep);
  refreshPreview();
}
void TfrmPixy::btnXupClick() {
  width_ = std::min(kCameraWidthMax, width_ + kCameraLimitStep);
  refreshPreview();
}
void TfrmPixy::btnYdnClick() {
  height_ = std::max(kCameraHeightMin, height_ - kCameraLimitStep);
  refreshPreview();
}
void TfrmPixy::btnYupClick() {
  height_ = std::min(kCameraHeightMax, height_ + kCameraLimitStep);
  refreshPreview();
}

void TfrmPixy::btnLimitClick() {
  larger_ = !larger_;
  refreshPreview();
}

void TfrmPixy::btnOkClick() {
  CameraTest t;
  t.signature = std::max(0, cmbSigNo->currentIndex());
  t.positionCode = ckPosition->isChecked() ? positionCodeOf(areas_) : 0;
  t.sizeMode = !ckSize->isChecked() ? kSizeNone : larger_ ? kSizeLarger : kSizeSmaller;
  t.width = width_;
  t.height = height_;
  const CameraValues v = packCameraTest(t);
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  ctx_.edit.val2 = 0;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
