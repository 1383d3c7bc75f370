#include "editor/TfrmProg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

#include "app/Glyphs.h"
#include "build/ErrorPosition.h"
#include "codegen/CodeGenerator.h"
#include "editor/Palette.h"
#include "app/Prompts.h"
#include "app/TfrmMain.h"
#include "dialogs/DialogSet.h"
#include "dialogs/StatementDialog.h"
#include "editor/CodeEditor.h"
#include "editor/EditMenu.h"
#include "editor/RowClipboard.h"
#include "editor/RowView.h"
#include "editor/StatementEditing.h"
#include "model/RowText.h"
#include "model/StatementKind.h"
#include "shell/ShellTexts.h"
#include "text/Format.h"

namespace kavel::gui {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TfrmProg::TfrmProg(TfrmMain& main, Context& ctx, int number, QWidget* parent)
    : QWidget(parent), main_(main), ctx_(ctx), number_(number) {
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
  connect(memoCode_, &CodeEditor::caretMoved, this, [this] { updateStatus(); });

  setFocusProxy(rowView_);
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
  return qs(composeRowText(rows[static_cast<std::size_t>(row)], main_.rowTextContext(number_)));
}

QIcon TfrmProg::glyphFor(const Statement& row) const { return main_.glyphs().forRow(row.sno, row.cno); }

bool TfrmProg::rowPressed(int row) const {
  return row >= 0 && row < static_cast<int>(pressed_.size()) && pressed_[static_cast<std::size_t>(row)];
}

bool TfrmProg::gridOn() const { return main_.gridOn(); }

QColor TfrmProg::workspaceColour() const {
  const std::uint32_t c = ctx_.settings.WSCOLOR;  // 0x00BBGGRR
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

int TfrmProg::armedKind() const { return main_.pnlButton() ? main_.pnlButton()->armedKind() : -1; }

int TfrmProg::rowCount() const {
  if (codeStyle_) return memoCode_->document()->isEmpty() ? 0 : memoCode_->document()->blockCount();
  return static_cast<int>(program().size());
}

// --- status, title ----------------------------------------------------------------------------

void TfrmProg::updateStatus() {
  const Program& p = program();
  const int count = rowCount();
  if (!p.modified && count == 0) {
    for (QLabel* l : panels_) l->clear();
    return;
  }
  if (codeStyle_) {
    panels_[0]->setText(qs(caretPositionText(memoCode_->caretLine(), memoCode_->caretColumn())));
  } else {
    panels_[0]->setText(qs(rowPositionText(rowView_->selected() + 1, count)));
  }
  panels_[1]->setText(p.modified ? qs(ctx_.messages(78)) : count > 0 ? qs(ctx_.messages(77)) : QString());
  panels_[2]->setText(qs(p.statusText));
}

void TfrmProg::showPosition(int row) {
  if (!codeStyle_ && row >= 0) rowView_->setSelected(row, false);
  updateStatus();
}

void TfrmProg::refreshTitle() {
  setWindowTitle(qs(program().caption()));
  if (QMdiSubWindow* sub = main_.subWindow(number_)) sub->setWindowTitle(windowTitle());
}

void TfrmProg::applyLanguage() {
  updateStatus();
  rowView_->viewport()->update();
}

void TfrmProg::setModified(bool modified) {
  Program& p = program();
  p.modified = modified;
  if (!modified && rowCount() == 0) {
    p.statusText.clear();
    p.titleName = number_ == 0 ? main_.nextNewFileName() : text::format("SubFile-%02d", number_);
    refreshTitle();
  }
  updateStatus();
  if (modified && codeViewVisible() && ctx_.programs.current == number_) regenerateCodeView();
  main_.modifiedChanged();
}

void TfrmProg::rowsChanged() {
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
    if (n > 0 && n != number_) main_.closeProgramWindow(n);
  }
  rowsChanged();
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
    if (n > 0 && n != number_) main_.closeProgramWindow(n);
  }
  rowsChanged();
}

// --- clicks -------------------------------------------------------------------------------------

void TfrmProg::refuse(int message) {
  main_.prompts().ask(this, PromptIcon::Warning, qs(ctx_.messages(44)), qs(ctx_.messages(message)),
                      PromptButtons::Ok);
}

void TfrmProg::iconClick(int row) {
  const Program& p = program();
  if (row < 0 || row >= static_cast<int>(p.size())) return;
  showPosition(row);
  const int kind = armedKind();
  if (kind >= 0) {
    if (p.insertionAllowed(static_cast<std::size_t>(row), kind)) {
      main_.disarm();
      insertStatement(row, kind);
    } else {
      refuse(122);
    }
    return;
  }
  if (p.rows()[static_cast<std::size_t>(row)].sno == kEnd && ctx_.clipboard.empty()) return;
  openPopup(row);
}

