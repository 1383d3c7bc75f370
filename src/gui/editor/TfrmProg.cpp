#include "gui/editor/TfrmProg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTextBlock>
#include <QTextCursor>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/app/Glyphs.h"
#include "core/build/ErrorPosition.h"
#include "core/codegen/CodeGenerator.h"
#include "gui/editor/Palette.h"
#include "gui/app/Prompts.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/QtText.h"
#include "gui/app/Workbench.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/StatementDialog.h"
#include "gui/editor/CodeEditor.h"
#include "core/editor/EditMenu.h"
#include "core/editor/ProgramStatus.h"
#include "core/editor/RowClipboard.h"
#include "gui/editor/RowView.h"
#include "core/editor/StatementEditing.h"
#include "core/model/RowText.h"
#include "core/model/StatementKind.h"
#include "core/shell/ShellTexts.h"
#include "core/text/Format.h"

namespace kavel::gui {
TfrmProg::TfrmProg(Workbench& bench, Context& ctx, int number, QWidget* parent)
    : QWidget(parent), bench_(bench), ctx_(ctx), number_(number) {
  setObjectName(number == 0 ? QStringLiteral("frmProgMain") : QStringLiteral("frmProgSub%1").arg(number));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  splitter_ = new QSplitter(Qt::Horizontal, this);
  auto* editArea = new QWidget(splitter_);
  auto* editLayout = new QVBoxLayout(editArea);
  editLayout->setContentsMargins(0, 0, 0, 0);
  editLayout->setSpacing(0);
  rowView_ = new RowView(*this);
  editLayout->addWidget(rowView_);
  memoCode_ = new CodeEditor([this] { return ctx_.settings.TAB_Spc_; }, editArea);
  QPalette white = memoCode_->palette();
  white.setColor(QPalette::Base, Qt::white);
  memoCode_->setPalette(white);
  memoCode_->hide();
  editLayout->addWidget(memoCode_);

  memoView_ = new QPlainTextEdit(splitter_);
  memoView_->setObjectName("memoView");
  memoView_->setReadOnly(true);
  memoView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memoView_->setFont(memoCode_->font());
  memoView_->hide();
  splitter_->addWidget(editArea);
  splitter_->addWidget(memoView_);
  splitter_->setCollapsible(0, false);
  layout->addWidget(splitter_, 1);

  sBar_ = new QStatusBar(this);
  sBar_->setObjectName("sBar");
  sBar_->setSizeGripEnabled(false);
  const int widths[3] = {80, 60, 50};
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(sBar_);
    panels_[i]->setMinimumWidth(widths[i]);
    sBar_->addWidget(panels_[i], i == 2 ? 1 : 0);
  }
  layout->addWidget(sBar_);

  buildPopup();
  connect(memoCode_, &QPlainTextEdit::textChanged, this, &TfrmProg::onCodeChanged);
  connect(memoCode_->document(), &QTextDocument::modificationChanged, this, &TfrmProg::onCodeChanged);
  connect(memoCode_, &QPlainTextEdit::undoAvailable, this, [this] { bench_.notifyHistory(number_); });
  connect(memoCode_, &QPlainTextEdit::redoAvailable, this, [this] { bench_.notifyHistory(number_); });
  connect(memoCode_, &CodeEditor::caretMoved, this, [this] { updateStatus(); });

  setFocusProxy(rowView_);
  recorded_ = program().rows();
  refreshTitle();
  updateStatus();
}

TfrmProg::~TfrmProg() = default;

Program& TfrmProg::program() { return ctx_.programs[number_]; }
const Program& TfrmProg::program() const { return ctx_.programs[number_]; }

QString TfrmProg::panelText(int panel) const { return panel >= 0 && panel < 3 ? panels_[panel]->text() : QString(); }

// --- what the row view shows -------------------------------------------------------------------

QString TfrmProg::rowText(int row) const {
  const auto& rows = program().rows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return {};
  return qs(composeRowText(rows[static_cast<std::size_t>(row)], rowTextContextOf(ctx_, number_)));
}

QIcon TfrmProg::glyphFor(const Statement& row) const { return bench_.glyphs().forRow(row.sno, row.cno); }

const Glyphs& TfrmProg::glyphs() const { return bench_.glyphs(); }

bool TfrmProg::rowPressed(int row) const {
  return row >= 0 && row < static_cast<int>(pressed_.size()) && pressed_[static_cast<std::size_t>(row)];
}

bool TfrmProg::gridOn() const { return ctx_.options.grid; }

