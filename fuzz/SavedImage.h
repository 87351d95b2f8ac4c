#pragma once

// What a second save may change in an image written by a first one.

#include <QByteArray>

namespace tr640::fuzz {

// Image offsets of Look Back Time A and B. Their value "none" is written as 0xFF, which the
// decoder does not take, so after the next decode the fields keep their earlier value (the
// start-up one in a fresh editor): the one setting the file format cannot carry.
inline constexpr int kLookBackTimeA = 0x152;
inline constexpr int kLookBackTimeB = 0x153;

// True when `twice` (saved after opening `once`) holds the same bytes, but for a look-back
// time that `once` holds as "none".
inline bool SameOnSecondSave(const QByteArray& once, const QByteArray& twice) {
    if (once.size() != twice.size())
        return false;
    for (qsizetype i = 0; i < once.size(); ++i) {
        const bool none = (i == kLookBackTimeA || i == kLookBackTimeB) && once[i] == '\xFF';
        if (once[i] != twice[i] && !none)
            return false;
    }
    return true;
}

} // namespace tr640::fuzz
