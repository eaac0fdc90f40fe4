#include "platform/qt/qt_mark_delegate.h"

#include <QPainter>
#include <QPalette>

namespace corvane::platform {

namespace {

// At most this many looks are kept; the cache starts afresh when it is full (a new theme, other sizes).
constexpr int kMaxCells = 64;

// Everything the style's drawing of the cell depends on: its text, size and state, and the colours of the
// palette group it is drawn with (the palette itself is a new copy for each red row).
QString CellKey(const QStyleOptionViewItem& option, qreal pixelRatio) {
    QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                 : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                         : QPalette::Inactive;
    QStringList parts = {option.text,
                         QString::number(option.rect.width()),
                         QString::number(option.rect.height()),
                         QString::number(pixelRatio),
                         QString::number(static_cast<int>(option.state)),
                         QString::number(static_cast<int>(option.features)),
                         QString::number(static_cast<int>(option.displayAlignment)),
                         option.font.key(),
                         QString::number(option.backgroundBrush.color().rgba()),
                         QString::number(static_cast<int>(option.backgroundBrush.style()))};
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::HighlightedText, QPalette::Highlight}) {
        parts << QString::number(option.palette.color(group, role).rgba());
    }
    return parts.join(QChar(0));
}

}  // namespace

void MarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem look = option;
    initStyleOption(&look, index);
    qreal pixelRatio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    QString key = CellKey(look, pixelRatio);
    auto it = cells_.constFind(key);
    if (it == cells_.constEnd()) {
        if (cells_.size() >= kMaxCells) cells_.clear();
        QPixmap cell(option.rect.size() * pixelRatio);
        cell.setDevicePixelRatio(pixelRatio);
        cell.fill(Qt::transparent);
        QPainter cellPainter(&cell);
        QStyleOptionViewItem at = option;
        at.rect = QRect(QPoint(0, 0), option.rect.size());
        QStyledItemDelegate::paint(&cellPainter, at, index);
        cellPainter.end();
        it = cells_.insert(key, cell);
    }
    painter->drawPixmap(option.rect.topLeft(), *it);
}

}  // namespace corvane::platform
