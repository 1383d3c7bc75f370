#include "gui/dialogs/TfrmSensor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include "core/dialogs/SubIoBoards.h"
#include "core/model/RowText.h"
#include "core/model/StatementKind.h"
#include "gui/dialogs/DialogButton.h"
#include "gui/app/Glyphs.h"
#include "gui/dialogs/BoardSelector.h"

namespace kavel::gui {
namespace {

constexpr QSize kGlyphSize(56, 36);

QPushButton* stepButton(const char* name, const char* caption, QWidget* parent) { return dialogButton(name, caption, parent, 40); }

QLabel* nameLabel(const char* name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setMinimumHeight(l->fontMetrics().height());
  return l;
}

}  // namespace

TfrmSensor::TfrmSensor(Context& ctx, const Glyphs& glyphs, QWidget* parent)
    : StatementDialog(ctx, parent), glyphs_(glyphs) {
  setObjectName("TfrmSensor");
  FormCreate();
}

void TfrmSensor::FormCreate() {
  pnlSensor = new QGroupBox(pnlBase);
  pnlSensor->setObjectName("pnlSensor");
  auto* grid = new QGridLayout(pnlSensor);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(2);

  btnSensor = new QToolButton(pnlSensor);
  btnSensor->setObjectName("btnSensor");
  btnSensor->setFocusPolicy(Qt::NoFocus);
  btnSensor->setIconSize(kGlyphSize);
  btnSensor->setFixedSize(kGlyphSize + QSize(12, 12));
  connect(btnSensor, &QToolButton::clicked, this, [this] { btnSensorClick(); });

  btnID1 = new BoardSelector(pnlSensor);
  btnID1->setObjectName("btnID1");
  cmbSens = new QComboBox(pnlSensor);
  cmbSens->setObjectName("cmbSens");
  for (int c = 1; c <= 10; ++c) cmbSens->addItem(QStringLiteral("CN%1").arg(c));
  lblSensSym = nameLabel("lblSensSym", pnlSensor);
  btnIsUpper = new QPushButton("<", pnlSensor);
  btnIsUpper->setObjectName("btnIsUpper");
  btnIsUpper->setAutoDefault(false);
  btnIsUpper->setFixedWidth(40);
  btnID2 = new BoardSelector(pnlSensor);
  btnID2->setObjectName("btnID2");
  cmbVar = new QComboBox(pnlSensor);
  cmbVar->setObjectName("cmbVar");
  cmbVar->setMaxVisibleItems(16);
  cmbVar->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  lblVarSym = nameLabel("lblVarSym", pnlSensor);

  pnlSlider = new QWidget(pnlSensor);
  pnlSlider->setObjectName("pnlSlider");
  auto* sliderRow = new QHBoxLayout(pnlSlider);
  sliderRow->setContentsMargins(0, 0, 0, 0);
  sliderRow->setSpacing(4);
  btn10Down = stepButton("btn10Down", "-10", pnlSlider);
  btn1Down = stepButton("btn1Down", "-1", pnlSlider);
  tBar = new QSlider(Qt::Horizontal, pnlSlider);
  tBar->setObjectName("tBar");
  tBar->setRange(0, 100);
  tBar->setTickInterval(10);
  tBar->setPageStep(10);
  tBar->setTickPosition(QSlider::TicksBelow);
  tBar->setMinimumWidth(160);
  btn1Up = stepButton("btn1Up", "+1", pnlSlider);
  btn10Up = stepButton("btn10Up", "+10", pnlSlider);
  for (QWidget* w : std::initializer_list<QWidget*>{btn10Down, btn1Down, tBar, btn1Up, btn10Up}) sliderRow->addWidget(w);

  grid->addWidget(btnSensor, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(btnID1, 0, 1);
  grid->addWidget(cmbSens, 0, 2);
  grid->addWidget(lblSensSym, 1, 2);
  grid->addWidget(btnIsUpper, 0, 3);
  grid->addWidget(btnID2, 0, 4);
  grid->addWidget(cmbVar, 0, 5);
  grid->addWidget(lblVarSym, 1, 5);
  grid->addWidget(pnlSlider, 0, 6);
  grid->setColumnStretch(7, 1);

  connect(tBar, &QSlider::valueChanged, this, [this] { tBarChange(); });
  connect(btn10Down, &QPushButton::clicked, this, [this] { btn10DownClick(); });
  connect(btn1Down, &QPushButton::clicked, this, [this] { btn1DownClick(); });
  connect(btn1Up, &QPushButton::clicked, this, [this] { btn1UpClick(); });
  connect(btn10Up, &QPushButton::clicked, this, [this] { btn10UpClick(); });
  connect(btnIsUpper, &QPushButton::clicked, this, [this] { btnIsUpperClick(); });
  connect(cmbSens, &QComboBox::activated, this, [this] { cmbSensCloseUp(); });
  connect(cmbVar, &QComboBox::activated, this, [this] { cmbVarCloseUp(); });
  btnID2->onChosen = [this](int) { btnOk->setFocus(Qt::OtherFocusReason); };
  btnID1->onChosen = btnID2->onChosen;
  focusOkOnEnter(tBar);

  baseLayout()->addWidget(pnlSensor);
  baseLayout()->addWidget(makeCommentRow());
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

void TfrmSensor::applyLanguage() {
  StatementDialog::applyLanguage();
  pnlSensor->setTitle(msg(107));
}

bool TfrmSensor::interrupt() const { return ctx_.programs.current == ProgramSet::kInterruptSub; }

// The interrupt routine reads no sub I/O boards, so it offers no board selectors.
bool TfrmSensor::boards() const { return subIoMode(ctx_.io) && !interrupt(); }

int TfrmSensor::connectorMode() const {
  const int c = cmbSens->currentIndex();
  return c >= 0 && c < 10 ? ctx_.io.cnMode[static_cast<std::size_t>(c)] : Input;
}

void TfrmSensor::FormShow() {
  applyLanguage();
  const bool touchTest = ctx_.edit.cno == kSensorTestOld;
  for (QWidget* w : std::initializer_list<QWidget*>{cmbSens, lblSensSym, btnIsUpper, cmbVar, lblVarSym, pnlSlider}) {
    w->setVisible(!touchTest);
  }
  lblSensSym->clear();
  lblVarSym->clear();
  btnID1->hide();
  btnID2->hide();
  if (touchTest) {
    touch_ = touchSensorOf(ctx_.edit.val1);
    showTouch();
    loadComment();
    btnOk->setFocus(Qt::OtherFocusReason);
    return;
  }

  {
    const QSignalBlocker block(cmbVar);
    cmbVar->clear();
    cmbVar->addItem(QString());
    for (int n = 1; n <= 26; ++n) cmbVar->addItem(QStringLiteral("%1 %2").arg(msg(130), QChar('A' + n - 1)));
    for (int c = 1; c <= 10; ++c) cmbVar->addItem(QStringLiteral("CN%1").arg(c));
  }
  const SensorComparison c = sensorComparisonOf(ctx_.edit.val0, ctx_.edit.val1, ctx_.edit.val2);
  {
    const QSignalBlocker block(tBar);
    tBar->setValue(c.setValue);
  }
  btnSensor->setIcon(glyphs_.forKind(kSensorTest));
  cmbSens->setCurrentIndex(c.connector);
  lblSensSym->setText(QString::fromStdString(sensorConnectorName(ctx_.io, c.connector, interrupt())));
  cmbVar->setCurrentIndex(c.operand);
  if (boards()) {
    btnID1->show();
    btnID1->setBoard(c.sensorBoard);
    btnID2->setBoard(c.operandBoard);
  }
  layoutForOperand();
  comparison_ = c.comparison;
  btnIsUpper->setText(QString::fromStdString(sensorComparisonCaption(comparison_)));
  loadComment();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSensor::setValueCaption() {
  cmbVar->setItemText(0, QString::fromStdString(sensorSetValueCaption(tBar->value(), connectorMode(), interrupt())));
  cmbVar->setCurrentIndex(0);
}

void TfrmSensor::layoutForOperand() {
  const int operand = cmbVar->currentIndex();
  if (operand <= 0) {
    btnID2->hide();
    setValueCaption();
    pnlSlider->show();
    lblVarSym->clear();
  } else {
    pnlSlider->hide();
    btnID2->setVisible(boards());
    const bool connector = operand >= kSensorOperandFirstConnector;
    lblVarSym->setText(connector ? QString::fromStdString(sensorConnectorName(
                                       ctx_.io, operand - kSensorOperandFirstConnector, interrupt()))
                                 : QString());
  }
  if (isVisible()) fitToContents();
}

void TfrmSensor::tBarChange() { setValueCaption(); }

void TfrmSensor::step(int delta, bool focusOk) {
  tBar->setValue(tBar->value() + delta);
  setValueCaption();
  layoutForOperand();
  if (focusOk) btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSensor::btn10DownClick() { step(-10, false); }
void TfrmSensor::btn1DownClick() { step(-1, true); }
void TfrmSensor::btn1UpClick() { step(1, true); }
void TfrmSensor::btn10UpClick() { step(10, true); }

void TfrmSensor::btnIsUpperClick() {
  comparison_ = nextSensorComparison(comparison_);
  btnIsUpper->setText(QString::fromStdString(sensorComparisonCaption(comparison_)));
}

void TfrmSensor::cmbVarCloseUp() {
  layoutForOperand();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSensor::cmbSensCloseUp() {
  const QString name = QString::fromStdString(sensorConnectorName(ctx_.io, cmbSens->currentIndex(), interrupt()));
  // The comment usually held the old connector's name.
  if (lblSensSym->text() != name) edtCmt->clear();
  lblSensSym->setText(name);
  layoutForOperand();
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSensor::btnSensorClick() {
  if (ctx_.edit.cno != kSensorTestOld) return;
  touch_ = nextTouchSensor(touch_);
  showTouch();
}

void TfrmSensor::showTouch() {
  // One touch glyph, marked with the side of the sensor.
  QPixmap pixmap = glyphs_.forKind(kSensorTestOld).pixmap(kGlyphSize);
  if (pixmap.isNull()) pixmap = QPixmap(kGlyphSize);
  QPainter p(&pixmap);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(kGlyphSize.height() / 2);
  p.setFont(f);
  p.setPen(Qt::black);
  static const char* const kSide[] = {"L", "R", "C"};
  p.drawText(pixmap.rect().adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignBottom, kSide[touch_]);
  p.end();
  btnSensor->setIcon(QIcon(pixmap));
}

void TfrmSensor::btnOkClick() {
  ctx_.edit.val2 = 0;
  if (ctx_.edit.cno == kSensorTestOld) {
    ctx_.edit.val0 = 0;
    ctx_.edit.val1 = touch_;
  } else {
    SensorComparison c;
    c.setValue = tBar->value();
    c.operand = std::max(cmbVar->currentIndex(), 0);
    c.connector = std::max(cmbSens->currentIndex(), 0);
    c.comparison = comparison_;
    c.sensorBoard = boards() ? btnID1->board() : 0;
    c.operandBoard = boards() ? btnID2->board() : 0;
    const SensorValues v = packSensorComparison(c, subIoMode(ctx_.io));
    ctx_.edit.val0 = v.val0;
    ctx_.edit.val1 = v.val1;
    ctx_.edit.val2 = v.val2;
    if (edtCmt->text().isEmpty() && !interrupt()) {
      edtCmt->setText(QString::fromStdString(sensorConnectorName(ctx_.io, c.connector, false)));
    }
  }
  storeComment();
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
