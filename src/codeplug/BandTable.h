#pragma once

// The seven bands of the band selector, by list position, with the code the image and the
// radio's identification carry for each.

#include <QString>
#include <QtGlobal>
#include <array>

namespace tr640 {

struct BandInfo {
    const char* text;        // selector entry, also the source of the band limits
    quint8 code;             // BandCode
    const char* modelId;     // 5 characters, also expected in the identification reply
    const char* modelIdLong; // 7 characters
};

inline constexpr int kBandCount = 7;

inline constexpr std::array<BandInfo, kBandCount> kBands{{
    {"400-470MHz", 0x33, "M6116", "RQ-6116"},
    {"200-260MHz", 0x21, "M6116", "RQ-6116"},
    {"400-430MHz", 0x43, "M6116", "RQ-6116"},
    {"370-390MHz", 0x63, "M6116", "RQ-6116"},
    {"350-370MHz", 0x53, "M6116", "RQ-6116"},
    {"136-174MHz", 0x01, "M5116", "RQ-5116"},
    {"600-720MHz", 0x73, "M6116", "RQ-6116"},
}};

// Position of a band code in the table, or -1 for a code that is not listed.
int BandIndexFromCode(quint8 code);

// The band at a position, position 0 for one outside the table.
const BandInfo& Band(int position);

// Limits in whole MHz, parsed from an entry's text: characters 1-3 and 5-7.
int BandLowFromText(const QString& text);
int BandHighFromText(const QString& text);

} // namespace tr640
