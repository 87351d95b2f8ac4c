#include "codeplug/Codec.h"

#include "codeplug/Hex.h"

namespace tr640 {

QByteArray EncodeImage(const EditorState&) {
    return QByteArray(kImageSize, '\xFF');
}

void DecodeImage(EditorState&, QByteArrayView) {}

QString EncodeCodeplug(const EditorState& state) {
    return BytesToImageHex(EncodeImage(state));
}

void DecodeCodeplug(EditorState& state, QStringView imageHex) {
    DecodeImage(state, ImageHexToBytes(imageHex.left(2 * kDecodedSize)));
}

QString FrequencyTextFromBytes(QByteArrayView) {
    return QString();
}

QByteArray FrequencyBytesFromText(const QString&) {
    return QByteArray(4, '\xFF');
}

} // namespace tr640