QColor TfrmProg::workspaceColour() const {
  const std::uint32_t c = ctx_.settings.WSCOLOR;  // 0x00BBGGRR
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

int TfrmProg::armedKind() const { return bench_.armedKind(); }

int TfrmProg::rowCount() const {
  if (codeStyle_) return memoCode_->document()->isEmpty() ? 0 : memoCode_->document()->blockCount();
  return static_cast<int>(program().size());
}

// --- status, title ----------------------------------------------------------------------------

void TfrmProg::updateStatus() {
  ProgramStatusInput in;
  in.modified = program().modified;
  in.count = rowCount();
  in.codeStyle = codeStyle_;
  in.selectedRow = rowView_->selected();
  in.caretLine = memoCode_->caretLine();
  in.caretColumn = memoCode_->caretColumn();
  in.statusText = program().statusText;
  const ProgramStatusTexts t = programStatusTexts(in, ctx_.messages);
  panels_[0]->setText(qs(t.position));
  panels_[1]->setText(qs(t.state));
  panels_[2]->setText(qs(t.file));
}

void TfrmProg::showPosition(int row) {
  if (!codeStyle_ && row >= 0) rowView_->setSelected(row, false);
  updateStatus();
}

void TfrmProg::selectRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  if (codeStyle_) {
    QTextCursor caret(memoCode_->document()->findBlockByNumber(row));
    memoCode_->setTextCursor(caret);
    memoCode_->ensureCursorVisible();
  } else {
    rowView_->setSelected(row, true);
  }
  updateStatus();
}

void TfrmProg::refreshTitle() {
  const QString caption = qs(program().caption());
  const bool renamed = caption != windowTitle();
  setWindowTitle(caption);
  if (QMdiSubWindow* sub = bench_.windows().subWindow(number_)) sub->setWindowTitle(windowTitle());
  // The code view names the program after its caption: a saved or renamed file shows at once.
  if (renamed && codeViewVisible()) regenerateCodeView();
}

void TfrmProg::applyLanguage() {
  updateStatus();
  rowView_->viewport()->update();
}

void TfrmProg::setModified(bool modified) {
  if (modified) {
    history_.resetClean();
  } else {
    history_.setClean();
  }
  if (codeStyle_) {
    loadingCode_ = true;
    memoCode_->document()->setModified(modified);
    loadingCode_ = false;
  }
  Program& p = program();
  if (!modified && rowCount() == 0) {
    p.statusText.clear();
    p.titleName = number_ == 0 ? bench_.nextNewFileName() : text::format("SubFile-%02d", number_);
    refreshTitle();
  }
  showModified(modified);
}

void TfrmProg::showModified(bool modified) {
  program().modified = modified;
  updateStatus();
  if (modified && codeViewVisible() && ctx_.programs.current == number_) regenerateCodeView();
  bench_.notifyModified(number_);
}

void TfrmProg::rowsChanged() {
  beginEdit();
  refreshRows();
}

void TfrmProg::refreshRows() {
  pressed_.resize(program().size(), 0);
  rowView_->setSelected(rowView_->selected(), false);
  rowView_->viewport()->update();
  updateStatus();
}

void TfrmProg::scrollToTopLeft() {
  rowView_->setVerticalPosition(0);
  rowView_->setHorizontalPosition(0);
}

// --- marks --------------------------------------------------------------------------------------

void TfrmProg::insertMarks(std::size_t at, std::size_t count) {
  pressed_.insert(pressed_.begin() + static_cast<std::ptrdiff_t>(std::min(at, pressed_.size())), count, 0);
}

void TfrmProg::eraseMarks(std::size_t first, std::size_t count) {
  if (first >= pressed_.size()) return;
  count = std::min(count, pressed_.size() - first);
  pressed_.erase(pressed_.begin() + static_cast<std::ptrdiff_t>(first),
                 pressed_.begin() + static_cast<std::ptrdiff_t>(first + count));
}

void TfrmProg::markBlock(std::size_t row, bool pressed) {
  if (row >= program().size()) return;
  pressed_.resize(program().size(), 0);
  const auto [first, last] = program().blockExtent(row);
  for (std::size_t r = first; r <= last; ++r) pressed_[r] = pressed ? 1 : 0;
  rowView_->viewport()->update();
}

void TfrmProg::clearMarks() {
  std::fill(pressed_.begin(), pressed_.end(), 0);
  clipMark_ = ClipMark::None;
  rowView_->viewport()->update();
}

// --- removing rows ------------------------------------------------------------------------------

void TfrmProg::removeBlock(std::size_t row) {
  Program& p = program();
  if (row >= p.size()) return;
  const auto [first, last] = p.blockExtent(row);
  std::vector<int> calls;
  for (std::size_t r = first; r <= last; ++r) {
    if (p.rows()[r].sno == kSubCall) calls.push_back(p.rows()[r].val0);
  }
  p.removeRows(first, last - first + 1);
  eraseMarks(first, last - first + 1);
  for (int n : calls) {
    if (n > 0 && n != number_) bench_.windows().close(n);
  }
  refreshRows();
  if (codeViewVisible()) regenerateCodeView();
}

bool TfrmProg::mayCloseCalledSubs(std::size_t row) {
  const Program& p = program();
  if (row >= p.size()) return true;
  const auto [first, last] = p.blockExtent(row);
  for (std::size_t r = first; r <= last; ++r) {
    const Statement& s = p.rows()[r];
    if (s.sno != kSubCall || s.val0 <= 0 || s.val0 == number_) continue;
    TfrmProg* sub = bench_.windows().prog(s.val0);
    if (sub && !bench_.windows().mayClose(*sub)) return false;
  }
  return true;
}

