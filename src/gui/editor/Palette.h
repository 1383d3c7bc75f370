#pragma once
// The statement palette (pnlButton): toggle buttons of which at most one is armed. The armed
// statement goes in front of the row the user clicks next in a program window.

#include <QWidget>

#include <array>

#include "core/editor/PaletteLayout.h"

class QToolButton;

namespace kavel {
struct IoSetup;
class MessageTable;
}  // namespace kavel

namespace kavel::gui {

class Glyphs;

class Palette : public QWidget {
  Q_OBJECT

 public:
  Palette(const Glyphs& glyphs, QWidget* parent);

  /// The kind of the armed button, or -1.
  int armedKind() const;
  /// Releases the armed button (no signal).
  void release();
  /// Clicks the button named `name` ("btnWhile") as the user would.
  void click(const QString& name);

  QToolButton* button(const QString& name) const;

  /// Shows the buttons by the setup flags and sizes the panel to two or three columns; an armed
  /// button that gets hidden is released (no signal).
  void refresh(const IoSetup& io);
  /// Enables the buttons for the current program; an armed button that gets disabled is
  /// released (no signal).
  void enableFor(int currentProgram);
  /// The hints in the current language.
  void applyLanguage(const MessageTable& messages);

 signals:
  /// The user clicked a button: `kind` is armed now, or -1 when the click released it.
  void armChanged(int kind);

 private:
  void onClicked(std::size_t index);

  std::array<QToolButton*, 21> buttons_{};
  int armed_ = -1;  // index into the button table
};

}  // namespace kavel::gui
