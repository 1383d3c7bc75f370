#pragma once
// The side panel of the main window (pnlFunction): the palette, the product label and picture,
// the logo at the bottom and the message memo that logs the serial link's lines.

#include <QImage>
#include <QWidget>

class QPlainTextEdit;

namespace kavel::gui {

class ClickLabel;
class Glyphs;
class Palette;

class SidePanel : public QWidget {
  Q_OBJECT

 public:
  SidePanel(const Glyphs& glyphs, QWidget* parent);

  Palette* palette() const { return palette_; }
  ClickLabel* lblProduct() const { return lblProduct_; }
  ClickLabel* imgProduct() const { return imgProduct_; }
  ClickLabel* imgLogo() const { return imgLogo_; }
  QPlainTextEdit* memoMsg() const { return memoMsg_; }

  void setProductPicture(const QImage& image);
  void setLogoPicture(const QImage& image);
  bool hasProductPicture() const { return !product_.isNull(); }
  bool hasLogoPicture() const { return !logo_.isNull(); }

  /// Sizes the panel to the palette (+16) and places label, pictures and memo.
  void relayout();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Palette* palette_ = nullptr;
  ClickLabel* lblProduct_ = nullptr;
  ClickLabel* imgProduct_ = nullptr;
  ClickLabel* imgLogo_ = nullptr;
  QPlainTextEdit* memoMsg_ = nullptr;
  QImage product_;
  QImage logo_;
};

}  // namespace kavel::gui
