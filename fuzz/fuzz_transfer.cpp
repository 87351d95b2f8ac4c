// The transfer state machine under any sequence of events: received bytes cut anywhere,
// timer ticks, start commands, the band selector, service mode, calibration write and the
// answer to the band question changed at any moment, and events arriving while a message box
// of the session is open.
//
// The input is a list of operations. Besides raw bytes, one operation sends the reply a radio
// would give to the last frame (optionally cut, damaged, lengthened, repeated), so that whole
// reads and writes are reachable.
//
// Properties checked as the session runs:
//  - every frame is a well-formed frame of the dialogue, sent only while a transfer runs and
//    never while one of its message boxes is open; nothing follows the end request;
//  - a write frame is sent only after an identification, right after a band check of the
//    same step whose band was the radio's or was accepted by Yes to the question; its
//    addresses follow the write order and its data are the encoded codeplug's;
//  - at most 47 write frames (46 without calibration) and 16 read requests per transfer;
//  - the decoder gets only a complete image of 2048 characters made of the 16 data frames
//    accepted for the 16 blocks in order, and never in a failed transfer;
//  - each transfer ends exactly once; the port is closed on every ending but the watchdog's;
//  - busy implies a running timer, idle implies a stopped watchdog; once the input is used up,
//    ticks alone bring the session back to idle.

#include "FuzzSupport.h"

#include "codeplug/BandTable.h"
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

enum class Modal { None, Question, Error };

enum Op : int {
    OpStartRead,
    OpStartWrite,
    OpTickWatchdog,
    OpTickBlink,
    OpTickRetry,
    OpRawBytes,
    OpReply,
    OpSetBand,
    OpToggleService,
    OpToggleCalibration,
    OpSetAnswer,
    OpSetImage,
    OpToggleLanguage,
    OpLast = OpToggleLanguage,
};

int WriteAddressAfter(int previous, bool calibration) {
    int next = previous < 0 ? kReadStart : previous + kWriteFrameSize;
    if ((next == kCalibrationBlock && !calibration) || next == kCalibrationBlock + kWriteFrameSize)
        next = kIdentBlock;
    else if (next == kIdentBlock + kWriteFrameSize)
        next = kUpperStart;
    return next;
}

// TR640_FUZZ_TRACE=1 prints the frames and endings, to follow one input.
bool Tracing() {
    static const bool on = qEnvironmentVariableIsSet("TR640_FUZZ_TRACE");
    return on;
}

void Trace(const char* what, const QByteArray& bytes = QByteArray()) {
    if (Tracing())
        std::fprintf(stderr, "%s %s\n", what, bytes.toHex(' ').constData());
}

int AddressOf(const QByteArray& frame) {
    return (quint8(frame[1]) << 8) | quint8(frame[2]);
}

class Harness : public TransferHost {
public:
    explicit Harness(FuzzedDataProvider& in) : m_in(in) {}

    void run() {
        while (m_in.remaining_bytes() > 0) {
            operation();
            checkIdleState();
        }
        // No more bytes: the timers alone must end whatever is still running.
        for (int round = 0; round < 40 && m_session.busy(); ++round) {
            for (Timer t : {Timer::Retry, Timer::Watchdog, Timer::Blink}) {
                m_session.tick(t);
                checkIdleState();
            }
        }
        FUZZ_REQUIRE(!m_session.busy());
        FUZZ_REQUIRE(!m_inTransfer);
    }

    // TransferHost.
    void sendBytes(const QByteArray& frame) override {
        FUZZ_REQUIRE(m_modal == Modal::None);
        FUZZ_REQUIRE(m_inTransfer);
        FUZZ_REQUIRE(!m_endSent);
        const QByteArray rx = m_rx;
        m_rx.clear();
        const bool checked = m_bandChecked;
        m_bandChecked = false;
        m_lastFrame = frame;
        Trace("pc", frame);

        if (frame == ProgramModeRequest()) {
            FUZZ_REQUIRE(!m_identAccepted);
            FUZZ_REQUIRE(++m_programRequests <= 2);
        } else if (frame == SingleByte(kIdentify)) {
            FUZZ_REQUIRE(!m_identAccepted);
            FUZZ_REQUIRE(!rx.isEmpty());
        } else if (frame == SingleByte(kAck)) {
            acknowledge(rx);
        } else if (frame == SingleByte(kEnd)) {
            m_endSent = true;
        } else if (frame.size() == 4 && frame[0] == 'R') {
            FUZZ_REQUIRE(frame[3] == char(kReadBlockSize));
            FUZZ_REQUIRE(m_direction == Direction::Read && m_identAccepted);
            FUZZ_REQUIRE(rx == SingleByte(kAck));
            FUZZ_REQUIRE(m_readRequests < kReadBlocks);
            FUZZ_REQUIRE(AddressOf(frame) == kReadStart + m_readRequests * kReadBlockSize);
            ++m_readRequests;
        } else if (frame.size() == 4 + kWriteFrameSize && frame[0] == 'W') {
            writeFrame(frame, checked);
        } else {
            FUZZ_REQUIRE(!"a frame the dialogue does not have");
        }
    }

