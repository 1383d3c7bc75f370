#include "gui/app/TfrmComStandIn.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kavel::gui {

TfrmComStandIn::TfrmComStandIn(QWidget* parent) : QDialog(parent) {
  setObjectName("frmCom");
  setWindowTitle(QStringLiteral("Download"));
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(QStringLiteral("The communication settings are not available in this version yet."), this);
  text->setWordWrap(true);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(360, 110);
}

void TfrmComStandIn::FormDblClick() { emit maintenanceRequested(); }

void TfrmComStandIn::mouseDoubleClickEvent(QMouseEvent* event) {
  FormDblClick();
  QDialog::mouseDoubleClickEvent(event);
}

}  // namespace kavel::gui
