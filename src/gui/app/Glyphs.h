#pragma once
// The pictures of the statement kinds: palette buttons, row icons, dialog icon buttons and
// printing all use the same glyph for a kind.

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <map>

namespace kavel::gui {

class Glyphs {
 public:
  /// Loads the glyph files from `<programFolder>/glyphs/` (".svg", else ".png"). A missing
  /// or unreadable file gives a drawn stand-in, never an error.
  explicit Glyphs(const QString& programFolder);

  /// Glyph of a statement kind (palette buttons and rows). End rows: see forRow.
  QIcon forKind(int kind) const;

  /// Glyph of a row: an End row (kind 0) shows the end of the block its subject kind names
  /// (2 if-chain, 3 while, 4 for); other rows the glyph of their statement kind.
  QIcon forRow(int sno, int cno) const;

  /// The row glyph drawn at a given size (printing, painted rows): a pixmap of exactly that
  /// size with the glyph centred in it, its shape kept; null for an empty size.
  QPixmap pixmap(int sno, int cno, const QSize& size) const;

 private:
  QIcon load(const QString& name, const QString& fallbackLabel) const;
  QString folder_;
  mutable std::map<QString, QIcon> cache_;
};

}  // namespace kavel::gui
