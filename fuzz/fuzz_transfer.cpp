// The transfer state machine under any events: bytes cut anywhere, ticks, starts, the band,
// service mode, calibration write, the answer to the band question, the image changed, events
// while a message box is open, and the radio's reply to the last frame, cut, damaged or
// repeated, so that whole reads and writes are reachable.
//
// Properties: frames go out only while a transfer runs and no box is open; read requests name
// the 16 blocks in order; a write frame follows a passed band check, in the write order, with
// the image's data; the decoder gets only a complete read; each transfer ends once; ticks alone
// bring the session back to idle.

#include "FuzzSupport.h"

#include "codeplug/Codec.h"
#include "codeplug/Hex.h"
#include "link/Frames.h"
#include "link/TransferSession.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

using namespace tr640;
using namespace tr640::link;

namespace {

int AddressOf(const QByteArray& frame) {
    return (quint8(frame[1]) << 8) | quint8(frame[2]);
}

int WriteAddressAfter(int previous, bool calibration) {
    const int next = previous < 0 ? kReadStart : previous + kWriteFrameSize;
    if ((next == kCalibrationBlock && !calibration) || next == kCalibrationBlock + kWriteFrameSize)
        return kIdentBlock;
    return next == kIdentBlock + kWriteFrameSize ? kUpperStart : next;
}

class Harness : public TransferHost {
public:
    explicit Harness(FuzzedDataProvider& in) : m_in(in) {}

    void run() {
        while (m_in.remaining_bytes() > 0)
            operation();
        for (int round = 0; round < 40 && m_session.busy(); ++round)
            for (Timer t : {Timer::Retry, Timer::Watchdog, Timer::Blink})
                m_session.tick(t);
        FUZZ_REQUIRE(!m_session.busy() && !m_inTransfer);
    }

    void sendBytes(const QByteArray& frame) override {
        FUZZ_REQUIRE(!m_modal && m_inTransfer);
        const QByteArray rx = std::exchange(m_rx, {});
        const bool checked = std::exchange(m_bandChecked, false);
        m_lastFrame = frame;
        if (frame == SingleByte(kAck) && !m_identified) { // the identification was accepted
            m_identified = true;
            m_approvedBand = m_session.RadioBandIndex();
        } else if (frame.size() == 4 && frame[0] == 'R') {
            FUZZ_REQUIRE(m_direction == Direction::Read && rx == SingleByte(kAck));
            FUZZ_REQUIRE(frame[3] == char(kReadBlockSize) && m_readRequests < kReadBlocks);
            FUZZ_REQUIRE(AddressOf(frame) == kReadStart + m_readRequests++ * kReadBlockSize);
        } else if (frame.size() == 4 + kWriteFrameSize) {
            FUZZ_REQUIRE(frame[0] == 'W' && m_direction == Direction::Write && checked);
            FUZZ_REQUIRE(m_rxAtCheck == SingleByte(kAck) && m_checkedBand == m_approvedBand);
            const int address = AddressOf(frame);
            FUZZ_REQUIRE(address == WriteAddressAfter(m_lastWriteAddress, m_calibration));
            m_lastWriteAddress = address;
            const qsizetype at = 2 * qsizetype(address - kReadStart);
            FUZZ_REQUIRE(frame.mid(4) ==
                         ImageHexToBytes(QStringView(m_outgoing).mid(at, 2 * kWriteFrameSize)));
        } else {
            FUZZ_REQUIRE(frame == ProgramModeRequest() || frame.size() == 1);
        }
    }
    void closePort() override {}
    QString encodeCodeplug() override { return m_outgoing = m_image; }
    int selectedBand() const override {
        m_bandChecked = true;
        m_checkedBand = m_band;
        m_rxAtCheck = m_rx;
        return m_band;
    }
    void applyRead(const QString& imageHex, int radioBandIndex) override {
        FUZZ_REQUIRE(!m_modal && m_inTransfer && m_direction == Direction::Read && !m_applied);
        FUZZ_REQUIRE(m_readRequests == kReadBlocks &&
                     imageHex.size() == 2 * kReadBlocks * kReadBlockSize);
        FUZZ_REQUIRE(radioBandIndex >= 0 && radioBandIndex < kBandCount);
        m_applied = true;
    }
    bool askBandQuestion(const QString&) override {
        FUZZ_REQUIRE(!m_modal && m_inTransfer && m_service);
        whileModal();
        if (m_answer)
            m_approvedBand = m_checkedBand;
        return m_answer;
    }
    void showCommunicationError(const QString&) override {
        FUZZ_REQUIRE(!m_modal && m_inTransfer);
        whileModal();
    }
    void transferEnded(Outcome outcome) override {
        FUZZ_REQUIRE(!m_modal && m_inTransfer && m_applied == (outcome == Outcome::ReadDone));
        if (outcome == Outcome::WriteDone)
            FUZZ_REQUIRE(m_lastWriteAddress == kWriteEnd - kWriteFrameSize);
        m_inTransfer = false;
    }

private:
    // A message box with its own event loop: a few events may arrive before it is answered.
    void whileModal() {
        m_modal = true;
        for (int i = m_in.ConsumeIntegralInRange(0, 4); i > 0 && m_in.remaining_bytes() > 0; --i)
            operation();
        m_modal = false;
    }

