#pragma once

// The pictures the dialogs show, drawn rather than shipped so that they scale with no files.

#include <QPixmap>

namespace tr640 {

enum class SideKey { Pf1, Pf2 };

// Side view of the handheld radio, 113 x 257 pixels, with the given side key marked red:
// PF1 is the upper key below the PTT key, PF2 the lower one.
QPixmap RadioSideView(SideKey marked);

// The project's emblem for the About box, 71 x 70 pixels.
QPixmap ProjectLogo();

} // namespace tr640