void TfrmProg::layoutClick() {
  const Program& p = program();
  const int count = static_cast<int>(p.size());
  const int kind = armedKind();
  if (kind >= 0) {
    if (!p.insertionAllowed(p.size(), kind)) {
      refuse(122);
      return;
    }
    main_.disarm();
    rowView_->centreOn(count);
    insertStatement(count, kind);
    return;
  }
  if (!ctx_.clipboard.empty()) {
    rowView_->centreOn(count);
    showPosition(count);
    openPopup(count);
  }
}

void TfrmProg::valueClick(int row) {
  const Program& p = program();
  if (row < 0 || row >= static_cast<int>(p.size())) return;
  showPosition(row);
  const Statement& s = p.rows()[static_cast<std::size_t>(row)];
  if (!hasValueButton(s.sno)) return;
  ctx_.edit = EditBuffer{s.sno, 0, s.cno, s.val0, s.val1, s.val2, s.cmt};
  runEdit(static_cast<std::size_t>(row));
}

void TfrmProg::keyDelete() {
  const int row = rowView_->selected();
  if (row >= static_cast<int>(program().size())) return;
  if (editMenuState(program().rows()[static_cast<std::size_t>(row)].sno, ctx_.clipboard).remove) deleteRows(row);
}

void TfrmProg::keyCut() {
  const int row = rowView_->selected();
  if (row >= static_cast<int>(program().size())) return;
  if (editMenuState(program().rows()[static_cast<std::size_t>(row)].sno, ctx_.clipboard).cut) cutRows(row);
}

void TfrmProg::keyCopy() {
  const int row = rowView_->selected();
  if (row >= static_cast<int>(program().size())) return;
  if (editMenuState(program().rows()[static_cast<std::size_t>(row)].sno, ctx_.clipboard).copy) copyRows(row);
}

void TfrmProg::keyPaste() {
  if (!ctx_.clipboard.empty()) pasteRows(rowView_->selected());
}

void TfrmProg::keyEscape() { main_.disarm(); }

// --- popup menu ---------------------------------------------------------------------------------

