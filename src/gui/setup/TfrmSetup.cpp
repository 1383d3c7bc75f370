#include "gui/setup/TfrmSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

#include "core/settings/ProductVariant.h"
#include "core/setup/ConnectorModes.h"
#include "core/setup/SetupCodec.h"
#include "core/shell/ModeQuestion.h"
#include "gui/app/MessageText.h"
#include "gui/app/Prompts.h"

namespace kavel::gui {
namespace {

QColor fromBgr(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

std::size_t at(SetupBox b) { return static_cast<std::size_t>(b); }

// The popup's items in the order the user sees them.
constexpr int kPopupOrder[] = {Input, Input2Wire, OutL, OutH, Thermistor, PingIn, Servo};

}  // namespace

TfrmSetup::TfrmSetup(Context& ctx, Prompts& prompts, TfrmMsgBox& msgBox, QWidget* parent)
    : QDialog(parent), ctx_(ctx), prompts_(prompts), msgBox_(msgBox) {
  setObjectName("TfrmSetup");
  setModal(true);
  FormCreate();
}

void TfrmSetup::FormCreate() {
  setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), int(kApplicationTitle.size())) + " Setup");
  auto* outer = new QVBoxLayout(this);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  auto* columns = new QHBoxLayout;
  columns->addWidget(makeConnectors());
  columns->addWidget(makeOptions(), 0, Qt::AlignTop);
  outer->addLayout(columns);

  auto* comment = new QHBoxLayout;
  lblCmt = new QLabel(this);
  lblCmt->setObjectName("lblCmt");
  edtCmt = new QLineEdit(this);
  edtCmt->setObjectName("edtCmt");
  edtCmt->setAttribute(Qt::WA_InputMethodEnabled, true);
  edtCmt->installEventFilter(this);
  comment->addWidget(lblCmt);
  comment->addWidget(edtCmt, 1);
  outer->addLayout(comment);

  auto* buttons = new QHBoxLayout;
  btnDef = new QPushButton(QStringLiteral("Default Setup"), this);
  btnDef->setObjectName("btnDef");
  btnOk = new QPushButton(QStringLiteral("OK"), this);
  btnOk->setObjectName("btnOk");
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName("btnCancel");
  for (QPushButton* b : {btnDef, btnOk, btnCancel}) b->setAutoDefault(false);
  connect(btnDef, &QPushButton::clicked, this, [this] { btnDefClick(); });
  connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
  buttons->addWidget(btnDef);
  buttons->addStretch(1);
  buttons->addWidget(btnOk);
  buttons->addWidget(btnCancel);
  outer->addLayout(buttons);

  pmCN = new QMenu(this);
  pmCN->setObjectName("pmCN");
  for (int mode : kPopupOrder) {
    QAction* a = pmCN->addAction(QString::fromUtf8(connectorModeInfo(mode)->popupItem));
    a->setData(mode);
    pmMode[static_cast<std::size_t>(mode)] = a;
  }
  pmCN->addSeparator();
  pmCN->addAction(QStringLiteral("&Cancel"));

  box[at(SetupBox::ckZBTM)]->hide();
  for (SetupBox b : {SetupBox::ckWL102, SetupBox::ckWL103, SetupBox::ckWL109, SetupBox::ckSNX4410}) box[at(b)]->hide();
}

QWidget* TfrmSetup::makeConnectors() {
  auto* panel = new QWidget(this);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < 10; ++i) {
    auto* frame = new QGroupBox(panel);
    frame->setObjectName(QString("frmCN%1").arg(i + 1, 2, 10, QChar('0')));
    auto* row = new QHBoxLayout(frame);
    auto* name = new QLineEdit(frame);
    name->setObjectName(QString("edtCN%1").arg(i + 1, 2, 10, QChar('0')));
    name->setAutoFillBackground(true);
    name->setMinimumWidth(110);
    auto* mode = new QLabel(frame);
    mode->setObjectName(QString("pnlCN%1").arg(i + 1, 2, 10, QChar('0')));
    mode->setFrameShape(QFrame::Panel);
    mode->setFrameShadow(QFrame::Raised);
    mode->setAlignment(Qt::AlignCenter);
    mode->setMinimumWidth(mode->fontMetrics().horizontalAdvance("2Wire-In") + 16);
    mode->setCursor(Qt::PointingHandCursor);
    mode->setProperty("connector", i + 1);
    mode->installEventFilter(this);
    row->addWidget(name, 1);
    row->addWidget(mode);
    frame->setMinimumWidth(frame->fontMetrics().horizontalAdvance("CN10 PING-In") + 24);
    frmCN[static_cast<std::size_t>(i)] = frame;
    edtCN[static_cast<std::size_t>(i)] = name;
    pnlCN[static_cast<std::size_t>(i)] = mode;
    // Two columns, CN1..CN5 and CN6..CN10.
    grid->addWidget(frame, i % 5, i / 5);
  }
  return panel;
}

