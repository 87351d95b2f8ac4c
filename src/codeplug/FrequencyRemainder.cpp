#include "codeplug/FrequencyRemainder.h"

#include <QString>

#include <cmath>

namespace tr640 {

namespace {

// Candidate n of the count: x - n * step. Computed afresh for every n; both the product and
// the difference round monotonically, so the candidate never increases with n.
double Candidate(double step, double x, double n) {
    const double multiple = n * step;
    return x - multiple;
}

// Beyond this count n no longer has a neighbour in double precision.
constexpr double kLargestExactCount = 9007199254740992.0; // 2^53

} // namespace

bool QuotientLooksWhole(double step, double x) {
    // 'g' with 15 digits: fixed notation below 1e15, exponent notation above, trailing zeros
    // dropped. "1e+15" has no point (whole); "1.5e+15" has one.
    return !QString::number(x / step, 'g', 15).contains(u'.');
}

double FrequencyRemainder(double step, double x) {
    if (!(step > 0.0) || !std::isfinite(step))
        return x;
    if (x < step)
        return x;
    if (QuotientLooksWhole(step, x))
        return 0.0; // also infinities and NaN, which print as "inf" and "nan"
    const double estimate = std::floor(x / step);
    if (!(estimate < kLargestExactCount))
        return std::fmod(x, step);
    // The smallest n >= 1 whose candidate is below step. Because the candidates never increase,
    // walking from the estimate finds the same n as counting up from 1; the estimate is within
    // a few steps of it.
    double n = std::max(1.0, estimate);
    while (n > 1.0 && Candidate(step, x, n - 1.0) < step)
        n -= 1.0;
    while (!(Candidate(step, x, n) < step))
        n += 1.0;
    return Candidate(step, x, n);
}

} // namespace tr640
