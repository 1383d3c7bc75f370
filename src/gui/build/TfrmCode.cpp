#include "gui/build/TfrmCode.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/codegen/CCodeStatement.h"
#include "core/model/StatementKind.h"
#include "gui/app/Prompts.h"

namespace kavel::gui {
namespace {

constexpr int kWidth = 604;
constexpr int kStatementHeight = 304;
constexpr int kNumberWidth = 32;
constexpr int kTypeWidth = 120;
constexpr int kFixedColumns = 184;
constexpr int kValueColumn = 3;

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

TfrmCode::TfrmCode(Context& ctx, QWidget* parent, Prompts* prompts) : StatementDialog(ctx, parent), prompts_(prompts) {
  setObjectName("TfrmCode");
  if (!prompts_) prompts_ = ownPrompts_ = new Prompts;
  libraryPath_ = ctx.settings.programFolder + kCCodeLibFileName;
  FormCreate();
}

TfrmCode::~TfrmCode() { delete ownPrompts_; }

void TfrmCode::setLibraryPath(const std::string& path) {
  libraryPath_ = path;
  loaded_ = false;
}

void TfrmCode::FormCreate() {
  // A window of its own with a caption that the user may resize, not a borderless dialog.
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("C-Code Library"));
  layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  setPalette(QGuiApplication::palette());

  tabLib = new QTabWidget(pnlBase);
  tabLib->setObjectName("tabLib");
  const std::array<std::pair<const char*, const char*>, 3> tabs{
      {{"sGridFunc", "Function"}, {"sGridDef", "Defines"}, {"sGridVar", "Variable"}}};
  for (const auto& [name, caption] : tabs) {
    auto* table = new QTableWidget(0, 5, tabLib);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels({"No.", "Type", "Code", "Value", "Comment"});
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->installEventFilter(this);
    table->viewport()->installEventFilter(this);
    connect(table, &QTableWidget::cellDoubleClicked, this, [this] { btnCodeClick(); });
    tabLib->addTab(table, caption);
  }
  sGridFunc = static_cast<QTableWidget*>(tabLib->widget(0));
  sGridDef = static_cast<QTableWidget*>(tabLib->widget(1));
  sGridVar = static_cast<QTableWidget*>(tabLib->widget(2));
  connect(tabLib, &QTabWidget::currentChanged, this, [this] { applyColumnWidths(); });
  baseLayout()->addWidget(tabLib, 1);

  auto* codeRow = new QHBoxLayout;
  btnCode = new QPushButton(QStringLiteral("Code"), pnlBase);
  btnCode->setObjectName("btnCode");
  btnCode->setAutoDefault(false);
  connect(btnCode, &QPushButton::clicked, this, [this] { btnCodeClick(); });
  edtCode = new QLineEdit(pnlBase);
  edtCode->setObjectName("edtCode");
  edtCode->setAttribute(Qt::WA_InputMethodEnabled, false);
  focusOkOnEnter(edtCode);
  btnClear = new QPushButton(QStringLiteral("Clear"), pnlBase);
  btnClear->setObjectName("btnClear");
  btnClear->setAutoDefault(false);
  connect(btnClear, &QPushButton::clicked, this, [this] { btnClearClick(); });
  codeRow->addWidget(btnCode);
  codeRow->addWidget(edtCode, 1);
  codeRow->addWidget(btnClear);
  baseLayout()->addLayout(codeRow);