    void closePort() override {
        FUZZ_REQUIRE(m_inTransfer && m_endSent);
        m_closed = true;
    }

    QString encodeCodeplug() override {
        m_outgoing = m_image;
        return m_image;
    }

    int selectedBand() const override {
        FUZZ_REQUIRE(m_direction == Direction::Write && m_identAccepted);
        m_bandChecked = true;
        m_checkedBand = m_band;
        m_rxAtCheck = m_rx;
        return m_band;
    }

    void applyRead(const QString& imageHex, int radioBandIndex) override {
        FUZZ_REQUIRE(m_modal == Modal::None);
        FUZZ_REQUIRE(m_inTransfer && m_direction == Direction::Read && !m_applied);
        FUZZ_REQUIRE(m_readRequests == kReadBlocks);
        FUZZ_REQUIRE(imageHex.size() == kReadHexLength);
        FUZZ_REQUIRE(imageHex == BytesToImageHex(m_blocks));
        FUZZ_REQUIRE(radioBandIndex >= 0 && radioBandIndex < kBandCount);
        m_applied = true;
    }

    bool askBandQuestion(const QString& text) override {
        FUZZ_REQUIRE(m_modal == Modal::None && m_inTransfer);
        FUZZ_REQUIRE(m_service);
        FUZZ_REQUIRE(!text.isEmpty());
        FUZZ_REQUIRE(m_session.bandQuestionOpen());
        FUZZ_REQUIRE(!m_session.isTimerActive(Timer::Watchdog)); // held while on screen
        FUZZ_REQUIRE(m_checkedBand != m_approvedBand);
        Trace("question");
        whileModal(Modal::Question);
        m_answered = true;
        m_lastAnswer = m_answer;
        if (m_answer)
            m_approvedBand = m_checkedBand;
        return m_answer;
    }

    void showCommunicationError(const QString& text) override {
        FUZZ_REQUIRE(m_modal == Modal::None && m_inTransfer);
        FUZZ_REQUIRE(!text.isEmpty());
        // Failed before the box opens, so that bytes arriving meanwhile change nothing.
        FUZZ_REQUIRE(m_session.TransferStage() == kStageFailed);
        FUZZ_REQUIRE(m_session.outcome() == Outcome::CommunicationError);
        Trace("error box");
        whileModal(Modal::Error);
    }

    void transferEnded(Outcome outcome) override {
        FUZZ_REQUIRE(m_modal == Modal::None);
        FUZZ_REQUIRE(m_inTransfer);
        FUZZ_REQUIRE(m_endSent);
        FUZZ_REQUIRE(m_session.outcome() == outcome);
        m_inTransfer = false;
        Trace(QByteArray::number(int(outcome)).prepend("ended ").constData());
        const bool write = m_direction == Direction::Write;
        FUZZ_REQUIRE(m_applied == (outcome == Outcome::ReadDone));
        FUZZ_REQUIRE(m_closed == (outcome != Outcome::CommunicationError));
        switch (outcome) {
        case Outcome::ReadDone:
            FUZZ_REQUIRE(!write);
            break;
        case Outcome::WriteDone:
            FUZZ_REQUIRE(write);
            FUZZ_REQUIRE(m_lastWriteAddress == kWriteEnd - kWriteFrameSize);
            FUZZ_REQUIRE(m_writeFrames == 46 || (m_writeFrames == 47 && m_calibrationSeen));
            break;
        case Outcome::BandRefused:
            FUZZ_REQUIRE(write && !m_service);
            FUZZ_REQUIRE(m_checkedBand != m_approvedBand);
            break;
        case Outcome::BandDeclined:
            FUZZ_REQUIRE(write && m_answered && !m_lastAnswer);
            break;
        case Outcome::CommunicationError:
            break;
        default:
            FUZZ_REQUIRE(!"an outcome a single dialogue does not have");
        }
    }

private:
    void acknowledge(const QByteArray& rx) {
        if (!m_identAccepted) {
            // The identification was accepted.
            FUZZ_REQUIRE(rx.size() == kIdentReplySize);
            FUZZ_REQUIRE(rx.contains(kBands[0].modelId) || rx.contains(kBands[5].modelId));
            FUZZ_REQUIRE(m_session.TransferStage() == kStageBlocks);
            const int band = BandIndexFromCode(quint8(rx[kIdentBandOffset]));
            if (band >= 0)
                FUZZ_REQUIRE(m_session.RadioBandIndex() == band);
            m_identAccepted = true;
            m_approvedBand = m_session.RadioBandIndex();
            return;
        }
        // A data frame was accepted: for the block requested last, and the next one missing.
        FUZZ_REQUIRE(m_direction == Direction::Read);
        FUZZ_REQUIRE(m_readRequests > 0);
        const int address = kReadStart + (m_readRequests - 1) * kReadBlockSize;
        FUZZ_REQUIRE(rx.size() == kDataFrameSize);
        FUZZ_REQUIRE(rx[0] == 'W' && AddressOf(rx) == address);
        FUZZ_REQUIRE(m_blocks.size() == address - kReadStart);
        m_blocks += rx.mid(4);
    }

