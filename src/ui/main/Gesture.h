#pragma once

#include <QtGlobal>
#include <initializer_list>

namespace tr640 {

// One click of a hidden click gesture. `flags` are the flags of the labels taking part,
// `clicked` the clicked label's own flag among them, `start` the time of the attempt's first
// click (whole seconds since midnight) and `now` the clock (seconds since midnight).
// Returns true when every flag is set: each label was clicked at most 5 seconds after the
// attempt's first click. A click later than that starts a new attempt.
bool GestureClick(std::initializer_list<bool*> flags, bool* clicked, qint32& start, double now);

// Two clicks less than a second apart, on the same clock; `lastClick` 0 means none.
// Returns true on the second click (and clears `lastClick`), otherwise records this click.
bool DoubleClick(qint32& lastClick, double now);

} // namespace tr640
