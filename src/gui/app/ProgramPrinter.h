#pragma once
// Prints a program on paper (or into a PDF): statement rows as numbered glyph and text boxes,
// or C code as numbered lines, with file name, date and page number on every page. The
// caller shows the print dialog; this class only paints.

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

#include "core/Context.h"
#include "core/model/RowText.h"
#include "core/model/Statement.h"

class QPagedPaintDevice;

namespace kavel::gui {

class Glyphs;

struct PrintOptions {
  QString title;  // the program window's title: "File:" line and document name
  QFont font;     // the program window's font; its point size is kept on paper
  bool grid = false;
  QDateTime now = QDateTime::currentDateTime();  // the "Date:" line
};

class ProgramPrinter {
 public:
  explicit ProgramPrinter(const Glyphs& glyphs) : glyphs_(glyphs) {}

  /// Prints program `index` of the context's program set in statement style, its row texts
  /// in the current language. An empty title takes the program's caption. Returns the number
  /// of pages printed, 0 when the device could not be painted on.
  int printProgram(QPagedPaintDevice& device, const Context& ctx, int index, PrintOptions options) const;

  /// Prints rows in statement style with the given row-text settings.
  int printRows(QPagedPaintDevice& device, const std::vector<Statement>& rows,
                const RowTextContext& rowText, const PrintOptions& options) const;

  /// Prints text lines (the C-code style's Main program).
  int printLines(QPagedPaintDevice& device, const QStringList& lines, const PrintOptions& options) const;

  /// "<application title> - [ <window title> ]": the name of the print job.
  static QString documentTitle(const QString& windowTitle);

  /// The row-text settings of program `index` in the current language.
  static RowTextContext rowTextContext(const Context& ctx, int index);

 private:
  const Glyphs& glyphs_;
};

}  // namespace kavel::gui
