#pragma once

namespace tr640 {

// The remainder of frequency x (MHz) after whole multiples of step (MHz), as the test
// frequency dialog lowers a frequency onto the 5 kHz or 6.25 kHz raster:
// - x below step is returned as it is;
// - a quotient x / step that shows no decimal point in the general format with 15 significant
//   digits counts as whole: the remainder is 0 (this absorbs inexact division);
// - otherwise the result is x - n * step for the smallest n >= 1 with x - n * step < step,
//   each candidate computed afresh (never by repeated subtraction).
// The last step takes constant time. A step that is not a positive finite number removes
// nothing and x is returned.
double FrequencyRemainder(double step, double x);

// The general-format test of the second rule: true when x / step prints without a decimal point.
bool QuotientLooksWhole(double step, double x);

} // namespace tr640