    void writeFrame(const QByteArray& frame, bool checked) {
        FUZZ_REQUIRE(frame[3] == char(kWriteFrameSize));
        FUZZ_REQUIRE(m_direction == Direction::Write && m_identAccepted);
        // The band check of this very step, on an acknowledgement alone.
        FUZZ_REQUIRE(checked);
        FUZZ_REQUIRE(m_rxAtCheck == SingleByte(kAck));
        FUZZ_REQUIRE(m_checkedBand == m_approvedBand);
        const int address = AddressOf(frame);
        FUZZ_REQUIRE(address == WriteAddressAfter(m_lastWriteAddress, m_calibration));
        FUZZ_REQUIRE(address < kWriteEnd);
        m_calibrationSeen = m_calibrationSeen || address == kCalibrationBlock;
        m_lastWriteAddress = address;
        FUZZ_REQUIRE(++m_writeFrames <= 47);
        const qsizetype at = 2 * qsizetype(address - kReadStart);
        FUZZ_REQUIRE(m_outgoing.size() >= at + 2 * kWriteFrameSize); // never padded
        FUZZ_REQUIRE(frame.mid(4) ==
                     ImageHexToBytes(QStringView(m_outgoing).mid(at, 2 * kWriteFrameSize)));
    }

    // A message box with its own event loop: a few events may arrive before it is answered.
    void whileModal(Modal modal) {
        m_modal = modal;
        const int events = m_in.ConsumeIntegralInRange(0, 4);
        for (int i = 0; i < events && m_in.remaining_bytes() > 0; ++i)
            operation();
        m_modal = Modal::None;
    }

    void beginTransfer(Direction direction) {
        m_inTransfer = true;
        m_direction = direction;
        m_identAccepted = m_endSent = m_closed = m_applied = m_answered = false;
        m_calibrationSeen = false;
        m_programRequests = m_readRequests = m_writeFrames = 0;
        m_lastWriteAddress = -1;
        m_blocks.clear();
        m_rx.clear();
        m_lastFrame.clear();
    }

    void start(Direction direction) {
        const bool wasBusy = m_session.busy();
        if (!wasBusy) {
            FUZZ_REQUIRE(!m_inTransfer);
            beginTransfer(direction);
        }
        const bool started = m_session.start(direction);
        FUZZ_REQUIRE(started == !wasBusy);
        if (started)
            FUZZ_REQUIRE(m_programRequests == 1);
    }

    void feed(const QByteArray& bytes) {
        if (bytes.isEmpty())
            return;
        m_rx += bytes;
        Trace("radio", bytes);
        m_session.receive(bytes);
    }

    // What a radio answers to the last frame.
    QByteArray reply() {
        const QByteArray& f = m_lastFrame;
        if (f.isEmpty() || f == SingleByte(kEnd))
            return QByteArray();
        if (f == SingleByte(kIdentify)) {
            const quint8 pick = m_in.ConsumeIntegral<quint8>();
            const char* model = (pick & 0x80) ? kBands[5].modelId : kBands[0].modelId;
            const char code = (pick & 0x40) ? char(m_in.ConsumeIntegral<quint8>())
                                            : char(kBands[(pick & 0x3F) % kBandCount].code);
            return QByteArray(model) + code + QByteArray(2, '\0');
        }
        if (f.size() == 4 && f[0] == 'R') {
            const quint8 seed = m_in.ConsumeIntegral<quint8>();
            QByteArray data = 'W' + f.mid(1, 2) + char(kReadBlockSize);
            for (int i = 0; i < kReadBlockSize; ++i)
                data += char((seed + 7 * i + AddressOf(f)) & 0xFF);
            return data;
        }
        return SingleByte(kAck); // to PROGRAM, to the acknowledgement, to a write frame
    }

