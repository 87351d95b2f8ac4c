#include "link/TransferSession.h"

#include "codeplug/BandTable.h"
#include "codeplug/Hex.h"
#include "link/Frames.h"

namespace tr640::link {

namespace {

constexpr int kWatchdogLimit = 4; // the watchdog fires on the fourth tick without a reply
constexpr int kRetryLimit = 3;    // the program-mode request is repeated after three ticks
constexpr int kCountdownTicks = 12;
constexpr int kReadStep = 25;
constexpr int kWriteStep = 10;

// Nothing the dialogue recognises is longer than a data frame, so a babbling line only needs
// the most recent bytes kept.
constexpr qsizetype kRxHexLimit = 2 * 4096;

constexpr QLatin1String kAckHex("06");

// Whether `needle` (hex text of whole bytes) occurs in `hex` starting on a byte boundary.
template <typename Needle> bool ContainsBytes(const QString& hex, const Needle& needle) {
    for (qsizetype pos = hex.indexOf(needle); pos >= 0; pos = hex.indexOf(needle, pos + 1))
        if (pos % 2 == 0)
            return true;
    return false;
}

quint8 ByteAt(const QString& hex, qsizetype index) {
    const QByteArray b = ImageHexToBytes(QStringView(hex).mid(2 * index, 2));
    return b.isEmpty() ? 0 : static_cast<quint8>(b.at(0));
}

} // namespace

int TimerInterval(Timer t) {
    switch (t) {
    case Timer::Watchdog:
        return 1000;
    case Timer::Blink:
        return 200;
    case Timer::Retry:
        return 500;
    }
    return 1000;
}

TransferSession::TransferSession(TransferHost& host) : host_(host) {}

bool TransferSession::isTimerActive(Timer t) const {
    if (t == Timer::Watchdog && questionOpen_)
        return false; // held while the band question is on screen
    return timers_[static_cast<int>(t)];
}

void TransferSession::setTimer(Timer t, bool on) {
    timers_[static_cast<int>(t)] = on;
}

bool TransferSession::start(Direction direction) {
    if (busy_ || direction == Direction::None)
        return false;
    busy_ = true;
    running_ = true;
    outcome_ = Outcome::None;
    rxHex_.clear();
    direction_ = direction;
    stage_ = kStageHandshake;
    sendFrame(ProgramModeRequest());
    setStatus(LinkText::Communicating);
    setTimer(Timer::Blink, true);
    setTimer(Timer::Watchdog, true);
    setTimer(Timer::Retry, true);
    host_.stateChanged();
    return true;
}

void TransferSession::sendFrame(const QByteArray& frame) {
    rxHex_.clear();
    host_.sendBytes(frame);
}

void TransferSession::receive(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    rxHex_ += BytesToImageHex(bytes);
    if (rxHex_.size() > kRxHexLimit)
        rxHex_.remove(0, rxHex_.size() - kRxHexLimit);
    // While the band question is open the bytes are only collected; the answer decides.
    if (running_ && !questionOpen_) {
        if (stage_ == kStageHandshake)
            handshakeStep();
        else if (stage_ == kStageBlocks && direction_ == Direction::Write)
            writeStep();
        else if (stage_ == kStageBlocks && direction_ == Direction::Read)
            readStep();
    }
    host_.stateChanged();
}

void TransferSession::handshakeStep() {
    // An acknowledgement byte anywhere: the radio is in program mode, ask who it is.
    if (ContainsBytes(rxHex_, kAckHex)) {
        noReplyTicks_ = 0;
        setTimer(Timer::Retry, false);
        sendFrame(SingleByte(kIdentify));
        return;
    }
    if (rxHex_.size() != 2 * kIdentReplySize)
        return;
    const QString m6 = BytesToImageHex(QByteArrayView(kBands[0].modelId));
    const QString m5 = BytesToImageHex(QByteArrayView(kBands[5].modelId));
    if (!ContainsBytes(rxHex_, m6) && !ContainsBytes(rxHex_, m5))
        return;
    const int band = BandIndexFromCode(ByteAt(rxHex_, kIdentBandOffset));
    if (band >= 0)
        radioBandIndex_ = band;
    stage_ = kStageBlocks;
    blockAddress_ = kReadStart;
    outgoing_ = host_.encodeCodeplug();
    incoming_.clear();
    progressVisible_ = true;
    progressValue_ = 0;
    setTimer(Timer::Retry, false); // the repeat belongs to the handshake only
    noReplyTicks_ = 0;
    sendFrame(SingleByte(kAck));
}

void TransferSession::writeStep() {
    if (rxHex_ != kAckHex)
        return;
    advanceProgress(kWriteStep);
    noReplyTicks_ = 0;

    const int selected = host_.selectedBand();
    if (selected != radioBandIndex_) {
        radioBandIndex_ = selected; // later acknowledgements pass
        if (!serviceMode_) {
            finish(Outcome::BandRefused, LinkText::BandRefused);
            return;
        }
        questionOpen_ = true;
        host_.stateChanged();
        const bool yes = host_.askBandQuestion(LinkTextFor(LinkText::BandQuestion, language_));
        questionOpen_ = false;
        if (!running_)
            return; // cancelled while the question was open
        noReplyTicks_ = 0;
        if (!yes) {
            finish(Outcome::BandDeclined, LinkText::BandQuestion);
            return;
        }
    }

    if (blockAddress_ == kWriteEnd) {
        finish(Outcome::WriteDone, LinkText::WriteSuccess);
        return;
    }
    if ((blockAddress_ == kCalibrationBlock && !calibrationWrite_) ||
        blockAddress_ == kCalibrationBlock + kWriteFrameSize)
        blockAddress_ = kIdentBlock;
    else if (blockAddress_ == kIdentBlock + kWriteFrameSize)
        blockAddress_ = kUpperStart;

    const qsizetype at = 2 * qsizetype(blockAddress_ - kReadStart);
    if (outgoing_.size() < at + 2 * kWriteFrameSize)
        return; // an image too short to cover the frame is never padded onto the radio
    sendFrame(WriteFrame(blockAddress_,
                         ImageHexToBytes(QStringView(outgoing_).mid(at, 2 * kWriteFrameSize))));
    blockAddress_ += kWriteFrameSize;
}

void TransferSession::readStep() {
    if (rxHex_ == kAckHex) {
        if (blockAddress_ != kReadEnd) {
            advanceProgress(kReadStep);
            noReplyTicks_ = 0;
            sendFrame(ReadRequest(blockAddress_));
            blockAddress_ += kReadBlockSize;
            return;
        }
        // Only a complete image reaches the decoder; anything less is left to the watchdog.
        if (incoming_.size() != kReadHexLength)
            return;
        advanceProgress(kReadStep);
        noReplyTicks_ = 0;
        host_.applyRead(incoming_, radioBandIndex_);
        finish(Outcome::ReadDone, LinkText::ReadSuccess);
        return;
    }

    // A data frame for the block requested last, which must also be the next block missing
    // from the image (a repeated or skipped block would shift everything after it).
    const int address = blockAddress_ - kReadBlockSize;
    if (rxHex_.size() != 2 * kDataFrameSize)
        return;
    if (!rxHex_.startsWith(QStringLiteral("57") + HexWord(address)))
        return;
    if (incoming_.size() != 2 * qsizetype(address - kReadStart))
        return;
    noReplyTicks_ = 0;
    incoming_ += QStringView(rxHex_).mid(8, 2 * kReadBlockSize);
    sendFrame(SingleByte(kAck));
}

void TransferSession::finish(Outcome outcome, LinkText text) {
    setStatus(text);
    progressVisible_ = false;
    transferDone_ = true;
    setTimer(Timer::Watchdog, false);
    running_ = false;
    outcome_ = outcome;
    host_.sendBytes(SingleByte(kEnd)); // written directly: RxHex is kept
    host_.closePort();
    host_.transferEnded(outcome);
}

bool TransferSession::cancel(LinkText status) {
    if (running_) {
        running_ = false;
        for (bool& timer : timers_)
            timer = false;
        progressVisible_ = false;
        transferDone_ = false;
        doneTicks_ = 0;
        setStatus(status);
        statusVisible_ = true;
        outcome_ = Outcome::Cancelled;
        host_.sendBytes(SingleByte(kEnd));
        host_.closePort();
        leaveBusy();
        host_.transferEnded(Outcome::Cancelled);
        host_.stateChanged();
        return true;
    }
    if (showingResult()) {
        transferDone_ = false;
        doneTicks_ = 0;
        setTimer(Timer::Blink, false);
        setStatus(status);
        statusVisible_ = true;
        leaveBusy();
        host_.stateChanged();
        return true;
    }
    return false;
}

bool TransferSession::proceed(Direction direction) {
    const bool succeeded = outcome_ == Outcome::ReadDone || outcome_ == Outcome::WriteDone;
    if (!showingResult() || !succeeded || direction == Direction::None)
        return false;
    transferDone_ = false;
    doneTicks_ = 0;
    leaveBusy();
    return start(direction);
}

void TransferSession::showResult(LinkText text) {
    if (!running_)
        setStatus(text);
}

void TransferSession::tick(Timer t) {
    if (!isTimerActive(t))
        return;
    switch (t) {
    case Timer::Watchdog:
        watchdogTick();
        break;
    case Timer::Blink:
        blinkTick();
        break;
    case Timer::Retry:
        retryTick();
        break;
    }
    host_.stateChanged();
}

void TransferSession::watchdogTick() {
    if (++noReplyTicks_ < kWatchdogLimit)
        return;
    noReplyTicks_ = 0;
    setTimer(Timer::Watchdog, false);
    statusVisible_ = false;
    setTimer(Timer::Blink, false);
    setTimer(Timer::Retry, false);
    // Failed before the box is shown, so bytes arriving while it is open are ignored.
    stage_ = kStageFailed;
    running_ = false;
    progressVisible_ = false;
    outcome_ = Outcome::CommunicationError;
    host_.stateChanged();
    host_.showCommunicationError(LinkTextFor(LinkText::CommunicationError, language_));
    rxHex_.clear();
    host_.sendBytes(SingleByte(kEnd)); // the port stays open
    leaveBusy();
    host_.transferEnded(Outcome::CommunicationError);
}

void TransferSession::blinkTick() {
    statusVisible_ = !statusVisible_;
    if (transferDone_)
        ++doneTicks_;
    if (doneTicks_ >= kCountdownTicks) {
        doneTicks_ = 0;
        transferDone_ = false;
        statusVisible_ = false;
        setTimer(Timer::Blink, false);
        leaveBusy();
    }
}

void TransferSession::retryTick() {
    if (++retryTicks_ < kRetryLimit)
        return;
    retryTicks_ = 0;
    sendFrame(ProgramModeRequest());
    setTimer(Timer::Retry, false);
}

void TransferSession::setStatus(LinkText text) {
    statusId_ = text;
    statusText_ = LinkTextFor(text, language_);
}

void TransferSession::advanceProgress(int step) {
    if (progressValue_ < kProgressMaximum)
        progressValue_ = qMin(progressValue_ + step, kProgressMaximum);
}

void TransferSession::leaveBusy() {
    busy_ = false;
}

} // namespace tr640::link
