#include "gui/app/Glyphs.h"

#include "gui/app/SvgGlyphEngine.h"

#include <QFile>
#include <QPainter>

#include <memory>

namespace kavel::gui {
namespace {

// File base name and a short stand-in label per statement kind.
struct GlyphName {
  const char* file;
  const char* label;
};

GlyphName nameOf(int kind) {
  switch (kind) {
    case 1: return {"if", "IF"};
    case 2: return {"elseif", "ELIF"};
    case 3: return {"else", "ELSE"};
    case 4: return {"while", "WHILE"};
    case 5: return {"for", "FOR"};
    case 6: return {"continue", "CONT"};
    case 7: return {"break", "BRK"};
    case 8: return {"setup", "SETUP"};
    case 9: return {"subcall", "SUB"};
    case 10: return {"return", "RET"};
    case 13: return {"touch", "TOUCH"};
    case 14: return {"sensor", "SENS"};
    case 15: return {"direction", "DIR"};
    case 19: return {"motor_variable", "MOT"};
    case 20: return {"motor_stop", "STOP"};
    case 21: return {"motor_forward", "FWD"};
    case 22: return {"motor_backward", "BACK"};
    case 23: return {"spin_left", "SP-L"};
    case 24: return {"spin_right", "SP-R"};
    case 25: return {"turn_forward_left", "TF-L"};
    case 26: return {"turn_forward_right", "TF-R"};
    case 27: return {"turn_backward_left", "TB-L"};
    case 28: return {"turn_backward_right", "TB-R"};
    case 29: return {"wait", "WAIT"};
    case 30: return {"timer", "TIMER"};
    case 31: case 32: return {"variable", "VAR"};
    case 33: return {"ccode", "C"};
    case 34: return {"led_green_off", "LED"};
    case 35: return {"led_green_on", "LED"};
    case 36: return {"led_red_off", "LED"};
    case 37: return {"led_red_on", "LED"};
    case 38: return {"pwm", "PWM"};
    case 39: return {"servo", "SERVO"};
    case 40: return {"output", "OUT"};
    case 41: return {"lcd", "LCD"};
    case 43: return {"gamepad", "PAD"};
    case 44: return {"ultrasonic", "USS"};
    case 45: return {"camera", "CAM"};
    default: return {"unknown", "?"};
  }
}

GlyphName endOf(int cno) {
  switch (cno) {
    case 3: return {"end_while", "END-W"};
    case 4: return {"end_for", "END-F"};
    default: return {"end_if", "END"};
  }
}

QPixmap standIn(const QString& label) {
  QPixmap pm(56, 36);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 60, 140), 2));
  p.setBrush(QColor(220, 228, 250));
  p.drawRoundedRect(QRectF(2, 2, 52, 32), 6, 6);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(11);
  p.setFont(f);
  p.drawText(pm.rect(), Qt::AlignCenter, label);
  return pm;
}

// A glyph file that is missing, unreadable or not a picture gives a null icon here, so the
// caller can fall back to the next file or the stand-in instead of showing an empty button.
QIcon iconFromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  if (path.endsWith(".svg")) {
    auto engine = std::make_unique<SvgGlyphEngine>(file.readAll());
    if (engine->isNull()) return {};
    return QIcon(engine.release());
  }
  QPixmap pm;
  if (!pm.loadFromData(file.readAll())) return {};
  return QIcon(pm);
}

}  // namespace

Glyphs::Glyphs(const QString& programFolder) : folder_(programFolder) {
  if (!folder_.isEmpty() && !folder_.endsWith('/')) folder_ += '/';
}

QIcon Glyphs::load(const QString& name, const QString& fallbackLabel) const {
  auto it = cache_.find(name);
  if (it != cache_.end()) return it->second;
  QIcon icon;
  for (const char* ext : {".svg", ".png"}) {
    icon = iconFromFile(folder_ + "glyphs/" + name + ext);
    if (!icon.isNull()) break;
  }
  if (icon.isNull()) icon = QIcon(standIn(fallbackLabel));
  cache_.emplace(name, icon);
  return icon;
}

QIcon Glyphs::forKind(int kind) const {
  const GlyphName n = kind == 0 ? endOf(2) : nameOf(kind);
  return load(n.file, n.label);
}

QIcon Glyphs::forRow(int sno, int cno) const {
  const GlyphName n = sno == 0 ? endOf(cno) : nameOf(sno);
  return load(n.file, n.label);
}

QPixmap Glyphs::pixmap(int sno, int cno, const QSize& size) const {
  if (size.isEmpty()) return {};
  // Exactly the size asked for, glyph centred with its shape kept: the printout places the
  // pixmap into its box as it is.
  QPixmap out(size);
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QIcon icon = forRow(sno, cno);
  const QSize natural = icon.actualSize(QSize(4096, 4096));
  const QSize fit = natural.isEmpty() ? size : natural.scaled(size, Qt::KeepAspectRatio);
  const QRect target((size.width() - fit.width()) / 2, (size.height() - fit.height()) / 2, fit.width(),
                     fit.height());
  p.drawPixmap(target, icon.pixmap(fit, 1.0));
  return out;
}

}  // namespace kavel::gui
