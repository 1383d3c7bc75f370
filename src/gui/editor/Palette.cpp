#include "gui/editor/Palette.h"

#include <QToolButton>

#include "gui/app/Glyphs.h"
#include "core/i18n/MessageTable.h"
#include "core/setup/IoSetup.h"

namespace kavel::gui {

Palette::Palette(const Glyphs& glyphs, QWidget* parent) : QWidget(parent) {
  setObjectName("pnlButton");
  const auto& table = paletteButtons();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const PaletteButton& b = table[i];
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(b.name.data(), static_cast<int>(b.name.size())));
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setGeometry(paletteButtonX(b.column), paletteButtonY(b.row), kPaletteButtonWidth, kPaletteButtonHeight);
    button->setIconSize(QSize(kPaletteButtonWidth - 6, kPaletteButtonHeight - 6));
    if (b.kind >= 0) button->setIcon(glyphs.forKind(b.kind));
    button->setToolTip(QString::fromUtf8(b.hint.data(), static_cast<int>(b.hint.size())));
    button->setProperty("kind", b.kind);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, i] { onClicked(i); });
    buttons_[i] = button;
  }
  setFixedSize(paletteWidth(false), paletteHeight());
}

int Palette::armedKind() const { return armed_ < 0 ? -1 : paletteButtons()[static_cast<std::size_t>(armed_)].kind; }

void Palette::release() {
  if (armed_ >= 0) buttons_[static_cast<std::size_t>(armed_)]->setChecked(false);
  armed_ = -1;
}

QToolButton* Palette::button(const QString& name) const {
  for (QToolButton* b : buttons_) {
    if (b->objectName() == name) return b;
  }
  return nullptr;
}

void Palette::click(const QString& name) {
  if (QToolButton* b = button(name); b && b->isEnabled()) b->click();
}

void Palette::onClicked(std::size_t index) {
  const int clicked = static_cast<int>(index);
  if (armed_ == clicked) {
    release();
  } else {
    release();
    armed_ = clicked;
    buttons_[index]->setChecked(true);
  }
  emit armChanged(armedKind());
}

void Palette::refresh(const IoSetup& io) {
  const auto& table = paletteButtons();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const bool shown = paletteButtonShown(table[i], io);
    buttons_[i]->setVisible(shown);
    if (!shown && armed_ == static_cast<int>(i)) release();
  }
  setFixedSize(paletteWidth(io.advancedMode), paletteHeight());
}

void Palette::enableFor(int currentProgram) {
  const auto& table = paletteButtons();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const bool enabled = paletteButtonEnabled(table[i], currentProgram);
    buttons_[i]->setEnabled(enabled);
    // A statement that may not go into this program cannot stay armed.
    if (!enabled && armed_ == static_cast<int>(i)) release();
  }
}

void Palette::applyLanguage(const MessageTable& messages) {
  const auto& table = paletteButtons();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].hintMessage > 0) buttons_[i]->setToolTip(QString::fromStdString(messages(table[i].hintMessage)));
  }
}

}  // namespace kavel::gui
