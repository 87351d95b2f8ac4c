#pragma once

#include "codeplug/BiText.h"
#include "codeplug/ChannelSetup.h"

namespace tr640::test {

// Channels 1 to 4 in use, message line 1 "ABC", band 400-470MHz, English texts.
inline EditorState Customer() {
    EditorState s;
    s.Language = English;
    int row = 0;
    for (const char* rx : {"435.02500", "436.12500", "435.12500", "438.00000"})
        SetChannel(s, ++row, rx, "Off", rx, "Off", 1, 1, 1, 1);
    s.Settings.EmbeddedMessage[0] = "ABC";
    return s;
}

} // namespace tr640::test
