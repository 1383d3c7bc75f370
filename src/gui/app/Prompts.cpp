#include "gui/app/Prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <vector>

#include "core/Context.h"
#include "gui/app/TfrmMsgBox.h"
#include "gui/app/TfrmStartup.h"
#include "gui/dialogs/StatementDialog.h"

namespace kavel::gui {
namespace {

QMessageBox::Icon boxIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Information: break;
  }
  return QMessageBox::Information;
}

}  // namespace

Answer Prompts::ask(QWidget* parent, PromptIcon icon, const QString& title, const QString& text,
                    PromptButtons buttons) {
  QMessageBox box(parent);
  box.setWindowTitle(title);
  box.setText(text);
  box.setIcon(boxIcon(icon));
  switch (buttons) {
    case PromptButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case PromptButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case PromptButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
  }
}

int Prompts::choose(QWidget* parent, PromptIcon icon, const QString& title, const QString& text,
                    const QStringList& buttons) {
  QMessageBox box(parent);
  box.setWindowTitle(title);
  box.setText(text);
  box.setIcon(boxIcon(icon));
  std::vector<QAbstractButton*> added;
  for (int i = 0; i < buttons.size(); ++i) {
    const bool last = i + 1 == buttons.size();
    added.push_back(box.addButton(buttons[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
  }
  if (!added.empty()) {
    box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
    box.setEscapeButton(added.back());
  }
  box.exec();
  for (std::size_t i = 0; i < added.size(); ++i) {
    if (box.clickedButton() == added[i]) return static_cast<int>(i);
  }
  return -1;
}

QString Prompts::openFileName(QWidget* parent, const QString& folder, const QString& filter, const QString& preset) {
  QFileDialog dialog(parent, QString(), folder, filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!preset.isEmpty()) dialog.selectFile(preset);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

QString Prompts::saveFileName(QWidget* parent, const QString& proposed, const QString& filter,
                              const QString& defaultSuffix) {
  const QFileInfo info(proposed);
  QFileDialog dialog(parent, QString(), info.absolutePath(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(defaultSuffix);
  dialog.selectFile(info.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

std::optional<QColor> Prompts::pickColor(QWidget* parent, const QColor& initial) {
  const QColor c = QColorDialog::getColor(initial, parent);
  if (!c.isValid()) return std::nullopt;
  return c;
}

bool Prompts::setUpPrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

EditOutcome Prompts::editStatement(QWidget* parent, DialogKind kind, StatementDialog* dialog, const QPoint& pos) {
  if (dialog == nullptr) {
    notAvailable(parent, QStringLiteral("The dialog %1").arg(QString::fromLatin1(dialogName(kind))));
    return EditOutcome::Unavailable;
  }
  return dialog->execAt(pos) ? EditOutcome::Ok : EditOutcome::Cancel;
}

void Prompts::chooseLanguage(QWidget* parent, Context& ctx) {
  // Made for this one showing; it cannot be left without a choice.
  TfrmStartup startup(ctx, parent);
  startup.exec();
}

bool Prompts::askMode(TfrmMsgBox& box, int tag) {
  box.setTag(tag);
  return box.exec() == QDialog::Accepted;
}

void Prompts::showModal(QDialog& dialog) { dialog.exec(); }

void Prompts::notAvailable(QWidget* parent, const QString& what) {
  ask(parent, PromptIcon::Information, QStringLiteral("Kavel"),
      QStringLiteral("%1 is not available in this version yet.").arg(what), PromptButtons::Ok);
}

}  // namespace kavel::gui
