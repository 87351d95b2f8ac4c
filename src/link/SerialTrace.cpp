#include "link/SerialTrace.h"

#include <QDateTime>

namespace tr640::link {

void SerialTrace::begin(const QString& transfer, const QString& port) {
    text_.clear();
    full_ = false;
    const QDateTime now = QDateTime::currentDateTime();
    text_ += "# TR-640 serial trace, " +
             now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz t")).toUtf8() + '\n';
    text_ += "# " + transfer.toUtf8();
    if (!port.isEmpty())
        text_ += ", port " + port.toUtf8();
    text_ += '\n';
}

void SerialTrace::line(const char* tag, const QByteArray& body) {
    if (full_)
        return;
    if (text_.size() + body.size() > kLimit) {
        full_ = true;
        text_ += "# trace too long, the rest is left out\n";
        return;
    }
    text_ += QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    text_ += "  ";
    text_ += tag;
    text_ += "  ";
    text_ += body;
    text_ += '\n';
}

void SerialTrace::bytes(const char* tag, QByteArrayView bytes) {
    for (qsizetype at = 0; at < bytes.size(); at += kBytesPerLine) {
        const QByteArrayView piece =
            bytes.sliced(at, qMin<qsizetype>(kBytesPerLine, bytes.size() - at));
        line(tag, piece.toByteArray().toHex(' ').toUpper());
    }
}

void SerialTrace::sent(QByteArrayView data) {
    bytes("TX", data);
}

void SerialTrace::received(QByteArrayView data) {
    bytes("RX", data);
}

void SerialTrace::note(const QString& text) {
    line("--", text.toUtf8());
}

} // namespace tr640::link
