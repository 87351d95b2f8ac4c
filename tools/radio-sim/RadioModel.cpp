#include "RadioModel.h"

#include "codeplug/BandTable.h"

namespace tr640::sim {

namespace {

constexpr char kAck = 0x06;
constexpr char kIdentify = 0x02;
constexpr int kReadFrameLength = 4;
constexpr int kWriteFrameLength = 20;
constexpr int kBlockLength = 64;
constexpr int kWriteDataLength = 16;
constexpr QByteArrayView kProgram("PROGRAM");

QString Hex4(int address) {
    return QStringLiteral("0x%1").arg(address, 4, 16, QLatin1Char('0'));
}

int AddressOf(const QByteArray& frame) {
    return (static_cast<quint8>(frame.at(1)) << 8) | static_cast<quint8>(frame.at(2));
}

} // namespace

RadioModel::RadioModel(quint8 bandCode, RadioFaults faults)
    : memory_(kMemorySize, '\xFF'), bandCode_(bandCode), faults_(faults) {}

void RadioModel::setMemory(QByteArrayView image) {
    const qsizetype n = qMin<qsizetype>(image.size(), kMemorySize);
    for (qsizetype i = 0; i < n; ++i)
        memory_[i] = image[i];
}

QByteArray RadioModel::IdentificationReply(quint8 bandCode) {
    const int band = BandIndexFromCode(bandCode);
    QByteArray id(band >= 0 ? kBands[band].modelId : kBands[0].modelId);
    id.append(static_cast<char>(bandCode));
    id.append('\xF8');
    id.append('\xFF');
    return id;
}

QByteArray RadioModel::GarbageBurst() {
    // 0x30 0x61 reads "3061" as hex text, which holds "06" across the byte boundary.
    return QByteArrayLiteral("\x30\x61\xFF\x00\x55\xAA\x30\x61\x13\x37\x60\x16\x4D\x36\x31");
}

int RadioModel::frameLength() const {
    switch (in_.front()) {
    case 'P':
        if (!kProgram.startsWith(QByteArrayView(in_).first(qMin(in_.size(), kProgram.size()))))
            return -1;
        return in_.size() >= kProgram.size() ? int(kProgram.size()) : 0;
    case kIdentify:
    case kAck:
    case 'E':
        return 1;
    case 'R':
        return in_.size() >= kReadFrameLength ? kReadFrameLength : 0;
    case 'W':
        return in_.size() >= kWriteFrameLength ? kWriteFrameLength : 0;
    default:
        return -1;
    }
}

QList<QByteArray> RadioModel::receive(QByteArrayView bytes) {
    QList<QByteArray> out;
    in_.append(bytes);
    while (!in_.isEmpty()) {
        const int n = frameLength();
        if (n == 0)
            break;
        if (n < 0) {
            log(QStringLiteral("PC    stray byte 0x%1 dropped")
                    .arg(static_cast<quint8>(in_.front()), 2, 16, QLatin1Char('0')));
            in_.remove(0, 1);
            continue;
        }
        const QByteArray frame = in_.first(n);
        in_.remove(0, n);
        handle(frame, out);
    }
    return out;
}

void RadioModel::handle(const QByteArray& frame, QList<QByteArray>& out) {
    ++frames_;
    QString what;
    switch (frame.front()) {
    case 'P':
        what = QStringLiteral("PROGRAM");
        break;
    case kIdentify:
        what = QStringLiteral("identify request");
        break;
    case kAck:
        what = QStringLiteral("ACK");
        break;
    case 'E':
        what = QStringLiteral("end request");
        break;
    case 'R':
        what = QStringLiteral("read %1 length %2")
                   .arg(Hex4(AddressOf(frame)))
                   .arg(static_cast<quint8>(frame.at(3)));
        break;
    default:
        what = QStringLiteral("write %1 (%2)")
                   .arg(Hex4(AddressOf(frame)), QString::fromLatin1(frame.mid(4).toHex(' ')));
        break;
    }
    const bool dead = faults_.silent || (faults_.stopAfter >= 0 && frames_ > faults_.stopAfter);
    log(QStringLiteral("PC    %1%2")
            .arg(what, dead ? QStringLiteral(" (not answered)") : QString()));
    if (dead)
        return;

    const char kind = frame.front();
    if (kind == 'P') {
        programMode_ = true;
        readsThisSession_ = 0;
        writesThisSession_ = 0;
        if (faults_.garbage)
            reply(GarbageBurst(), QStringLiteral("garbage burst"), out);
        reply(QByteArray(1, kAck), QStringLiteral("ACK"), out);
        return;
    }
    if (!programMode_)
        return; // an idle radio listens for PROGRAM only
    switch (kind) {
    case kIdentify:
        reply(IdentificationReply(bandCode_), QStringLiteral("identification"), out);
        break;
    case kAck:
        reply(QByteArray(1, kAck), QStringLiteral("ACK"), out);
        break;
    case 'E':
        programMode_ = false;
        if (writesThisSession_ > 0)
            ++completedWrites_;
        break;
    case 'R': {
        const int address = AddressOf(frame);
        QByteArray data(kBlockLength, '\xFF');
        for (int i = 0; i < kBlockLength; ++i) {
            const int at = address + i - kMemoryBase;
            if (at >= 0 && at < kMemorySize)
                data[i] = memory_.at(at);
        }
        ++readsThisSession_;
        int named = address;
        if (faults_.wrongAddress && readsThisSession_ == 3)
            named = address + kBlockLength;
        QByteArray f;
        f.append('W');
        f.append(static_cast<char>((named >> 8) & 0xFF));
        f.append(static_cast<char>(named & 0xFF));
        f.append(static_cast<char>(kBlockLength));
        f.append(data);
        reply(f, QStringLiteral("data %1").arg(Hex4(named)), out);
        break;
    }
    case 'W': {
        const int address = AddressOf(frame);
        for (int i = 0; i < kWriteDataLength; ++i) {
            const int at = address + i - kMemoryBase;
            if (at < 0 || at >= kMemorySize)
                continue;
            char b = frame.at(4 + i);
            if (address + i == faults_.corruptAddress)
                b = static_cast<char>(~b);
            memory_[at] = b;
        }
        ++writesThisSession_;
        reply(QByteArray(1, kAck), QStringLiteral("ACK"), out);
        break;
    }
    default:
        break;
    }
}

void RadioModel::reply(const QByteArray& bytes, const QString& what, QList<QByteArray>& out) {
    log(QStringLiteral("RADIO %1").arg(what));
    if (!faults_.split || bytes.size() < 3) {
        out.append(bytes);
        return;
    }
    const qsizetype rest = bytes.size() - 1;
    out.append(bytes.first(1));
    out.append(bytes.mid(1, rest / 2));
    out.append(bytes.mid(1 + rest / 2));
}

void RadioModel::log(const QString& line) const {
    if (log_)
        log_(line);
}

bool ParseBandCode(const QString& text, quint8* code) {
    if (text.size() == 1 && text.at(0) >= u'0' && text.at(0) < QChar(u'0' + kBandCount)) {
        *code = kBands[text.at(0).unicode() - u'0'].code;
        return true;
    }
    QString digits = text;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    if (digits.isEmpty() || digits.size() > 2)
        return false;
    bool ok = false;
    const uint v = digits.toUInt(&ok, 16);
    if (!ok)
        return false;
    *code = static_cast<quint8>(v);
    return true;
}

} // namespace tr640::sim
