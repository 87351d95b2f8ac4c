#include "ui/dialogs/Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tr640 {

namespace {

const QColor kMarked(0xD0, 0x10, 0x10);
const QColor kKey(0x40, 0x40, 0x48);
const QColor kOutline(0x20, 0x20, 0x24);

void DrawKey(QPainter& p, const QRectF& r, bool marked, const QString& name) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(marked ? kMarked : kKey);
    p.drawRoundedRect(r, 2, 2);
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(marked);
    p.setFont(f);
    p.setPen(marked ? kMarked : kOutline);
    p.drawText(QRectF(0, r.top() - 2, r.left() - 3, r.height() + 4),
               Qt::AlignRight | Qt::AlignVCenter, name);
}

} // namespace

QPixmap RadioSideView(SideKey marked) {
    QPixmap pix(113, 257);
    pix.fill(Qt::white);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);

    // Antenna and the channel knob on the top.
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRoundedRect(QRectF(46, 6, 12, 72), 5, 5);
    p.setBrush(QColor(0x55, 0x55, 0x5A));
    p.drawRect(QRectF(74, 46, 16, 22));
    for (int y = 49; y < 66; y += 4)
        p.drawLine(QPointF(74, y), QPointF(90, y));

    // Body with the battery pack below a seam.
    QLinearGradient shade(QPointF(40, 0), QPointF(104, 0));
    shade.setColorAt(0, QColor(0x9A, 0x9C, 0xA2));
    shade.setColorAt(0.5, QColor(0xC8, 0xCA, 0xD0));
    shade.setColorAt(1, QColor(0x80, 0x82, 0x88));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(40, 68, 62, 182), 8, 8);
    p.drawLine(QPointF(41, 178), QPointF(101, 178));
    // Belt clip on the back.
    p.setBrush(QColor(0x50, 0x50, 0x55));
    p.drawRoundedRect(QRectF(100, 110, 8, 110), 3, 3);

    // Side keys on the front edge: PTT, then PF1 and PF2 below it.
    DrawKey(p, QRectF(33, 96, 8, 36), false, QStringLiteral("PTT"));
    DrawKey(p, QRectF(33, 140, 8, 14), marked == SideKey::Pf1, QStringLiteral("PF1"));
    DrawKey(p, QRectF(33, 160, 8, 14), marked == SideKey::Pf2, QStringLiteral("PF2"));
    return pix;
}

QPixmap ProjectLogo() {
    QPixmap pix(71, 70);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(35.5, 35);
    QRadialGradient fill(centre, 34);
    fill.setColorAt(0, QColor(0x3A, 0x7B, 0xD5));
    fill.setColorAt(1, QColor(0x12, 0x3C, 0x7A));
    p.setPen(QPen(QColor(0x0C, 0x28, 0x52), 1.5));
    p.setBrush(fill);
    p.drawEllipse(centre, 33, 33);
    // Radio waves from a mast.
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF top(35.5, 24);
    for (int r = 8; r <= 20; r += 6) {
        p.drawArc(QRectF(top.x() - r, top.y() - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
    }
    p.drawLine(top, QPointF(35.5, 36));
    QFont f;
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(0, 37, 71, 22), Qt::AlignCenter, QStringLiteral("TR-640"));
    return pix;
}

} // namespace tr640