    void start(Direction direction) {
        const bool wasBusy = m_session.busy();
        if (!wasBusy) {
            m_inTransfer = true;
            m_direction = direction;
            m_applied = m_identified = false;
            m_readRequests = 0;
            m_lastWriteAddress = -1;
            m_rx.clear();
        }
        FUZZ_REQUIRE(m_session.start(direction) == !wasBusy);
    }

    void feed(const QByteArray& bytes) {
        m_rx += bytes;
        m_session.receive(bytes);
    }

    // What a radio answers to the last frame: cut, damaged, lengthened or repeated.
    void reply() {
        const QByteArray& f = m_lastFrame;
        QByteArray r = SingleByte(kAck); // to PROGRAM, to the acknowledgement, to a write frame
        if (f.isEmpty() || f == SingleByte(kEnd)) {
            r.clear();
        } else if (f == SingleByte(kIdentify)) {
            const quint8 pick = m_in.ConsumeIntegral<quint8>();
            const char code = (pick & 0x40) ? char(m_in.ConsumeIntegral<quint8>())
                                            : char(kBands[(pick & 0x3F) % kBandCount].code);
            r = QByteArray((pick & 0x80) ? "M5116" : "M6116") + code + QByteArray(2, '\0');
        } else if (f.size() == 4 && f[0] == 'R') {
            const quint8 seed = m_in.ConsumeIntegral<quint8>();
            r = 'W' + f.mid(1, 2) + char(kReadBlockSize);
            for (int i = 0; i < kReadBlockSize; ++i)
                r += char((seed + 7 * i + AddressOf(f)) & 0xFF);
        }
        const int variant = m_in.ConsumeIntegralInRange(0, 7);
        const char other = char(m_in.ConsumeIntegral<quint8>());
        const int cut = r.isEmpty() ? 0 : m_in.ConsumeIntegralInRange<int>(0, int(r.size()) - 1);
        if (variant == 1) { // in two pieces
            feed(r.left(cut));
            r = r.mid(cut);
        } else if (variant == 2) { // a byte at a time
            for (char c : std::exchange(r, {}))
                feed(QByteArray(1, c));
        } else if (variant == 3) {
            r.chop(1);
        } else if (variant == 4 && !r.isEmpty()) {
            r[cut] = other;
        } else if (variant == 5 || variant == 6) {
            r.insert(variant == 5 ? r.size() : 0, other);
        } else if (variant == 7) { // repeated
            feed(r);
        }
        feed(r);
    }

    // The operations are numbered as fuzz/make-seeds.py encodes them.
    void operation() {
        const int op = m_in.ConsumeIntegralInRange(0, 12);
        if (op <= 1) {
            start(op == 0 ? Direction::Read : Direction::Write);
        } else if (op <= 4) {
            m_session.tick(op == 2 ? Timer::Watchdog : op == 3 ? Timer::Blink : Timer::Retry);
        } else if (op == 5) {
            const int n = m_in.ConsumeIntegralInRange(1, 80);
            feed(QByteArray::fromStdString(m_in.ConsumeBytesAsString(n)));
        } else if (op == 6) {
            reply();
        } else if (op == 7) {
            m_band = m_in.ConsumeIntegralInRange(0, kBandCount - 1);
        } else if (op == 8) {
            m_session.setServiceMode(m_service = !m_service);
        } else if (op == 9) {
            m_session.setCalibrationWrite(m_calibration = !m_calibration);
        } else if (op == 10) {
            m_answer = m_in.ConsumeBool();
        } else if (op == 11) { // the start-up image, one too short for a write, or a longer one
            const int kind = m_in.ConsumeIntegralInRange(0, 3);
            const QString startup = EncodeCodeplug(EditorState());
            m_image = kind == 2   ? startup.left(m_in.ConsumeIntegralInRange(0, 1700))
                      : kind == 3 ? startup + QString(352, u'F')
                                  : startup;
        } else {
            m_session.setLanguage(m_language = 1 - m_language);
        }
    }

    FuzzedDataProvider& m_in;
    TransferSession m_session{*this};
    int m_band = 0, m_language = 0;
    bool m_service = false, m_calibration = false, m_answer = true, m_modal = false;
    QString m_image = EncodeCodeplug(EditorState()), m_outgoing;
    bool m_inTransfer = false, m_applied = false, m_identified = false;
    Direction m_direction = Direction::None;
    QByteArray m_rx, m_lastFrame; // received since the last frame sent
    int m_approvedBand = -1, m_readRequests = 0, m_lastWriteAddress = -1;
    mutable bool m_bandChecked = false;
    mutable int m_checkedBand = -1;
    mutable QByteArray m_rxAtCheck;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Harness(in).run();
    return 0;
}
