#include "codeplug/FrequencyRemainder.h"

namespace tr640 {

double FrequencyRemainder(double step, double x) {
    return x < step ? x : 0.0;
}

} // namespace tr640
