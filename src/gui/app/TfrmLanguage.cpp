#include "gui/app/TfrmLanguage.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>
#include <string>

#include "gui/app/WindowLook.h"
#include "core/i18n/MessagePaths.h"

namespace kavel::gui {

// Remembers the cell editor that is open, so that a text still being typed when the user
// saves or closes is not lost.
class TfrmLanguage::EditorTracker : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    editor_ = editor;
    return editor;
  }

  void commitOpenEditor() {
    if (editor_) emit commitData(editor_.data());
  }

 private:
  mutable QPointer<QWidget> editor_;
};

namespace {

constexpr int kWidth = 656;
constexpr int kHeight = 500;
constexpr std::array<int, 3> kColumnWidths{24, 300, 300};
const QString kOpenFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.Txt);;全てのﾌｧｲﾙ (*.*)");
const QString kSaveFilter = QStringLiteral("Text Files (*.Txt);;All Files (*.*)");

QTableWidgetItem* fixedItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  item->setBackground(QColor(224, 224, 224));
  return item;
}

// The number column is only 24 pixels wide: its texts get a smaller font to stay readable.
QTableWidgetItem* numberItem(const QString& text) {
  auto* item = fixedItem(text);
  QFont f = item->font();
  f.setPixelSize(10);
  item->setFont(f);
  item->setTextAlignment(Qt::AlignCenter);
  return item;
}

std::string& languagePath(AppSettings& s, int language) { return language == 0 ? s.LANG_0__ : s.LANG_1__; }

}  // namespace

