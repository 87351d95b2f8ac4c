#include "ui/main/SharedState.h"

#include <QTime>

namespace tr640 {

double SecondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

} // namespace tr640
