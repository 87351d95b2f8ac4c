#pragma once

#include <QLabel>

namespace tr640 {

// A label that reports clicks (the hidden gestures are clicks on labels).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace tr640