    void sendReply() {
        QByteArray r = reply();
        const int variant = m_in.ConsumeIntegralInRange(0, 7);
        const char other = char(m_in.ConsumeIntegral<quint8>());
        const int cut = r.isEmpty() ? 0 : m_in.ConsumeIntegralInRange<int>(0, int(r.size()) - 1);
        switch (variant) {
        case 1: // in two pieces
            feed(r.left(cut));
            feed(r.mid(cut));
            return;
        case 2: // a byte at a time
            for (char c : r)
                feed(QByteArray(1, c));
            return;
        case 3:
            r.chop(1);
            break;
        case 4:
            if (!r.isEmpty())
                r[cut] = other;
            break;
        case 5:
            r.append(other);
            break;
        case 6:
            r.prepend(other);
            break;
        case 7: // repeated
            feed(r);
            break;
        default:
            break;
        }
        feed(r);
    }

    void setImage() {
        switch (m_in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            m_image = EncodeCodeplug(EditorState());
            break;
        case 1: {
            QByteArray b(kImageSize, Qt::Uninitialized);
            for (int i = 0; i < kImageSize; ++i)
                b[i] = char((7 * i + 3) & 0xFF);
            m_image = BytesToImageHex(b);
            break;
        }
        case 2: // an image text too short for the write
            m_image = EncodeCodeplug(EditorState()).left(m_in.ConsumeIntegralInRange(0, 1700));
            break;
        default: // longer than needed
            m_image = EncodeCodeplug(EditorState()) + QString(352, u'F');
            break;
        }
    }

    void operation() {
        switch (m_in.ConsumeIntegralInRange<int>(0, OpLast)) {
        case OpStartRead:
            start(Direction::Read);
            break;
        case OpStartWrite:
            start(Direction::Write);
            break;
        case OpTickWatchdog:
            m_session.tick(Timer::Watchdog);
            break;
        case OpTickBlink:
            m_session.tick(Timer::Blink);
            break;
        case OpTickRetry:
            m_session.tick(Timer::Retry);
            break;
        case OpRawBytes:
            feed(QByteArray::fromStdString(
                m_in.ConsumeBytesAsString(m_in.ConsumeIntegralInRange(1, 80))));
            break;
        case OpReply:
            sendReply();
            break;
        case OpSetBand:
            m_band = m_in.ConsumeIntegralInRange(0, kBandCount - 1);
            break;
        case OpToggleService:
            m_service = !m_service;
            m_session.setServiceMode(m_service);
            break;
        case OpToggleCalibration:
            m_calibration = !m_calibration;
            m_session.setCalibrationWrite(m_calibration);
            break;
        case OpSetAnswer:
            m_answer = m_in.ConsumeBool();
            break;
        case OpSetImage:
            setImage();
            break;
        case OpToggleLanguage:
            m_language = 1 - m_language;
            m_session.setLanguage(m_language);
            break;
        }
    }

    void checkIdleState() const {
        if (m_modal != Modal::None)
            return;
        const bool watchdog = m_session.isTimerActive(Timer::Watchdog);
        const bool blink = m_session.isTimerActive(Timer::Blink);
        if (m_session.busy())
            FUZZ_REQUIRE(watchdog || blink); // something will end it
        else
            FUZZ_REQUIRE(!watchdog && !m_session.isTimerActive(Timer::Retry) && !m_inTransfer);
        FUZZ_REQUIRE(m_session.progressValue() >= 0 &&
                     m_session.progressValue() <= kProgressMaximum);
    }

    FuzzedDataProvider& m_in;
    TransferSession m_session{*this};

    // What the fuzzer sets.
    int m_band = 0;
    bool m_service = false;
    bool m_calibration = false;
    bool m_answer = true;
    int m_language = 0;
    QString m_image = EncodeCodeplug(EditorState());

    // The transfer as seen from outside.
    Modal m_modal = Modal::None;
    bool m_inTransfer = false;
    Direction m_direction = Direction::None;
    QByteArray m_rx; // received since the last frame sent
    QByteArray m_lastFrame;
    QString m_outgoing;
    bool m_identAccepted = false;
    bool m_endSent = false;
    bool m_closed = false;
    bool m_applied = false;
    bool m_answered = false;
    bool m_lastAnswer = false;
    bool m_calibrationSeen = false;
    int m_approvedBand = -1;
    int m_programRequests = 0;
    int m_readRequests = 0;
    int m_writeFrames = 0;
    int m_lastWriteAddress = -1;
    QByteArray m_blocks;
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
