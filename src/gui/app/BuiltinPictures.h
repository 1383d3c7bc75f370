#pragma once
// Pictures drawn by the program itself: shown wherever a picture file is missing, and the
// product icons of the version window.

#include <QPixmap>
#include <QSize>

namespace kavel::gui {

enum class ProductIcon { Glent, QV7B, BoardFamily, Distributor };

/// A controller board seen from above, standing in for the product photograph.
QPixmap builtinProductPicture(const QSize& size);

/// The icon of a product family (or the distributor's mark) for the version window.
QPixmap builtinProductIcon(ProductIcon icon, const QSize& size);

}  // namespace kavel::gui
