// Draws the list's Status column from pixmaps kept per look of a cell.
#pragma once

#include <QStyledItemDelegate>

namespace corvane::platform {

// The marks are colour emoji, whose glyphs the font engine decodes from PNG data every time it lays one
// out; the column has only a handful of different cells, so each is drawn once and then copied.
class MarkDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // How many different cells have been drawn (and are kept).
    int DrawnCells() const { return static_cast<int>(cells_.size()); }

  private:
    mutable QHash<QString, QPixmap> cells_;
};

}  // namespace corvane::platform
