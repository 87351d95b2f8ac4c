#pragma once

// The only bridge between the editor state and the bytes of a codeplug.

#include "codeplug/EditorState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tr640 {

inline constexpr int kRadioBase = 0x0010; // radio address of image offset 0
inline constexpr int kImageSize = 848;    // radio addresses 0x0010-0x035F
inline constexpr int kImageHexLength = 2 * kImageSize;
inline constexpr int kDecodedSize = 0x330; // offsets 0x000-0x32F are read by the decoder

// The whole image as ImageHex, exactly 1696 characters. Reads the editor state only.
QString EncodeCodeplug(const EditorState& state);

// Fills the editor state from an ImageHex text. Only the first 1632 characters are read; a
// shorter text reads as 0xFF past its end. Fields whose stored value is out of range keep
// their previous value.
void DecodeCodeplug(EditorState& state, QStringView imageHex);

// The same in byte form: 848 bytes out; any number of bytes in.
QByteArray EncodeImage(const EditorState& state);
void DecodeImage(EditorState& state, QByteArrayView image);

// Channel frequency texts ("435.12500") and their four packed-BCD bytes, low pair first.
QString FrequencyTextFromBytes(QByteArrayView fourBytes);
QByteArray FrequencyBytesFromText(const QString& text);

} // namespace tr640