void TfrmProg::clearRows() {
  Program& p = program();
  std::vector<int> calls;
  for (const Statement& s : p.rows()) {
    if (s.sno == kSubCall) calls.push_back(s.val0);
  }
  p.clear();
  pressed_.clear();
  clipMark_ = ClipMark::None;
  rowView_->setSelected(0, false);
  for (int n : calls) {
    if (n > 0 && n != number_) bench_.windows().close(n);
  }
  resetHistory();
  refreshRows();
}

// --- files --------------------------------------------------------------------------------------

bool TfrmProg::readFile(const QString& path) { return readFile(path.toStdString()); }

bool TfrmProg::readFile(const std::string& path, bool reportDamage) {
  ProgramFileContext context = bench_.fileContext();
  const ProgramFileHooks hooks = bench_.windows().fileHooks(*this);
  const ProgramFileResult r = readProgramFile(program(), path, context, hooks);
  pressed_.assign(program().size(), 0);
  clipMark_ = ClipMark::None;
  rowView_->setSelected(0, false);
  refreshTitle();
  resetHistory();
  refreshRows();
  if (!r.ok && program().size() == 0) {
    // Nothing was read (the old-version question declined, the file gone): the window is an
    // empty new one, so that Save cannot offer the previous file's name or path.
    const std::string failure = r.error.empty() ? std::string() : program().statusText;
    program().path.clear();
    setModified(false);
    program().statusText = failure;
    updateStatus();
  }
  bench_.notifyModified(number_);
  const bool toldAlready = !reportDamage && r.outcome == ProgramFileOutcome::Damaged;
  if (!r.ok && !r.error.empty() && !toldAlready) {
    bench_.prompts().ask(this, PromptIcon::Warning, qs(ctx_.messages(44)), qs(r.error), PromptButtons::Ok);
  }
  return r.ok;
}

bool TfrmProg::writeFile(const QString& path) { return writeFile(path.toStdString()); }

bool TfrmProg::writeFile(const std::string& path) {
  const bool ok = writeProgramFile(program(), path, bench_.fileContext());
  refreshTitle();
  updateStatus();
  return ok;
}

// --- C-code style and code view -----------------------------------------------------------------

void TfrmProg::setCodeStyle(bool on) {
  codeStyle_ = on;
  rowView_->setVisible(!on);
  memoCode_->setVisible(on);
  setFocusProxy(on ? static_cast<QWidget*>(memoCode_) : rowView_);
  updateStatus();
}

std::vector<std::string> TfrmProg::codeLines() const {
  std::vector<std::string> lines;
  if (memoCode_->document()->isEmpty()) return lines;
  const QStringList parts = memoCode_->toPlainText().split(QLatin1Char('\n'));
  lines.reserve(static_cast<std::size_t>(parts.size()));
  for (const QString& l : parts) lines.push_back(l.toStdString());
  return lines;
}

void TfrmProg::setCodeLines(const std::vector<std::string>& lines) {
  QStringList parts;
  for (const std::string& l : lines) parts << qs(l);
  loadingCode_ = true;
  memoCode_->setPlainText(parts.join(QLatin1Char('\n')));
  loadingCode_ = false;
  updateStatus();
}

void TfrmProg::onCodeChanged() {
  if (loadingCode_ || !codeStyle_) return;
  // The editor's own undo history knows the saved text: undoing back to it clears the mark.
  showModified(memoCode_->document()->isModified());
}

void TfrmProg::setCodeViewVisible(bool visible) {
  memoView_->setVisible(visible);
  if (visible) {
    const int w = std::max(width(), 3);
    splitter_->setSizes({w - w / 3, w / 3});
    regenerateCodeView();
  }
}

bool TfrmProg::codeViewVisible() const { return !memoView_->isHidden(); }

void TfrmProg::regenerateCodeView() {
  CodeBuffer view(CodeTarget::CodeView);
  CodeGenerator(ctx_).GenerateCode(view, number_);
  const int scroll = memoView_->verticalScrollBar()->value();
  memoView_->setPlainText(qs(view.joined()));
  memoView_->verticalScrollBar()->setValue(scroll);
}

LayoutOrigin TfrmProg::layoutOrigin() const {
  const QPoint mainPos = window()->frameGeometry().topLeft();
  const QMdiSubWindow* sub = bench_.windows().subWindow(number_);
  const QPoint subPos = sub ? sub->pos() : QPoint();
  const QPoint layout = rowView_->layoutOffset();
  return {mainPos.x() + subPos.x() + layout.x(), mainPos.y() + subPos.y() + layout.y(), bench_.paletteWidthIfLeft()};
}

void TfrmProg::closeEvent(QCloseEvent* event) {
  // The main window closes its windows itself; Main only goes out of the way.
  event->ignore();
  if (number_ == 0) {
    if (QMdiSubWindow* sub = bench_.windows().subWindow(0)) sub->showMinimized();
    return;
  }
  if (bench_.windows().mayClose(*this)) bench_.windows().close(number_);
}

}  // namespace kavel::gui