void TfrmProg::buildPopup() {
  pmEdit_ = new QMenu(this);
  pmEdit_->setObjectName("pmEdit");
  const auto add = [this](const char* name, void (TfrmProg::*handler)()) {
    QAction* a = pmEdit_->addAction(QString());
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  pmChangeCondition_ = add("pmChangeCondition", &TfrmProg::pmChangeConditionClick);
  pmCut_ = add("pmCut", &TfrmProg::pmCutClick);
  pmCopy_ = add("pmCopy", &TfrmProg::pmCopyClick);
  pmPaste_ = add("pmPaste", &TfrmProg::pmPasteClick);
  pmDelete_ = add("pmDelete", &TfrmProg::pmDeleteClick);
  pmEdit_->addSeparator();
  pmDiscard_ = add("pmDiscard", &TfrmProg::pmDiscardClick);
  pmCancel_ = add("pmCancel", &TfrmProg::pmCancelClick);
  pmPaste_->setEnabled(false);
}

void TfrmProg::preparePopup(int row) {
  const Program& p = program();
  popupRow_ = std::clamp(row, 0, static_cast<int>(p.size()));
  const int kind = popupRow_ < static_cast<int>(p.size()) ? p.rows()[static_cast<std::size_t>(popupRow_)].sno : kEnd;
  const EditMenuState m = editMenuState(kind, ctx_.clipboard);
  const std::pair<QAction*, int> captions[] = {{pmChangeCondition_, 115}, {pmCut_, 116},    {pmCopy_, 117},
                                               {pmPaste_, 118},           {pmDelete_, 119}, {pmDiscard_, 120},
                                               {pmCancel_, 121}};
  for (const auto& [action, message] : captions) action->setText(qs(ctx_.messages(message)));
  pmChangeCondition_->setEnabled(m.changeCondition);
  pmCut_->setEnabled(m.cut);
  pmCopy_->setEnabled(m.copy);
  pmPaste_->setEnabled(m.paste);
  pmDelete_->setEnabled(m.remove);
  pmDiscard_->setEnabled(m.discard);
  pmCancel_->setEnabled(m.cancel);
}

void TfrmProg::openPopup(int row) {
  preparePopup(row);
  const LayoutOrigin origin = layoutOrigin();
  const ScreenPoint at = popupRow_ < static_cast<int>(program().size())
                             ? popupPositionForRow(origin, rowView_->iconRect(popupRow_).x(),
                                                   rowView_->iconRect(popupRow_).y())
                             : popupPositionAfterLastRow(origin, popupRow_);
  pmEdit_->popup(QPoint(at.x, at.y));
}

void TfrmProg::pmChangeConditionClick() { changeCondition(popupRow_); }
void TfrmProg::pmCutClick() { cutRows(popupRow_); }
void TfrmProg::pmCopyClick() { copyRows(popupRow_); }
void TfrmProg::pmPasteClick() { pasteRows(popupRow_); }
void TfrmProg::pmDeleteClick() { deleteRows(popupRow_); }
void TfrmProg::pmDiscardClick() { discardClipboard(); }
void TfrmProg::pmCancelClick() { cancelCopy(); }

// --- clipboard and deleting ---------------------------------------------------------------------

void TfrmProg::cutRows(int row) {
  if (row < 0 || row >= static_cast<int>(program().size())) return;
  // A cut after anything but a cut in this window starts a new clipboard.
  if (clipMark_ != ClipMark::Cut) main_.clearClipboard();
  copyBlockToClipboard(program(), static_cast<std::size_t>(row), ctx_.clipboard);
  removeBlock(static_cast<std::size_t>(row));
  setModified(true);
  clipMark_ = ClipMark::Cut;
  main_.updateCursor();
}

void TfrmProg::copyRows(int row) {
  if (row < 0 || row >= static_cast<int>(program().size())) return;
  if (clipMark_ != ClipMark::Copy) main_.clearClipboard();
  copyBlockToClipboard(program(), static_cast<std::size_t>(row), ctx_.clipboard);
  markBlock(static_cast<std::size_t>(row), true);
  clipMark_ = ClipMark::Copy;
  main_.updateCursor();
}

bool TfrmProg::pasteRows(int row) {
  if (ctx_.clipboard.empty()) return false;
  Program& p = program();
  const std::size_t at = static_cast<std::size_t>(std::clamp(row, 0, static_cast<int>(p.size())));
  if (!pasteAllowed(p, at, ctx_.clipboard)) {
    refuse(124);
    return false;
  }
  main_.clearMarksInAllWindows();
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const std::size_t n = kavel::pasteRows(p, at, ctx_.clipboard, number_);
  insertMarks(at, n);
  setModified(true);
  rowView_->centreOn(static_cast<int>(at));
  rowView_->setSelected(static_cast<int>(at), false);
  rowsChanged();
  QGuiApplication::restoreOverrideCursor();
  main_.updateCursor();
  return true;
}

void TfrmProg::deleteRows(int row) {
  if (row < 0 || row >= static_cast<int>(program().size())) return;
  const std::size_t r = static_cast<std::size_t>(row);
  if (main_.deleteQuery()) {
    const std::vector<char> before = pressed_;
    markBlock(r, true);
    const Answer a = main_.prompts().ask(this, PromptIcon::Warning, qs(ctx_.messages(45)),
                                         qs(ctx_.messages(123)), PromptButtons::YesNo);
    if (a != Answer::Yes) {
      pressed_ = before;
      rowView_->viewport()->update();
      return;
    }
  }
  removeBlock(r);
  setModified(true);
}

void TfrmProg::discardClipboard() {
  if (ctx_.clipboard.empty()) return;
  main_.clearClipboard();
}

void TfrmProg::cancelCopy() {
  if (clipMark_ != ClipMark::Copy) return;
  std::fill(pressed_.begin(), pressed_.end(), 0);
  rowView_->viewport()->update();
}

// --- inserting and editing ----------------------------------------------------------------------

void TfrmProg::insertStatement(int row, int kind) {
  Program& p = program();
  const std::size_t at = static_cast<std::size_t>(std::clamp(row, 0, static_cast<int>(p.size())));
  p.insertStatement(at, kind);
  insertMarks(at, rowsCreatedWith(kind));
  ctx_.edit = insertionBuffer(kind);
  rowView_->setSelected(static_cast<int>(at), false);
  setModified(true);
  rowsChanged();
  if (kind == kIf || kind == kElseIf || kind == kWhile) {
    changeCondition(static_cast<int>(at));
  } else if (opensDialogOnInsertion(kind)) {
    runEdit(at);
  }
}

void TfrmProg::editRow(int row) { valueClick(row); }

QPoint TfrmProg::dialogPos(std::size_t row, const QSize& dialogSize) const {
  const QScreen* screen = QGuiApplication::screenAt(main_.geometry().center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  ScreenArea area;
  if (screen) {
    area.height = screen->geometry().height();
    area.desktopLeft = screen->virtualGeometry().left();
    area.desktopWidth = screen->virtualGeometry().width();
  }
  const QRect icon = rowView_->iconRect(static_cast<int>(row));
  const ScreenPoint p = dialogPosition(layoutOrigin(), icon.x(), icon.y(), dialogSize.width(), dialogSize.height(), area);
  return {p.x, p.y};
}

void TfrmProg::runEdit(std::size_t row) {
  const int cno = ctx_.edit.cno;
  const DialogKind kind = dialogForSubjectKind(cno);
  if (kind == DialogKind::None || row >= program().size()) return;
  prepareForDialog(ctx_.edit);
  StatementDialog* dialog = main_.dialogs().forSubjectKind(cno);
  const QSize size = dialog ? dialog->sizeHint() : QSize(320, 240);
  const EditOutcome outcome = main_.prompts().editStatement(this, kind, dialog, dialogPos(row, size));
  if (row >= program().size()) return;
  Statement& s = program().rows()[row];
  switch (outcome) {
    case EditOutcome::Ok:
      copyBack(cno, ctx_.edit, s);
      setModified(true);
      rowView_->viewport()->update();
      break;
    case EditOutcome::Cancel:
      if (neverConfirmed(s, rowText(static_cast<int>(row)).isEmpty(), cno)) removeBlock(row);
      break;
    case EditOutcome::Unavailable:
      break;  // the row stays as it is
  }
}

void TfrmProg::changeCondition(int row) {
  if (row < 0 || row >= static_cast<int>(program().size())) return;
  const std::size_t r = static_cast<std::size_t>(row);
  {
    const Statement& s = program().rows()[r];
    ctx_.edit.sno = s.sno;
    ctx_.edit.cno = s.cno;
  }
  StatementDialog* chooser = main_.dialogs().condition();
  const QSize size = chooser ? chooser->sizeHint() : QSize(320, 240);
  const EditOutcome outcome = main_.prompts().editStatement(this, DialogKind::Condition, chooser, dialogPos(r, size));
  if (outcome == EditOutcome::Unavailable || r >= program().size()) return;
  Statement& s = program().rows()[r];
  if (outcome == EditOutcome::Cancel) {
    if (s.cno == 0) removeBlock(r);
    return;
  }
  const int c = ctx_.edit.cno;
  ctx_.edit.sno = s.sno;
  if (c == s.cno && c != 0) {
    ctx_.edit.val0 = s.val0;
    ctx_.edit.val1 = s.val1;
    ctx_.edit.val2 = s.val2;
    ctx_.edit.cmt = s.cmt;
  } else {
    ctx_.edit.val0 = ctx_.edit.val1 = ctx_.edit.val2 = 0;
    ctx_.edit.cmt.clear();
  }
  if (c == kUnconditional) {
    s.cno = kUnconditional;
    s.val0 = ctx_.edit.val0;
    s.val1 = ctx_.edit.val1;
    s.val2 = ctx_.edit.val2;
    s.cmt = ctx_.edit.cmt;
    setModified(true);
    rowView_->viewport()->update();
  } else if (conditionHasDialog(c)) {
    runEdit(r);
  }
}

// --- files --------------------------------------------------------------------------------------

bool TfrmProg::readFile(const QString& path) {
  ProgramFileContext context = main_.fileContext();
  const ProgramFileHooks hooks = main_.fileHooks(*this);
  const ProgramFileResult r = readProgramFile(program(), path.toStdString(), context, hooks);
  pressed_.assign(program().size(), 0);
  clipMark_ = ClipMark::None;
  rowView_->setSelected(0, false);
  refreshTitle();
  rowsChanged();
  main_.modifiedChanged();
  if (!r.ok && !r.error.empty()) {
    main_.prompts().ask(this, PromptIcon::Warning, qs(ctx_.messages(44)), qs(r.error), PromptButtons::Ok);
  }
  return r.ok;
}

bool TfrmProg::writeFile(const QString& path) {
  const bool ok = writeProgramFile(program(), path.toStdString(), main_.fileContext());
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
  setModified(true);
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
  // The generator works on the current program; this window's view shows this program.
  const int current = ctx_.programs.current;
  ctx_.programs.current = number_;
  CodeBuffer view(CodeTarget::CodeView);
  CodeGenerator(ctx_).GenerateCode(view);
  ctx_.programs.current = current;
  const int scroll = memoView_->verticalScrollBar()->value();
  memoView_->setPlainText(qs(view.joined()));
  memoView_->verticalScrollBar()->setValue(scroll);
}

LayoutOrigin TfrmProg::layoutOrigin() const {
  const QPoint mainPos = main_.frameGeometry().topLeft();
  const QMdiSubWindow* sub = main_.subWindow(number_);
  const QPoint subPos = sub ? sub->pos() : QPoint();
  const QPoint layout = rowView_->layoutOffset();
  return {mainPos.x() + subPos.x() + layout.x(), mainPos.y() + subPos.y() + layout.y(), main_.paletteWidthIfLeft()};
}

void TfrmProg::closeEvent(QCloseEvent* event) {
  // The main window closes its windows itself; Main only goes out of the way.
  event->ignore();
  if (number_ == 0) {
    if (QMdiSubWindow* sub = main_.subWindow(0)) sub->showMinimized();
    return;
  }
  if (main_.mayCloseSubWindow(*this)) main_.closeProgramWindow(number_);
}

}  // namespace kavel::gui
