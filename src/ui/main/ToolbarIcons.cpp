#include "ui/main/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tr640 {

namespace {

constexpr int kSize = 32;

void DrawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(70, 70, 90), 1.5));
    p.drawPath(page);
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
}

void DrawFolder(QPainter& p) {
    p.setPen(QPen(QColor(140, 100, 20), 1.5));
    p.setBrush(QColor(250, 205, 90));
    p.drawRect(QRectF(3, 9, 24, 18));
    p.setBrush(QColor(255, 225, 130));
    QPainterPath flap;
    flap.moveTo(3, 27);
    flap.lineTo(8, 14);
    flap.lineTo(30, 14);
    flap.lineTo(27, 27);
    flap.closeSubpath();
    p.drawPath(flap);
}

void DrawDisk(QPainter& p) {
    p.setPen(QPen(QColor(30, 50, 110), 1.5));
    p.setBrush(QColor(60, 100, 190));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(8, 18, 16, 10));
}

// A small handheld radio with an arrow towards (write) or away from (read) it.
void DrawRadio(QPainter& p, bool write) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(4, 9, 12, 20), 2, 2);
    p.drawLine(QPointF(7, 9), QPointF(7, 2));
    p.setBrush(QColor(150, 220, 150));
    p.drawRect(QRectF(6, 12, 8, 5));
    const QColor arrow = write ? QColor(200, 60, 40) : QColor(30, 140, 60);
    p.setPen(QPen(arrow, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal from = write ? 30 : 19;
    const qreal to = write ? 19 : 30;
    p.drawLine(QPointF(from, 19), QPointF(to, 19));
    const qreal dir = write ? 1 : -1;
    p.drawLine(QPointF(to, 19), QPointF(to + 5 * dir, 14));
    p.drawLine(QPointF(to, 19), QPointF(to + 5 * dir, 24));
}

void DrawService(QPainter& p, const QColor& colour) {
    p.setPen(QPen(colour.darker(150), 2));
    p.setBrush(colour);
    p.drawEllipse(QRectF(6, 6, 20, 20));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 16), QPointF(20, 16));
}

} // namespace

QIcon ToolbarIcon(const QString& key) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (key == QLatin1String("new"))
        DrawPage(p);
    else if (key == QLatin1String("open"))
        DrawFolder(p);
    else if (key == QLatin1String("save"))
        DrawDisk(p);
    else if (key == QLatin1String("read"))
        DrawRadio(p, false);
    else if (key == QLatin1String("write"))
        DrawRadio(p, true);
    else if (key == QLatin1String("TAnMa"))
        DrawService(p, QColor(220, 120, 30));
    else
        DrawService(p, QColor(150, 40, 160));
    p.end();
    return QIcon(pm);
}

} // namespace tr640
