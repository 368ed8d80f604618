#include "ProgramIcon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kt41::gui {

namespace {

QPixmap Draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(52, 120, 198));
    tile.setColorAt(1, QColor(22, 66, 128));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    // The thermometer: a white tube with a red bulb and a red column.
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(27, 7, 10, 32), 5, 5);
    painter.drawEllipse(QPointF(32, 38), 8, 8);
    painter.setBrush(QColor(214, 48, 38));
    painter.drawEllipse(QPointF(32, 38), 5.5, 5.5);
    painter.drawRect(QRectF(30, 17, 4, 18));

    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 46, 64, 16), Qt::AlignCenter, "KT-41");
    return pixmap;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        icon.addPixmap(Draw(size));
    }
    return icon;
}

} // namespace kt41::gui
