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
    explicit Harness(FuzzedDataProvider& in) : in_(in) {}

    void run() {
        while (in_.remaining_bytes() > 0)
            operation();
        for (int round = 0; round < 40 && session_.busy(); ++round)
            for (Timer t : {Timer::Retry, Timer::Watchdog, Timer::Blink})
                session_.tick(t);
        FUZZ_REQUIRE(!session_.busy() && !inTransfer_);
    }

    void sendBytes(const QByteArray& frame) override {
        FUZZ_REQUIRE(!modal_ && inTransfer_);
        const QByteArray rx = std::exchange(rx_, {});
        const bool checked = std::exchange(bandChecked_, false);
        lastFrame_ = frame;
        if (frame == SingleByte(kAck) && !identified_) { // the identification was accepted
            identified_ = true;
            approvedBand_ = session_.RadioBandIndex();
        } else if (frame.size() == 4 && frame[0] == 'R') {
            FUZZ_REQUIRE(direction_ == Direction::Read && rx == SingleByte(kAck));
            FUZZ_REQUIRE(frame[3] == char(kReadBlockSize) && readRequests_ < kReadBlocks);
            FUZZ_REQUIRE(AddressOf(frame) == kReadStart + readRequests_++ * kReadBlockSize);
        } else if (frame.size() == 4 + kWriteFrameSize) {
            FUZZ_REQUIRE(frame[0] == 'W' && direction_ == Direction::Write && checked);
            FUZZ_REQUIRE(rxAtCheck_ == SingleByte(kAck) && checkedBand_ == approvedBand_);
            const int address = AddressOf(frame);
            FUZZ_REQUIRE(address == WriteAddressAfter(lastWriteAddress_, calibration_));
            lastWriteAddress_ = address;
            const qsizetype at = 2 * qsizetype(address - kReadStart);
            FUZZ_REQUIRE(frame.mid(4) ==
                         ImageHexToBytes(QStringView(outgoing_).mid(at, 2 * kWriteFrameSize)));
        } else {
            FUZZ_REQUIRE(frame == ProgramModeRequest() || frame.size() == 1);
        }
    }
    void closePort() override {}
    QString encodeCodeplug() override { return outgoing_ = image_; }
    int selectedBand() const override {
        bandChecked_ = true;
        checkedBand_ = band_;
        rxAtCheck_ = rx_;
        return band_;
    }
    void applyRead(const QString& imageHex, int radioBandIndex) override {
        FUZZ_REQUIRE(!modal_ && inTransfer_ && direction_ == Direction::Read && !applied_);
        FUZZ_REQUIRE(readRequests_ == kReadBlocks &&
                     imageHex.size() == 2 * kReadBlocks * kReadBlockSize);
        FUZZ_REQUIRE(radioBandIndex >= 0 && radioBandIndex < kBandCount);
        applied_ = true;
    }
    bool askBandQuestion(const QString&) override {
        FUZZ_REQUIRE(!modal_ && inTransfer_ && service_);
        whileModal();
        if (answer_)
            approvedBand_ = checkedBand_;
        return answer_;
    }
    void showCommunicationError(const QString&) override {
        FUZZ_REQUIRE(!modal_ && inTransfer_);
        whileModal();
    }
    void transferEnded(Outcome outcome) override {
        FUZZ_REQUIRE(!modal_ && inTransfer_ && applied_ == (outcome == Outcome::ReadDone));
        if (outcome == Outcome::WriteDone)
            FUZZ_REQUIRE(lastWriteAddress_ == kWriteEnd - kWriteFrameSize);
        inTransfer_ = false;
    }

