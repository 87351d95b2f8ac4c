#include "link/SerialTrace.h"

#include <QDateTime>

namespace tr640::link {

void SerialTrace::begin(const QString& transfer, const QString& port) {
    m_text.clear();
    m_full = false;
    const QDateTime now = QDateTime::currentDateTime();
    m_text += "# TR-640 serial trace, " +
              now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz t")).toUtf8() + '\n';
    m_text += "# " + transfer.toUtf8();
    if (!port.isEmpty())
        m_text += ", port " + port.toUtf8();
    m_text += '\n';
}

void SerialTrace::line(const char* tag, const QByteArray& body) {
    if (m_full)
        return;
    if (m_text.size() + body.size() > kLimit) {
        m_full = true;
        m_text += "# trace too long, the rest is left out\n";
        return;
    }
    m_text += QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    m_text += "  ";
    m_text += tag;
    m_text += "  ";
    m_text += body;
    m_text += '\n';
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
