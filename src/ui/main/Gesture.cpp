#include "ui/main/Gesture.h"

#include <cmath>

namespace tr640 {

namespace {
qint32 WholeSeconds(double t) {
    return static_cast<qint32>(std::lround(t));
}
} // namespace

bool GestureClick(std::initializer_list<bool*> flags, bool* clicked, qint32& start, double now) {
    bool any = false;
    for (bool* f : flags)
        any = any || *f;
    if (!any)
        start = WholeSeconds(now);
    if (now - start <= 5.0) {
        *clicked = true;
        bool all = true;
        for (bool* f : flags)
            all = all && *f;
        return all;
    }
    for (bool* f : flags)
        *f = f == clicked;
    start = WholeSeconds(now);
    return false;
}

bool DoubleClick(qint32& lastClick, double now) {
    if (lastClick != 0 && now - lastClick < 1.0) {
        lastClick = 0;
        return true;
    }
    lastClick = WholeSeconds(now);
    return false;
}

} // namespace tr640
