#include "ui/widgets/ClickLabel.h"

#include <QMouseEvent>

namespace tr640 {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
    QLabel::mousePressEvent(event);
}

} // namespace tr640
