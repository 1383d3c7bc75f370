#include "gui/dialogs/TfrmSubProg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/model/StatementKind.h"
#include "core/model/SubCallRules.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/Glyphs.h"
#include "gui/app/Prompts.h"

namespace kavel::gui {
namespace {

constexpr QSize kGlyphSize(56, 36);
constexpr int kNameWidth = 240;

QString programFilter(int editStyle) {
  return editStyle == 1 ? QStringLiteral("C-Code (*.c);;All Files (*)") : QStringLiteral("Kavel (*.Kvl);;All Files (*)");
}

}  // namespace

TfrmSubProg::TfrmSubProg(Context& ctx, const Glyphs& glyphs, QWidget* parent, Prompts* prompts)
    : StatementDialog(ctx, parent), glyphs_(glyphs), prompts_(prompts) {
  setObjectName("TfrmSubProg");
  if (!prompts_) prompts_ = ownPrompts_ = new Prompts;
  FormCreate();
}

TfrmSubProg::~TfrmSubProg() { delete ownPrompts_; }

void TfrmSubProg::FormCreate() {
  auto* row = new QWidget(pnlBase);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  btnProg = new QToolButton(row);
  btnProg->setObjectName("btnProg");
  btnProg->setIconSize(kGlyphSize);
  btnProg->setFixedSize(kGlyphSize + QSize(12, 12));
  connect(btnProg, &QToolButton::clicked, this, [this] { btnProgClick(); });
  auto* right = new QVBoxLayout;
  auto* nameRow = new QHBoxLayout;
  auto* label = new ClickLabel(row);
  label->setObjectName("lblCmt");
  connect(label, &ClickLabel::doubleClicked, this, [this] { lblCmtDblClick(); });
  lblCmt = label;
  pnlFname = new QLabel(row);
  pnlFname->setObjectName("pnlFname");
  pnlFname->setFixedWidth(kNameWidth);
  pnlFname->setMinimumHeight(pnlFname->fontMetrics().height() + 8);
  pnlFname->setAutoFillBackground(true);
  QPalette black = pnlFname->palette();
  black.setColor(QPalette::Window, Qt::black);
  black.setColor(QPalette::WindowText, Qt::white);
  pnlFname->setPalette(black);
  pnlFname->setIndent(4);
  edtCmt = new QLineEdit(row);
  edtCmt->setObjectName("edtCmt");
  edtCmt->setFixedWidth(kNameWidth);
  edtCmt->setAttribute(Qt::WA_InputMethodEnabled, true);
  focusOkOnEnter(edtCmt);
  nameRow->addWidget(lblCmt);
  nameRow->addWidget(pnlFname);
  nameRow->addWidget(edtCmt);
  auto* checks = new QHBoxLayout;
  ckEdit = new QCheckBox(row);
  ckEdit->setObjectName("ckEdit");
  ckIntr = new QCheckBox(row);
  ckIntr->setObjectName("ckIntr");
  ckIntr->hide();
  checks->addWidget(ckEdit);
  checks->addWidget(ckIntr);
  checks->addStretch(1);
  right->addLayout(nameRow);
  right->addLayout(checks);
  layout->addWidget(btnProg);
  layout->addLayout(right, 1);
  baseLayout()->addWidget(row);
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

bool TfrmSubProg::isCall() const { return ctx_.edit.cno != kReturn; }

void TfrmSubProg::applyLanguage() {
  lblCmt->setText(isCall() ? QStringLiteral("File Name") : msg(125));
  ckEdit->setText(msg(128));
  ckIntr->setText(msg(129));
}

void TfrmSubProg::FormShow() {
  applyLanguage();
  const Statement& e = ctx_.edit;
  if (isCall()) {
    btnProg->setIcon(glyphs_.forKind(kSubCall));
    ckIntr->setChecked(e.val0 == ProgramSet::kInterruptSub);
    ckIntr->setVisible(ckIntr->isChecked());
    ckEdit->setChecked(ckIntr->isChecked() || e.cmt.empty());
    ckEdit->show();
    pnlFname->show();
    pnlFname->setText(QString::fromStdString(e.cmt));
    edtCmt->hide();
  } else {
    btnProg->setIcon(glyphs_.forKind(kReturn));
    ckIntr->hide();
    ckEdit->hide();
    pnlFname->hide();
    edtCmt->show();
    loadComment();
  }
  btnOk->setFocus(Qt::OtherFocusReason);
}

void TfrmSubProg::warn(const QString& text) {
  prompts_->ask(this, PromptIcon::Warning, QStringLiteral("Warning"), text, PromptButtons::Ok);
}

void TfrmSubProg::btnProgClick() {
  if (!isCall()) return;
  const QString picked = prompts_->openFileName(this, QString::fromStdString(ctx_.settings.DatPath_),
                                                programFilter(ctx_.settings.EdtStyle), pnlFname->text());
  if (picked.isEmpty()) return;
  const std::string edited = programNameOf(ctx_.programs.currentProgram().path);
  switch (checkSubPick(picked.toStdString(), ctx_.programs.main().path, edited)) {
    case SubPick::MainAsSub:
      warn(QStringLiteral("Can't Open MAIN as SUB"));
      return;
    case SubPick::InsideItself:
      warn(QStringLiteral("Can't Open Sub Inside Itself"));
      pnlFname->clear();
      return;
    case SubPick::Accepted:
      pnlFname->setText(QString::fromStdString(programNameOf(picked.toStdString())));
      return;
  }
}

void TfrmSubProg::lblCmtDblClick() {
  if (!isCall() || ctx_.io.interruptInUse) return;
  ckIntr->show();
  ckEdit->setChecked(true);
  if (isVisible()) fitToContents();
}

QString TfrmSubProg::pickedName() const {
  return QString::fromStdString(programNameOf(pnlFname->text().toStdString()));
}

bool TfrmSubProg::interruptChosen() const { return isCall() && ckIntr->isChecked(); }
bool TfrmSubProg::editChosen() const { return isCall() && ckEdit->isChecked(); }

void TfrmSubProg::btnOkClick() {
  if (!isCall()) {
    storeComment();
    StatementDialog::btnOkClick();
    return;
  }
  const std::string name = pickedName().toStdString();
  if (ctx_.programs.current != 0 && !mainCallsName(ctx_.programs, name)) {
    warn(QStringLiteral("Can't Open Undefined Sub-Program"));
    return;
  }
  ctx_.edit.cmt = name;
  if (ckIntr->isChecked()) {
    // The program window makes the call number 30; the flag marks the one interrupt routine.
    ctx_.io.interruptInUse = true;
  } else if (ctx_.edit.val0 == ProgramSet::kInterruptSub) {
    ctx_.edit.val0 = 0;
    ctx_.io.interruptInUse = false;
  }
  StatementDialog::btnOkClick();
}

}  // namespace kavel::gui
