#include "gui/dialogs/TfrmLcd.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/model/StatementKind.h"

namespace kavel::gui {

TfrmLcd::TfrmLcd(Context& ctx, QWidget* parent) : StatementDialog(ctx, parent) {
  setObjectName("TfrmLcd");
  showWarning = [this](const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok, this);
    box.exec();
  };
  FormCreate();
}

void TfrmLcd::FormCreate() {
  pnlLcd = new QGroupBox(pnlBase);
  pnlLcd->setObjectName("pnlLcd");
  auto* row = new QHBoxLayout(pnlLcd);
  row->setSpacing(6);
  cmbLineNo = new QComboBox(pnlLcd);
  cmbLineNo->setObjectName("cmbLineNo");
  cmbLineNo->addItems({"1", "2"});
  cmbForm = new QComboBox(pnlLcd);
  cmbForm->setObjectName("cmbForm");
  for (const char* caption : lcdFormatCaptions()) cmbForm->addItem(caption);
  row->addWidget(cmbLineNo);
  row->addWidget(cmbForm);
  const std::vector<std::string> items = lcdDataItems();
  for (int k = 0; k < 4; ++k) {
    auto* c = new QComboBox(pnlLcd);
    c->setObjectName(QStringLiteral("cmbDat%1").arg(k + 1));
    c->setMaxVisibleItems(16);
    for (const std::string& item : items) c->addItem(QString::fromStdString(item));
    connect(c, &QComboBox::activated, this, [this, k] { cmbDatCloseUp(k + 1); });
    cmbDat[static_cast<std::size_t>(k)] = c;
    row->addWidget(c);
  }
  row->addStretch(1);
  connect(cmbForm, &QComboBox::activated, this, [this] { cmbFormCloseUp(); });

  baseLayout()->addWidget(pnlLcd);
  baseLayout()->addWidget(makeCommentRow());
  // The text is what the display line shows.
  edtCmt->setMaxLength(kLcdTextMax);
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

void TfrmLcd::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlLcd->setTitle(msg(83));
  lblCmt->setText("Text");
}

void TfrmLcd::showLine(const LcdLine& l) {
  cmbLineNo->setCurrentIndex(l.line);
  cmbForm->setCurrentIndex(l.format);
  const int used = lcdFieldsUsed(l.format);
  for (int k = 0; k < 4; ++k) {
    QComboBox* c = cmbDat[static_cast<std::size_t>(k)];
    c->setCurrentIndex(l.data[static_cast<std::size_t>(k)]);
    c->setVisible(k < used);
  }
  if (isVisible()) fitToContents();
}

LcdLine TfrmLcd::line() const {
  LcdLine l;
  l.line = std::max(cmbLineNo->currentIndex(), 0);
  l.format = std::max(cmbForm->currentIndex(), 0);
  for (int k = 0; k < 4; ++k) l.data[static_cast<std::size_t>(k)] = std::max(cmbDat[static_cast<std::size_t>(k)]->currentIndex(), 0);
  return l;
}

void TfrmLcd::FormShow() {
  applyLanguage();
  showLine(lcdLineOf(ctx_.edit.val0, ctx_.edit.val1));
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmLcd::cmbFormCloseUp() {
  LcdLine l = line();
  normaliseLcd(l);
  showLine(l);
}

void TfrmLcd::cmbDatCloseUp(int k) {
  LcdLine l = line();
  normaliseLcdField(l, k - 1);
  showLine(l);
}

void TfrmLcd::btnOkClick() {
  const QString text = edtCmt->text();
  if (!lcdTextAllowed(text.toStdString())) {
    showWarning(QStringLiteral("Can't use [ \" ]"), QStringLiteral("Warning"));
    return;
  }
  LcdLine l = line();
  normaliseLcd(l);
  const LcdValues v = packLcd(l);
  ctx_.edit.cno = kLcd;
  ctx_.edit.val0 = v.val0;
  ctx_.edit.val1 = v.val1;
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