  auto* remarkRow = new QHBoxLayout;
  lblRemark = new QLabel(QStringLiteral("//"), pnlBase);
  lblRemark->setObjectName("lblRemark");
  edtRemark = new QLineEdit(pnlBase);
  edtRemark->setObjectName("edtRemark");
  edtRemark->setAttribute(Qt::WA_InputMethodEnabled, true);
  focusOkOnEnter(edtRemark);
  remarkRow->addWidget(lblRemark);
  remarkRow->addWidget(edtRemark, 1);
  baseLayout()->addLayout(remarkRow);
  baseLayout()->addWidget(makeButtonRow());
  applyLanguage();
}

QTableWidget* TfrmCode::grid(CCodeTable t) const {
  switch (t) {
    case CCodeTable::Defines: return sGridDef;
    case CCodeTable::Variable: return sGridVar;
    default: return sGridFunc;
  }
}

void TfrmCode::loadLibrary() {
  loaded_ = true;
  const CCodeLibResult r = ReadCCodeLibrary(libraryPath_, library_);
  fillTables();
  if (!r.ok) prompts_->ask(this, PromptIcon::Warning, qs(r.title), qs(r.text), PromptButtons::Ok);
}

void TfrmCode::fillTables() {
  for (CCodeTable t : {CCodeTable::Function, CCodeTable::Defines, CCodeTable::Variable}) {
    QTableWidget* table = grid(t);
    const auto& rows = library_.table(t);
    table->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
      const CCodeLibEntry& e = rows[static_cast<std::size_t>(i)];
      const QString cells[] = {qs(libraryRowNumber(i + 1)), qs(e.type), qs(e.code), qs(e.value), qs(e.comment)};
      for (int c = 0; c < 5; ++c) table->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
  }
  applyColumnWidths();
}

void TfrmCode::applyColumnWidths() {
  for (QTableWidget* table : {sGridFunc, sGridDef, sGridVar}) {
    // The share of the window the two fixed columns leave, measured inside the grid, so the
    // comment ends at the grid's edge rather than behind a scroll bar.
    const int inside = std::min(width() - kFixedColumns, table->viewport()->width() - kNumberWidth - kTypeWidth);
    const int rest = std::max(0, inside);
    const bool defines = table == sGridDef;
    table->setColumnWidth(0, kNumberWidth);
    table->setColumnWidth(1, kTypeWidth);
    table->setColumnHidden(kValueColumn, !defines);
    const int share = defines ? rest / 3 : rest / 2;
    table->setColumnWidth(2, share);
    table->setColumnWidth(kValueColumn, share);
    table->setColumnWidth(4, share);
  }
}

void TfrmCode::resizeEvent(QResizeEvent* event) {
  StatementDialog::resizeEvent(event);
  applyColumnWidths();
}

QSize TfrmCode::sizeHint() const {
  if (!browser_) return {kWidth, kStatementHeight};
  const QScreen* screen = QGuiApplication::primaryScreen();
  return {kWidth, screen ? screen->availableGeometry().height() * 2 / 3 : 480};
}

void TfrmCode::showStyle(bool browser) {
  browser_ = browser;
  setModal(!browser);
  edtCode->setVisible(!browser);
  btnClear->setVisible(!browser);
  lblRemark->setVisible(!browser);
  edtRemark->setVisible(!browser);
  btnOk->setVisible(!browser);
  btnCancel->setText(browser ? QStringLiteral("Close") : QStringLiteral("Cancel"));
  if (!loaded_) loadLibrary();
}

void TfrmCode::selectMatchingRow() {
  edtCode->deselect();
  edtCode->setCursorPosition(int(edtCode->text().size()));
  const CCodeLibRow found = selectLibraryRow(library_, edtCode->text().toStdString());
  QTableWidget* table = grid(found.table);
  tabLib->setCurrentWidget(table);
  if (found.row - 1 < table->rowCount()) table->selectRow(found.row - 1);
}

void TfrmCode::FormShow() {
  showStyle(false);
  const CCodeParts parts = splitCCodeComment(ctx_.edit.cmt);
  edtCode->setText(qs(parts.code));
  edtRemark->setText(qs(parts.remark));
  selectMatchingRow();
  resize(sizeHint());
  edtCode->setFocus(Qt::OtherFocusReason);
}

void TfrmCode::openBrowser(QPlainTextEdit* target, const QPoint& topLeft) {
  target_ = target;
  showStyle(true);
  edtCode->clear();
  selectMatchingRow();
  resize(sizeHint());
  placeAt(topLeft);
  show();
  raise();
}

void TfrmCode::btnCodeClick() {
  auto* table = qobject_cast<QTableWidget*>(tabLib->currentWidget());
  if (!table || table->currentRow() < 0) return;
  const QTableWidgetItem* item = table->item(table->currentRow(), 2);
  if (!item) return;
  const bool editsCondition = ctx_.edit.sno == kIf || ctx_.edit.sno == kElseIf || ctx_.edit.sno == kWhile;
  const QString text =
      qs(libraryInsertText(item->text().toStdString(), table == sGridFunc, !browser_ && editsCondition));
  if (browser_) {
    if (target_) {
      target_->textCursor().insertText(text);
      target_->setFocus(Qt::OtherFocusReason);
    }
    return;
  }
  edtCode->insert(text);
  edtCode->setFocus(Qt::OtherFocusReason);
}

void TfrmCode::btnClearClick() { edtCode->clear(); }

void TfrmCode::btnOkClick() {
  if (browser_) return;
  ctx_.edit.cmt = joinCCodeComment(edtCode->text().toStdString(), edtRemark->text().toStdString());
  StatementDialog::btnOkClick();
}

bool TfrmCode::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched->parent() && qobject_cast<QTableWidget*>(watched->parent())) {
    applyColumnWidths();
    return false;
  }
  if (event->type() == QEvent::KeyPress && qobject_cast<QTableWidget*>(watched)) {
    if (isEnter(static_cast<QKeyEvent*>(event)->key())) {
      btnCodeClick();
      return true;
    }
    return false;
  }
  return StatementDialog::eventFilter(watched, event);
}

}  // namespace kavel::gui
