#include "gui/dialogs/TfrmCondition.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/app/Glyphs.h"
#include "core/model/ConditionChoice.h"
#include "core/model/StatementKind.h"

namespace kavel::gui {
namespace {

constexpr QSize kGlyphSize(42, 27);

const char* buttonName(int kind) {
  switch (kind) {
    case kUnconditional: return "btnLoop";
    case kGreenLedOff: return "btnLed";
    case kSensorTest: return "btnSensor";
    case kTimer: return "btnTimer";
    case kVariable: return "btnVar";
    case kDirectionTest: return "btnDir";
    case kUltrasonic: return "btnUss";
    case kCameraTest: return "btnPixy";
    case kGamePadTest: return "btnSNX4410";
    case kOutput: return "btnOut";
    case kCCode: return "btnCode";
    default: return "";
  }
}

// The glyph a button shows: an endless loop looks like the while statement.
int glyphKind(int kind) { return kind == kUnconditional ? kWhile : kind; }

}  // namespace

TfrmCondition::TfrmCondition(Context& ctx, const Glyphs& glyphs, QWidget* parent)
    : StatementDialog(ctx, parent), glyphs_(glyphs) {
  setObjectName("TfrmCondition");
  FormCreate();
}

void TfrmCondition::FormCreate() {
  pnlCondition = new QGroupBox(pnlBase);
  pnlCondition->setObjectName("pnlCondition");
  // A new row focuses no button: the group box then holds the focus, so Enter chooses nothing.
  pnlCondition->setFocusPolicy(Qt::ClickFocus);
  auto* column = new QVBoxLayout(pnlCondition);
  column->setSpacing(4);
  for (const ConditionKindInfo& info : conditionKinds()) {
    auto* b = new QPushButton(pnlCondition);
    b->setObjectName(buttonName(info.kind));
    b->setIcon(glyphs_.forKind(glyphKind(info.kind)));
    b->setIconSize(kGlyphSize);
    b->setAutoDefault(false);
    b->setMinimumWidth(200);
    // Glyphs and captions line up down the column.
    b->setStyleSheet("text-align: left; padding: 4px 10px;");
    const int kind = info.kind;
    connect(b, &QPushButton::clicked, this, [this, kind] { btnConditionClick(kind); });
    column->addWidget(b);
    buttons_[info.kind] = b;
    captions_[info.kind] = info.message;
  }
  btnLoop = buttons_[kUnconditional];
  btnLed = buttons_[kGreenLedOff];
  btnSensor = buttons_[kSensorTest];
  btnTimer = buttons_[kTimer];
  btnVar = buttons_[kVariable];
  btnDir = buttons_[kDirectionTest];
  btnUss = buttons_[kUltrasonic];
  btnPixy = buttons_[kCameraTest];
  btnSNX4410 = buttons_[kGamePadTest];
  btnOut = buttons_[kOutput];
  btnCode = buttons_[kCCode];

  baseLayout()->addWidget(pnlCondition);
  baseLayout()->addWidget(makeButtonRow(false));
  btnCancel->setAutoDefault(false);
  applyLanguage();
}

QPushButton* TfrmCondition::button(int kind) const {
  const auto it = buttons_.find(kind);
  return it == buttons_.end() ? nullptr : it->second;
}

void TfrmCondition::applyLanguage() {
  pnlCondition->setTitle(msg(104));
  for (const auto& [kind, b] : buttons_) b->setText(msg(captions_[kind]));
}

void TfrmCondition::FormShow() {
  applyLanguage();
  const std::vector<int> offered =
      offeredConditionKinds(ctx_.edit.sno, ctx_.io, ctx_.programs.current);
  for (const auto& [kind, b] : buttons_) {
    b->setVisible(std::find(offered.begin(), offered.end(), kind) != offered.end());
  }
  QPushButton* current = button(conditionButtonFor(ctx_.edit.cno));
  if (current && !current->isHidden()) {
    current->setFocus(Qt::OtherFocusReason);
  } else {
    pnlCondition->setFocus(Qt::OtherFocusReason);
  }
}

void TfrmCondition::btnConditionClick(int kind) {
  ctx_.edit.cno = kind;
  accept();
}

}  // namespace kavel::gui
