#include "ActionIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace kt41::app {

namespace {

// Every picture is drawn on a 16 x 16 grid and scaled to the pixmap size.
using Drawing = std::function<void(QPainter&)>;

QIcon Painted(const Drawing& draw) {
    QIcon icon;
    for (int size : {16, 20, 24, 32, 40, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen Outline(const QColor& color, qreal width = 0.9) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void Plug(QPainter& p, qreal bodyLeft, qreal prongEnd, const QColor& fill, const QColor& line) {
    // cable, body and two prongs pointing right
    p.setPen(Outline(line, 2.2));
    p.drawLine(QPointF(0.4, 8), QPointF(bodyLeft, 8));
    p.setPen(Outline(QColor(95, 95, 95), 1.5));
    p.drawLine(QPointF(bodyLeft + 4.4, 6.0), QPointF(prongEnd, 6.0));
    p.drawLine(QPointF(bodyLeft + 4.4, 10.0), QPointF(prongEnd, 10.0));
    p.setPen(Outline(line));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(bodyLeft, 3.0, 4.6, 10.0), 1.4, 1.4);
}

void Socket(QPainter& p, qreal bodyLeft, const QColor& fill, const QColor& line) {
    p.setPen(Outline(line, 2.2));
    p.drawLine(QPointF(bodyLeft + 4.6, 8), QPointF(15.6, 8));
    p.setPen(Outline(line));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(bodyLeft, 3.0, 4.6, 10.0), 1.4, 1.4);
}

void Sheet(QPainter& p) {
    QPainterPath page;
    page.moveTo(2.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(2.5, 14.5);
    page.closeSubpath();
    p.setPen(Outline(QColor(110, 120, 135)));
    p.setBrush(QColor(250, 250, 252));
    p.drawPath(page);
    p.setPen(Outline(QColor(165, 175, 190), 0.8));
    for (qreal y : {6.0, 8.0, 10.0, 12.0}) {
        p.drawLine(QPointF(4.2, y), QPointF(9.0, y));
    }
}

void Arrow(QPainter& p, bool down, const QColor& fill, const QColor& line) {
    QPainterPath arrow;
    if (down) {
        arrow.moveTo(11.0, 6.0);
        arrow.lineTo(14.0, 6.0);
        arrow.lineTo(14.0, 10.0);
        arrow.lineTo(15.8, 10.0);
        arrow.lineTo(12.5, 14.6);
        arrow.lineTo(9.2, 10.0);
        arrow.lineTo(11.0, 10.0);
    } else {
        arrow.moveTo(11.0, 14.6);
        arrow.lineTo(14.0, 14.6);
        arrow.lineTo(14.0, 10.6);
        arrow.lineTo(15.8, 10.6);
        arrow.lineTo(12.5, 6.0);
        arrow.lineTo(9.2, 10.6);
        arrow.lineTo(11.0, 10.6);
    }
    arrow.closeSubpath();
    p.setPen(Outline(line));
    p.setBrush(fill);
    p.drawPath(arrow);
}

} // namespace

QIcon ConnectIcon() {
    return Painted([](QPainter& p) {
        const QColor fill(70, 170, 80), line(30, 100, 40);
        Plug(p, 2.2, 9.4, fill, line);
        Socket(p, 8.6, fill, line);
    });
}

QIcon DisconnectIcon() {
    return Painted([](QPainter& p) {
        const QColor fill(215, 75, 60), line(140, 35, 25);
        Plug(p, 0.9, 7.4, fill, line);
        Socket(p, 10.4, fill, line);
    });
}

QIcon ReadConfigIcon() {
    return Painted([](QPainter& p) {
        Sheet(p);
        Arrow(p, true, QColor(60, 160, 75), QColor(25, 95, 40));
    });
}

QIcon WriteConfigIcon() {
    return Painted([](QPainter& p) {
        Sheet(p);
        Arrow(p, false, QColor(225, 120, 35), QColor(150, 70, 10));
    });
}

QIcon OpenFileIcon() {
    return Painted([](QPainter& p) {
        const QColor line(150, 105, 20);
        QPainterPath back;
        back.moveTo(1.0, 3.0);
        back.lineTo(5.5, 3.0);
        back.lineTo(7.0, 4.5);
        back.lineTo(13.5, 4.5);
        back.lineTo(13.5, 13.5);
        back.lineTo(1.0, 13.5);
        back.closeSubpath();
        p.setPen(Outline(line));
        p.setBrush(QColor(222, 165, 45));
        p.drawPath(back);
        QPainterPath front;
        front.moveTo(3.0, 7.0);
        front.lineTo(15.5, 7.0);
        front.lineTo(13.5, 13.5);
        front.lineTo(1.0, 13.5);
        front.closeSubpath();
        p.setBrush(QColor(248, 205, 95));
        p.drawPath(front);
    });
}

QIcon SaveFileIcon() {
    return Painted([](QPainter& p) {
        const QColor line(30, 65, 120);
        QPainterPath body;
        body.moveTo(1.5, 1.5);
        body.lineTo(12.5, 1.5);
        body.lineTo(14.5, 3.5);
        body.lineTo(14.5, 14.5);
        body.lineTo(1.5, 14.5);
        body.closeSubpath();
        p.setPen(Outline(line));
        p.setBrush(QColor(65, 115, 185));
        p.drawPath(body);
        p.setBrush(QColor(220, 228, 240));
        p.drawRect(QRectF(4.0, 1.5, 7.5, 4.5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(65, 115, 185));
        p.drawRect(QRectF(8.8, 2.3, 1.6, 3.0));
        p.setPen(Outline(line));
        p.setBrush(QColor(250, 250, 250));
        p.drawRect(QRectF(3.5, 8.5, 9.0, 6.0));
        p.setPen(Outline(QColor(170, 180, 195), 0.7));
        p.drawLine(QPointF(5.0, 10.5), QPointF(11.0, 10.5));
        p.drawLine(QPointF(5.0, 12.5), QPointF(11.0, 12.5));
    });
}

} // namespace kt41::app
