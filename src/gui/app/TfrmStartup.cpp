#include "gui/app/TfrmStartup.h"

#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "gui/app/BuiltinPictures.h"
#include "gui/app/JpegImage.h"
#include "gui/app/WindowLook.h"
#include "core/settings/ProductVariant.h"

namespace kavel::gui {
namespace {

constexpr int kWidth = 361;
constexpr int kHeight = 187;
constexpr int kFrame = 2;  // the blue frame around the panel
const QRect kPictureRect(10, 34, 164, 138);

}  // namespace

TfrmStartup::TfrmStartup(Context& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ctx_(ctx) {
  setObjectName("frmStartup");
  setModal(true);
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette frame = palette();
  frame.setColor(QPalette::Window, QColor(0, 48, 160));
  setPalette(frame);

  pnlMain = new QFrame(this);
  pnlMain->setObjectName("pnlMain");
  pnlMain->setGeometry(kFrame, kFrame, kWidth - 2 * kFrame, kHeight - 2 * kFrame);
  pnlMain->setAutoFillBackground(true);
  QPalette panel = pnlMain->palette();
  panel.setColor(QPalette::Window, QColor(214, 234, 255));
  pnlMain->setPalette(panel);

  lblProduct = new QLabel(pnlMain);
  lblProduct->setObjectName("lblProduct");
  lblProduct->setGeometry(10, 8, pnlMain->width() - 20, 20);
  setPixelFont(lblProduct, 15, true);

  imgProduct = new QLabel(pnlMain);
  imgProduct->setObjectName("imgProduct");
  imgProduct->setGeometry(kPictureRect);
  imgProduct->setAlignment(Qt::AlignCenter);
  setPicture(builtinProductPicture(kPictureRect.size()));

  grpLanguage = new QGroupBox(" Select Language ", pnlMain);
  grpLanguage->setObjectName("grpLanguage");
  grpLanguage->setGeometry(186, 34, 160, 90);
  rbJpn = new QRadioButton("Japanese", grpLanguage);
  rbJpn->setObjectName("rbJpn");
  rbJpn->setGeometry(16, 28, 136, 22);
  rbEng = new QRadioButton("English", grpLanguage);
  rbEng->setObjectName("rbEng");
  rbEng->setGeometry(16, 56, 136, 22);

  btnOk = new QPushButton("OK", pnlMain);
  btnOk->setObjectName("btnOk");
  btnOk->setGeometry(266, 140, 80, 30);
  btnOk->setDefault(true);
  connect(btnOk, &QPushButton::clicked, this, &TfrmStartup::btnOkClick);
}

void TfrmStartup::setPicture(const QPixmap& picture) {
  imgProduct->setPixmap(picture.scaled(kPictureRect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TfrmStartup::FormShow() {
  const ProductVariant variant = ctx_.settings.variant;
  lblProduct->setText(QStringLiteral("Kavel for ") + QString::fromUtf8(variantInfo(variant).productLabel));
  QPalette p = lblProduct->palette();
  p.setColor(QPalette::WindowText, variant == 1 || variant == 2 ? Qt::red : Qt::black);
  lblProduct->setPalette(p);

  const QString product = QString::fromStdString(ctx_.settings.PRODUCT);
  if (!product.isEmpty() && QFile::exists(product)) {
    const QImage picture = loadPicture(product);
    if (!picture.isNull()) setPicture(QPixmap::fromImage(picture));
  }
}

bool TfrmStartup::languageChosen() const {
  return ctx_.settings.LANG_NO_ == 0 || ctx_.settings.LANG_NO_ == 1;
}

void TfrmStartup::btnOkClick() {
  if (rbJpn->isChecked()) ctx_.settings.LANG_NO_ = 0;
  if (rbEng->isChecked()) ctx_.settings.LANG_NO_ = 1;
  // A value such as -1 from a hand-edited settings file is not a language either.
  if (languageChosen()) accept();
}

void TfrmStartup::reject() {
  if (languageChosen()) QDialog::reject();
}

void TfrmStartup::showEvent(QShowEvent* event) {
  FormShow();
  centreOnScreen(this);
  QDialog::showEvent(event);
}

void TfrmStartup::closeEvent(QCloseEvent* event) {
  if (languageChosen()) {
    QDialog::closeEvent(event);
  } else {
    event->ignore();
  }
}

}  // namespace kavel::gui