TfrmLanguage::TfrmLanguage(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
  setObjectName("frmLanguage");
  setModal(true);
  setWindowTitle(QStringLiteral("二カ国語メッセージリスト"));
  resize(kWidth, kHeight);

  mnuMain = new QMenuBar(this);
  mmFile = mnuMain->addMenu("&File");
  mmOpen = mmFile->addAction("&Open");
  mmSave = mmFile->addAction("&Save");
  mmQuit = mmFile->addAction("&Quit");
  mmOpen->setObjectName("mmOpen");
  mmSave->setObjectName("mmSave");
  mmQuit->setObjectName("mmQuit");
  connect(mmOpen, &QAction::triggered, this, &TfrmLanguage::mmOpenClick);
  connect(mmSave, &QAction::triggered, this, &TfrmLanguage::mmSaveClick);
  connect(mmQuit, &QAction::triggered, this, &TfrmLanguage::mmQuitClick);

  gridMsg = new QTableWidget(kRows, kColumns, this);
  gridMsg->setObjectName("gridMsg");
  gridMsg->horizontalHeader()->hide();
  gridMsg->verticalHeader()->hide();
  gridMsg->verticalHeader()->setMinimumSectionSize(kRowHeight);
  gridMsg->horizontalHeader()->setMinimumSectionSize(kColumnWidths[0]);
  gridMsg->verticalHeader()->setDefaultSectionSize(kRowHeight);
  for (int c = 0; c < kColumns; ++c) gridMsg->setColumnWidth(c, kColumnWidths[static_cast<std::size_t>(c)]);
  gridMsg->setWordWrap(false);
  gridMsg->setTextElideMode(Qt::ElideNone);
  tracker_ = new EditorTracker(gridMsg);
  gridMsg->setItemDelegate(tracker_);

  gridMsg->setItem(0, 0, numberItem("No."));
  gridMsg->setItem(0, 1, fixedItem(QString::fromUtf8(MessageTable::columnTitle(0))));
  gridMsg->setItem(0, 2, fixedItem(QString::fromUtf8(MessageTable::columnTitle(1))));
  for (int r = 1; r < kRows; ++r) {
    gridMsg->setItem(r, 0, numberItem(QString::asprintf("%03d", r)));
    gridMsg->setItem(r, 1, new QTableWidgetItem);
    gridMsg->setItem(r, 2, new QTableWidgetItem);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(mnuMain);
  layout->addWidget(gridMsg);
}

void TfrmLanguage::FormShow() {
  for (int r = 1; r < kRows; ++r) {
    for (int language = 0; language < MessageTable::kLanguages; ++language) {
      gridMsg->item(r, language + 1)->setText(QString::fromStdString(ctx_.messages.text(language, r)));
    }
  }
}

void TfrmLanguage::copyGridToTable() {
  tracker_->commitOpenEditor();
  for (int r = 1; r < kRows; ++r) {
    for (int language = 0; language < MessageTable::kLanguages; ++language) {
      ctx_.messages.setText(language, r, gridMsg->item(r, language + 1)->text().toStdString());
    }
  }
}

QString TfrmLanguage::chooseFile(const FileRequest& request) {
  if (chooser_) return chooser_(request);
  if (request.kind == FileRequest::Kind::Open) {
    return QFileDialog::getOpenFileName(this, QString(), request.preset, request.filter);
  }
  return QFileDialog::getSaveFileName(this, QString(), request.preset, request.filter);
}

void TfrmLanguage::warn(const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void TfrmLanguage::mmOpenClick() {
  const QString chosen = chooseFile({FileRequest::Kind::Open, kOpenFilter,
                                     QString::fromStdString(ctx_.settings.LANG_0__)});
  if (chosen.isEmpty()) return;

  // Texts typed so far survive in the table for a language whose file turns out missing.
  copyGridToTable();
  const std::array<std::string, 2> oldPaths{ctx_.settings.LANG_0__, ctx_.settings.LANG_1__};
  moveMessagePaths(ctx_.settings, chosen.toStdString());

  QStringList problems;
  for (int language = 0; language < MessageTable::kLanguages; ++language) {
    std::array<std::string, MessageTable::kEntries> kept;
    for (int n = 0; n < MessageTable::kEntries; ++n) kept[static_cast<std::size_t>(n)] = ctx_.messages.text(language, n);
    std::string& path = languagePath(ctx_.settings, language);
    if (ctx_.messages.load(language, path)) continue;
    for (int n = 0; n < MessageTable::kEntries; ++n) ctx_.messages.setText(language, n, kept[static_cast<std::size_t>(n)]);
    const std::string& oldPath = oldPaths[static_cast<std::size_t>(language)];
    problems << QStringLiteral("Can't Open %1\n%2: the texts read before from %3 stay in use.")
                    .arg(QString::fromStdString(path), QString::fromUtf8(MessageTable::columnTitle(language)),
                         QString::fromStdString(oldPath));
    path = oldPath;
  }
  FormShow();
  if (!problems.isEmpty()) warn(problems.join(QStringLiteral("\n\n")));
}

void TfrmLanguage::mmSaveClick() {
  const QString chosen = chooseFile({FileRequest::Kind::Save, kSaveFilter,
                                     QString::fromStdString(ctx_.settings.LANG_0__)});
  if (chosen.isEmpty()) return;

  copyGridToTable();
  const std::array<std::string, 2> oldPaths{ctx_.settings.LANG_0__, ctx_.settings.LANG_1__};
  moveMessagePaths(ctx_.settings, chosen.toStdString());

  QStringList failed;
  for (int language = 0; language < MessageTable::kLanguages; ++language) {
    std::string& path = languagePath(ctx_.settings, language);
    if (ctx_.messages.write(language, path)) continue;
    failed << QString::fromStdString(path);
    path = oldPaths[static_cast<std::size_t>(language)];
  }
  if (!failed.isEmpty()) {
    warn(QStringLiteral("Can't Save %1\nCheck that the folder exists and may be written to, then save again.")
             .arg(failed.join(QStringLiteral(", "))));
  }
}

void TfrmLanguage::mmQuitClick() { reject(); }

void TfrmLanguage::done(int result) {
  copyGridToTable();
  QDialog::done(result);
}

void TfrmLanguage::showEvent(QShowEvent* event) {
  FormShow();
  centreOver(this, parentWidget());
  QDialog::showEvent(event);
}

}  // namespace kavel::gui
