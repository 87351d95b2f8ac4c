#pragma once

namespace tr640 {

// The remainder of frequency x (MHz) after whole multiples of step (MHz).
double FrequencyRemainder(double step, double x);

} // namespace tr640