QCheckBox* TfrmSetup::makeBox(SetupBox which, const char* name, const char* caption, QWidget* parent) {
  auto* b = new QCheckBox(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  connect(b, &QCheckBox::clicked, this, [this, which] { boxClick(which); });
  box[at(which)] = b;
  return b;
}

QWidget* TfrmSetup::makeOptions() {
  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  ckAdv = makeBox(SetupBox::ckAdv, "ckAdv", "Advanced Mode", panel);
  column->addWidget(ckAdv);

  pnlAdv = new QGroupBox(panel);
  pnlAdv->setObjectName("pnlAdv");
  pnlAdv->installEventFilter(this);
  auto* grid = new QGridLayout(pnlAdv);
  // In pairs; the pair of boxes that some boards hide (LCD, radio module) comes last, so its
  // row closes up instead of leaving a hole.
  const std::tuple<SetupBox, const char*, const char*> options[] = {
      {SetupBox::ckDir, "ckDir", "6D-Cmp"},       {SetupBox::ckHmc, "ckHmc", "HMC6352"},
      {SetupBox::ckBno, "ckBno", "9D-Cmp"},       {SetupBox::ckMcb, "ckMcb", "6chMCB"},
      {SetupBox::ckCLF, "ckCLF", "CLR Finder"},   {SetupBox::ckCLS, "ckCLS", "CLR Sensor"},
      {SetupBox::ckUss, "ckUss", "4chUSS"},       {SetupBox::ckPixy, "ckPixy", "Pixy Cam."},
      {SetupBox::ckLcd, "ckLcd", "16x2:LCD"},     {SetupBox::ckZBTM, "ckZBTM", "ZB24TM"},
      {SetupBox::ckSNX4410, "ckSNX4410", "SNX4410"},
      {SetupBox::ckWL102, "ckWL102", "WL-102 7-Seg.LED"}, {SetupBox::ckWL103, "ckWL103", "WL-103 Pat.Light"},
      {SetupBox::ckWL109, "ckWL109", "WL-109 Servo Tovel"},
  };
  int n = 0;
  for (const auto& [which, name, caption] : options) {
    QCheckBox* b = makeBox(which, name, caption, pnlAdv);
    // The add-on modules have long names: one per row below the pairs.
    if (n < 11) {
      grid->addWidget(b, n / 2, n % 2);
    } else {
      grid->addWidget(b, 6 + (n - 11), 0, 1, 2);
    }
    ++n;
  }
  auto* id = new QHBoxLayout;
  QCheckBox* ckID = makeBox(SetupBox::ckID, "ckID", "I2C I/O ID Setup ", pnlAdv);
  cmbID = new QComboBox(pnlAdv);
  cmbID->setObjectName("cmbID");
  cmbID->addItem(QStringLiteral("I/O[0]:Master"));
  for (int i = 1; i <= 8; ++i) cmbID->addItem(QString("I/O[%1]").arg(i));
  connect(cmbID, &QComboBox::activated, this, [this](int item) { cmbIDCloseUp(item); });
  id->addWidget(ckID);
  id->addWidget(cmbID);
  grid->addLayout(id, 9, 0, 1, 2);
  column->addWidget(pnlAdv);

  column->addWidget(makeBox(SetupBox::ckMCU2620, "ckMCU2620", "MCU:18F2620", panel));
  column->addStretch(1);
  return panel;
}

void TfrmSetup::showVariantBoxes() {
  const bool lcdBoard = ctx_.settings.variant > 2;
  box[at(SetupBox::ckLcd)]->setVisible(!lcdBoard);
  if (lcdBoard) box[at(SetupBox::ckLcd)]->setChecked(true);
  for (SetupBox b : {SetupBox::ckWL102, SetupBox::ckWL103, SetupBox::ckWL109, SetupBox::ckSNX4410,
                     SetupBox::ckMCU2620}) {
    box[at(b)]->setVisible(lcdBoard);
  }
  box[at(SetupBox::ckZBTM)]->setVisible(twoWireUnlocked_);
}

void TfrmSetup::FormShow() {
  twoWireUnlocked_ = false;
  wantsSetupButton_ = false;
  changed_ = false;
  lblCmt->setText(msgText(ctx_, 125));
  edtCmt->setText(QString::fromStdString(ctx_.setup.setupComment));
  DecodeSetup(ctx_.io, ctx_.setup.setupKind, ctx_.setup.setupValue[0], ctx_.setup.setupValue[1],
              ctx_.setup.setupValue[2]);
  loadControls();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSetup::loadControls() {
  writeBoxes(boxesOf(ctx_.io, ctx_.settings.MCU2620_ != 0));
  showVariantBoxes();
  for (int cn = 1; cn <= 10; ++cn) refreshConnector(cn);
}

SetupBoxes TfrmSetup::readBoxes() const {
  SetupBoxes b;
  for (std::size_t i = 0; i < kSetupBoxCount; ++i) b.ticked[i] = box[i]->isChecked();
  b.idItem = std::max(0, cmbID->currentIndex());
  return b;
}

void TfrmSetup::writeBoxes(const SetupBoxes& b) {
  for (std::size_t i = 0; i < kSetupBoxCount; ++i) box[i]->setChecked(b.ticked[i]);
  cmbID->setCurrentIndex(b.idItem);
  cmbID->setEnabled(identityEnabled(b));
  pnlAdv->setVisible(b[SetupBox::ckAdv]);
}

void TfrmSetup::refreshConnector(int cn) {
  const auto i = static_cast<std::size_t>(cn - 1);
  const int mode = ctx_.io.cnMode[i];
  QLineEdit* name = edtCN[i];
  name->setText(QString::fromStdString(ctx_.io.cnName[i]));
  QPalette p = name->palette();
  p.setColor(QPalette::Base, fromBgr(connectorEditColour(mode)));
  p.setColor(QPalette::Text, Qt::black);
  name->setPalette(p);
  pnlCN[i]->setText(QString::fromStdString(connectorCaption(mode, cn)));
  frmCN[i]->setTitle(QString::fromStdString(connectorFrameText(mode, cn)));
}

QMenu* TfrmSetup::preparePopup(int connector) {
  const ConnectorPopup popup = connectorPopup(ctx_.io, connector, twoWireUnlocked_);
  for (int mode = 0; mode < 7; ++mode) {
    QAction* a = pmMode[static_cast<std::size_t>(mode)];
    a->setVisible(popup[mode].shown);
    a->setEnabled(popup[mode].enabled);
  }
  return pmCN;
}

void TfrmSetup::showPopup(int connector) {
  QMenu* menu = preparePopup(connector);
  QLabel* panel = pnlCN[static_cast<std::size_t>(connector - 1)];
  const QAction* chosen = menu->exec(panel->mapToGlobal(QPoint(panel->width(), 0)));
  if (chosen && chosen->data().isValid()) chooseMode(connector, chosen->data().toInt());
}

void TfrmSetup::chooseMode(int connector, int mode) {
  if (connector < 1 || connector > 10) return;
  chooseConnectorMode(ctx_.io, connector, mode, ctx_.settings.variant);
  refreshConnector(connector);
  changed_ = true;
}

void TfrmSetup::pnlAdvDblClick() {
  twoWireUnlocked_ = true;
  box[at(SetupBox::ckZBTM)]->show();
}

void TfrmSetup::boxClick(SetupBox which) {
  SetupBoxes b = readBoxes();
  boxClicked(b, which);
  writeBoxes(b);
  if (which == SetupBox::ckAdv) showVariantBoxes();
}

void TfrmSetup::cmbIDCloseUp(int item) {
  SetupBoxes b = readBoxes();
  identityChosen(b, item);
  writeBoxes(b);
  showVariantBoxes();
}

void TfrmSetup::btnOkClick() {
  storeSetupBoxes(readBoxes(), ctx_.io, ctx_.setup, ctx_.settings, edtCmt->text().toStdString());
  for (std::size_t i = 0; i < 10; ++i) ctx_.io.cnName[i] = edtCN[i]->text().toStdString();
  recomputeConnectorUse(ctx_.io);
  wantsSetupButton_ = ctx_.io.advancedMode || ctx_.io.subIoOn;
  accept();
}

void TfrmSetup::btnCancelClick() { reject(); }

void TfrmSetup::btnDefClick() {
  if (!prompts_.askMode(msgBox_, ModeQuestion::kNewSetup)) return;
  ResetSetup(ctx_.io, ctx_.setup, ctx_.settings, true);
  changed_ = true;
  edtCmt->setText(QString::fromStdString(ctx_.setup.setupComment));
  loadControls();
}

void TfrmSetup::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const QScreen* s = screen();
  if (!isVisible() || !s) return;
  const QRect area = s->availableVirtualGeometry();
  QRect r = frameGeometry();
  r.moveRight(std::min(r.right(), area.right()));
  r.moveBottom(std::min(r.bottom(), area.bottom()));
  r.moveLeft(std::max(r.left(), area.left()));
  r.moveTop(std::max(r.top(), area.top()));
  if (r.topLeft() != frameGeometry().topLeft()) move(r.topLeft());
}

bool TfrmSetup::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const QVariant connector = watched->property("connector");
    if (connector.isValid()) {
      showPopup(connector.toInt());
      return true;
    }
  }
  if (event->type() == QEvent::MouseButtonDblClick && watched == pnlAdv) {
    pnlAdvDblClick();
    return true;
  }
  if (event->type() == QEvent::KeyPress && watched == edtCmt) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      btnOk->setFocus(Qt::OtherFocusReason);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmSetup::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    btnCancelClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace kavel::gui