private:
    // A message box with its own event loop: a few events may arrive before it is answered.
    void whileModal() {
        modal_ = true;
        for (int i = in_.ConsumeIntegralInRange(0, 4); i > 0 && in_.remaining_bytes() > 0; --i)
            operation();
        modal_ = false;
    }

    void start(Direction direction) {
        const bool wasBusy = session_.busy();
        if (!wasBusy) {
            inTransfer_ = true;
            direction_ = direction;
            applied_ = identified_ = false;
            readRequests_ = 0;
            lastWriteAddress_ = -1;
            rx_.clear();
        }
        FUZZ_REQUIRE(session_.start(direction) == !wasBusy);
    }

    void feed(const QByteArray& bytes) {
        rx_ += bytes;
        session_.receive(bytes);
    }

    // What a radio answers to the last frame: cut, damaged, lengthened or repeated.
    void reply() {
        const QByteArray& f = lastFrame_;
        QByteArray r = SingleByte(kAck); // to PROGRAM, to the acknowledgement, to a write frame
        if (f.isEmpty() || f == SingleByte(kEnd)) {
            r.clear();
        } else if (f == SingleByte(kIdentify)) {
            const quint8 pick = in_.ConsumeIntegral<quint8>();
            const char code = (pick & 0x40) ? char(in_.ConsumeIntegral<quint8>())
                                            : char(kBands[(pick & 0x3F) % kBandCount].code);
            r = QByteArray((pick & 0x80) ? "M5116" : "M6116") + code + QByteArray(2, '\0');
        } else if (f.size() == 4 && f[0] == 'R') {
            const quint8 seed = in_.ConsumeIntegral<quint8>();
            r = 'W' + f.mid(1, 2) + char(kReadBlockSize);
            for (int i = 0; i < kReadBlockSize; ++i)
                r += char((seed + 7 * i + AddressOf(f)) & 0xFF);
        }
        const int variant = in_.ConsumeIntegralInRange(0, 7);
        const char other = char(in_.ConsumeIntegral<quint8>());
        const int cut = r.isEmpty() ? 0 : in_.ConsumeIntegralInRange<int>(0, int(r.size()) - 1);
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
        const int op = in_.ConsumeIntegralInRange(0, 12);
        if (op <= 1) {
            start(op == 0 ? Direction::Read : Direction::Write);
        } else if (op <= 4) {
            session_.tick(op == 2 ? Timer::Watchdog : op == 3 ? Timer::Blink : Timer::Retry);
        } else if (op == 5) {
            const int n = in_.ConsumeIntegralInRange(1, 80);
            feed(QByteArray::fromStdString(in_.ConsumeBytesAsString(n)));
        } else if (op == 6) {
            reply();
        } else if (op == 7) {
            band_ = in_.ConsumeIntegralInRange(0, kBandCount - 1);
        } else if (op == 8) {
            session_.setServiceMode(service_ = !service_);
        } else if (op == 9) {
            session_.setCalibrationWrite(calibration_ = !calibration_);
        } else if (op == 10) {
            answer_ = in_.ConsumeBool();
        } else if (op == 11) { // the start-up image, one too short for a write, or a longer one
            const int kind = in_.ConsumeIntegralInRange(0, 3);
            const QString startup = EncodeCodeplug(EditorState());
            image_ = kind == 2   ? startup.left(in_.ConsumeIntegralInRange(0, 1700))
                     : kind == 3 ? startup + QString(352, u'F')
                                 : startup;
        } else {
            session_.setLanguage(language_ = 1 - language_);
        }
    }

    FuzzedDataProvider& in_;
    TransferSession session_{*this};
    int band_ = 0, language_ = 0;
    bool service_ = false, calibration_ = false, answer_ = true, modal_ = false;
    QString image_ = EncodeCodeplug(EditorState()), outgoing_;
    bool inTransfer_ = false, applied_ = false, identified_ = false;
    Direction direction_ = Direction::None;
    QByteArray rx_, lastFrame_; // received since the last frame sent
    int approvedBand_ = -1, readRequests_ = 0, lastWriteAddress_ = -1;
    mutable bool bandChecked_ = false;
    mutable int checkedBand_ = -1;
    mutable QByteArray rxAtCheck_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Harness(in).run();
    return 0;
}
