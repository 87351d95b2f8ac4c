#pragma once

#include <QString>

namespace tr640 {

// A channel frequency typed in the grid, formatted "0.00000" (MHz), snapped down onto the
// 5 kHz or the 6.25 kHz raster, whichever lower raster point is nearer. Returns MHz.
double SnapFrequency(const QString& formatted);

// The grid's text of a frequency: MHz with five decimals.
QString ChannelFrequencyText(double mhz);

} // namespace tr640
