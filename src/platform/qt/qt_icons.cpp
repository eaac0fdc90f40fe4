#include "platform/qt/qt_icons.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace corvane::platform {

namespace {

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Draws the icon's 128-unit design scaled into a square pixmap.
QPixmap PaintIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x3a, 0x5f));
    p.drawRoundedRect(QRectF(8, 8, 112, 112), 24, 24);

    QPainterPath shield;
    shield.moveTo(64, 22);
    shield.lineTo(100, 36);
    shield.lineTo(100, 62);
    shield.cubicTo(100, 84, 84, 100, 64, 108);
    shield.cubicTo(44, 100, 28, 84, 28, 62);
    shield.lineTo(28, 36);
    shield.closeSubpath();
    p.setBrush(QColor(0xe8, 0xee, 0xf6));
    p.drawPath(shield);

    QPainterPath tick;
    tick.moveTo(48, 64);
    tick.lineTo(60, 76);
    tick.lineTo(82, 50);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x2e, 0x8b, 0x57), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return pixmap;
}

QPixmap PaintBadge(int size, const QString& label) {
    QPixmap pixmap = PaintIcon(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPixelSize(std::max(6, size * 3 / 10));
    QFontMetrics metrics(font);
    int height = metrics.height() + size / 16;
    // The badge sits in the top-right corner and grows to the left with its text, up to the icon's width.
    int width = std::min(size, std::max(height, metrics.horizontalAdvance(label) + height / 2));
    QRectF badge(size - width, 0, width, height);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0x1b, 0x24));
    p.drawRoundedRect(badge, height / 2.0, height / 2.0);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(badge, Qt::AlignCenter, metrics.elidedText(label, Qt::ElideRight, width));
    return pixmap;
}

// Hands out the pixmaps it was given as they are. QIcon's own engine keeps a copy of every pixmap it hands
// out in the program-wide pixmap cache, under a key of that pixmap; an icon painted anew for each badge
// label would fill the cache with the pixmaps of labels long gone.
class PaintedIconEngine : public QIconEngine {
  public:
    explicit PaintedIconEngine(QList<QPixmap> pixmaps) : pixmaps_(std::move(pixmaps)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawPixmap(rect, Nearest(rect.size()));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        QPixmap nearest = Nearest(size);
        if (nearest.width() <= size.width() && nearest.height() <= size.height()) return nearest;
        return nearest.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return pixmap(size, mode, state).size();
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const QPixmap& pixmap : pixmaps_) sizes << pixmap.size();
        return sizes;
    }
    QIconEngine* clone() const override { return new PaintedIconEngine(pixmaps_); }
    QString key() const override { return QStringLiteral("CorvanePainted"); }

  private:
    // The smallest pixmap at least as large as asked for, else the largest (the list grows in size).
    QPixmap Nearest(const QSize& size) const {
        for (const QPixmap& pixmap : pixmaps_) {
            if (pixmap.width() >= size.width() && pixmap.height() >= size.height()) return pixmap;
        }
        return pixmaps_.isEmpty() ? QPixmap() : pixmaps_.last();
    }

    QList<QPixmap> pixmaps_;
};

}  // namespace

QIcon ApplicationIcon() {
    static const QIcon icon = [] {
        QList<QPixmap> pixmaps;
        for (int size : kIconSizes) pixmaps << PaintIcon(size);
        return QIcon(new PaintedIconEngine(pixmaps));
    }();
    return icon;
}

QIcon BadgedApplicationIcon(const QString& label) {
    QList<QPixmap> pixmaps;
    for (int size : kIconSizes) pixmaps << PaintBadge(size, label);
    return QIcon(new PaintedIconEngine(pixmaps));
}

QIcon SymbolIcon(const std::string& name) {
    static const std::pair<const char*, QStyle::StandardPixmap> kSymbols[] = {
        {"folder", QStyle::SP_DirIcon},
        {"arrow.down.document", QStyle::SP_DialogSaveButton},
        {"stop.fill", QStyle::SP_MediaStop},
        {"xmark", QStyle::SP_DialogCancelButton},
        {"questionmark.circle.fill", QStyle::SP_MessageBoxQuestion},
    };
    for (const auto& [symbol, pixmap] : kSymbols) {
        if (name == symbol) return QApplication::style()->standardIcon(pixmap);
    }
    return {};
}

}  // namespace corvane::platform
