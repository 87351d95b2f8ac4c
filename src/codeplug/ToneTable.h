#pragma once

// The tone list of the tone editor: entry 0 no tone, 1-50 CTCSS, 51-155 DCS normal,
// 156-260 DCS inverted; and the conversions between cell texts and ToneCode words.

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <array>

namespace tr640 {

inline constexpr int kToneListSize = 261;
inline constexpr int kCtcssCount = 50;
inline constexpr int kDcsCount = 105;
inline constexpr int kFirstDcsNormal = 1 + kCtcssCount;               // 51
inline constexpr int kFirstDcsInverted = kFirstDcsNormal + kDcsCount; // 156

// CellListIndex of a tone cell whose text the list does not contain (a decoded tone outside the
// list, a typed CTCSS value between the listed ones). Not 0, so a language switch keeps it.
inline constexpr int kToneNotListed = -1;

inline constexpr quint16 kNoToneWord = 0xFFFF;

// CTCSS tones in tenths of a hertz, and the DCS codes as octal digits.
extern const std::array<int, kCtcssCount> kCtcssTenths;
extern const std::array<int, kDcsCount> kDcsCodes; // octal value, e.g. 023 -> 19

// Text of list entry p in the given language ("关闭"/"Off" for 0); empty outside the list.
QString ToneListText(int position, int language);

// Position of a tone text in the list; either language's OFF text gives 0; kToneNotListed for
// a text the list lacks.
int ToneListPosition(const QString& text);

// True for the OFF text of either language.
bool IsToneOffText(const QString& text);

// The ToneCode word of a cell text: empty or OFF -> 0xFFFF; "Dxyz" + "N"/"I" -> DCS;
// otherwise the CTCSS value in tenths of a hertz (a non-numeric text is no tone).
quint16 ToneWordFromText(const QString& text);

// The cell text of a word other than 0xFFFF: "D" + octal code + "N"/"I" for words whose top
// hexadecimal digit is 2 or A, otherwise the word in tenths of a hertz with one decimal.
QString ToneTextFromWord(quint16 word);

// True when a CTCSS value in tenths of a hertz is one the radio offers (67.0 to 254.1 Hz).
inline bool IsCtcssInRange(int tenths) {
    return tenths >= 670 && tenths <= 2541;
}

} // namespace tr640
