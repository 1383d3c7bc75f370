#include "gui/monitor/TfrmUssMoni.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "core/Context.h"
#include "core/monitor/UltrasonicLine.h"
#include "gui/app/QtText.h"
#include "gui/comm/SerialLink.h"

namespace kavel::gui {
namespace {

QLabel* valuePanel(const QString& name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setFrameShape(QFrame::StyledPanel);
  l->setFrameShadow(QFrame::Sunken);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont f = l->font();
  f.setFamily(QStringLiteral("monospace"));
  f.setStyleHint(QFont::Monospace);
  f.setPointSizeF(f.pointSizeF() * 1.4);
  f.setBold(true);
  l->setFont(f);
  l->setMinimumWidth(QFontMetrics(f).horizontalAdvance(QStringLiteral("0000cm")) + 12);
  return l;
}

}  // namespace

TfrmUssMoni::TfrmUssMoni(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent)
    : ModuleMonitor(ctx, link, prompts, parent) {
  setObjectName("frmUssMoni");
  setWindowTitle(QStringLiteral("4ch USS Monitor"));
  auto* row = new QHBoxLayout;
  for (int i = 0; i < 4; ++i) {
    const auto k = static_cast<std::size_t>(i);
    grpUss[k] = new QGroupBox(QStringLiteral("USS %1").arg(i + 1), this);
    grpUss[k]->setObjectName(QStringLiteral("grpUss%1").arg(i + 1));
    auto* g = new QGridLayout(grpUss[k]);
    edtName[k] = new QLineEdit(grpUss[k]);
    edtName[k]->setObjectName(QStringLiteral("edtName%1").arg(i + 1));
    edtName[k]->setAttribute(Qt::WA_InputMethodEnabled, true);
    pnlMm[k] = valuePanel(QStringLiteral("pnlMm%1").arg(i + 1), grpUss[k]);
    pnlCm[k] = valuePanel(QStringLiteral("pnlCm%1").arg(i + 1), grpUss[k]);
    pbDist[k] = new QProgressBar(grpUss[k]);
    pbDist[k]->setObjectName(QStringLiteral("pbDist%1").arg(i + 1));
    pbDist[k]->setRange(0, 100);
    pbDist[k]->setValue(0);
    pbDist[k]->setTextVisible(false);
    g->addWidget(edtName[k], 0, 0);
    g->addWidget(pnlMm[k], 1, 0);
    g->addWidget(pnlCm[k], 2, 0);
    g->addWidget(pbDist[k], 3, 0);
    row->addWidget(grpUss[k]);
  }
  contentLayout()->addLayout(row);
  finishLayout();
  connect(&link_, &SerialLink::ultrasonicLine, this, [this](const QString& line) {
    if (listening()) ussLine(line);
  });
}

bool TfrmUssMoni::listening() const { return st_.ussListening; }

void TfrmUssMoni::FormShow() {
  st_.ussListening = true;
  ModuleMonitor::FormShow();
  for (std::size_t i = 0; i < 4; ++i) {
    edtName[i]->setText(qs(ctx_.settings.ussName[i]));
    pnlMm[i]->clear();
    pnlCm[i]->clear();
    pbDist[i]->setValue(0);
  }
}

void TfrmUssMoni::ussLine(const QString& line) {
  const auto readings = readUltrasonicLine(line.toStdString());
  for (std::size_t i = 0; i < 4; ++i) {
    pnlMm[i]->setText(qs(readings[i].mmText));
    pnlCm[i]->setText(qs(readings[i].cmText));
    pbDist[i]->setValue(readings[i].bar);
  }
  setStatus(1, line);
}

void TfrmUssMoni::FormClose() {
  if (link_.isOpen()) link_.SendText(QStringLiteral("S3:0"));
  // Names edited here are kept, and saved with the settings at exit.
  for (std::size_t i = 0; i < 4; ++i) ctx_.settings.ussName[i] = edtName[i]->text().toStdString();
  st_.ussListening = false;
}

}  // namespace kavel::gui
