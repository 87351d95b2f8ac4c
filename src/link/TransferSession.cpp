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

TransferSession::TransferSession(TransferHost& host) : m_host(host) {}

bool TransferSession::isTimerActive(Timer t) const {
    if (t == Timer::Watchdog && m_questionOpen)
        return false; // held while the band question is on screen
    return m_timers[static_cast<int>(t)];
}

void TransferSession::setTimer(Timer t, bool on) {
    m_timers[static_cast<int>(t)] = on;
}

bool TransferSession::start(Direction direction) {
    if (m_busy || direction == Direction::None)
        return false;
    m_busy = true;
    m_running = true;
    m_outcome = Outcome::None;
    m_rxHex.clear();
    m_direction = direction;
    m_stage = kStageHandshake;
    sendFrame(ProgramModeRequest());
    setStatus(LinkText::Communicating);
    setTimer(Timer::Blink, true);
    setTimer(Timer::Watchdog, true);
    setTimer(Timer::Retry, true);
    m_host.stateChanged();
    return true;
}

void TransferSession::sendFrame(const QByteArray& frame) {
    m_rxHex.clear();
    m_host.sendBytes(frame);
}

void TransferSession::receive(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    m_rxHex += BytesToImageHex(bytes);
    if (m_rxHex.size() > kRxHexLimit)
        m_rxHex.remove(0, m_rxHex.size() - kRxHexLimit);
    // While the band question is open the bytes are only collected; the answer decides.
    if (m_running && !m_questionOpen) {
        if (m_stage == kStageHandshake)
            handshakeStep();
        else if (m_stage == kStageBlocks && m_direction == Direction::Write)
            writeStep();
        else if (m_stage == kStageBlocks && m_direction == Direction::Read)
            readStep();
    }
    m_host.stateChanged();
}

void TransferSession::handshakeStep() {
    // An acknowledgement byte anywhere: the radio is in program mode, ask who it is.
    if (ContainsBytes(m_rxHex, kAckHex)) {
        m_noReplyTicks = 0;
        setTimer(Timer::Retry, false);
        sendFrame(SingleByte(kIdentify));
        return;
    }
    if (m_rxHex.size() != 2 * kIdentReplySize)
        return;
    const QString m6 = BytesToImageHex(QByteArrayView(kBands[0].modelId));
    const QString m5 = BytesToImageHex(QByteArrayView(kBands[5].modelId));
    if (!ContainsBytes(m_rxHex, m6) && !ContainsBytes(m_rxHex, m5))
        return;
    const int band = BandIndexFromCode(ByteAt(m_rxHex, kIdentBandOffset));
    if (band >= 0)
        m_radioBandIndex = band;
    m_stage = kStageBlocks;
    m_blockAddress = kReadStart;
    m_outgoing = m_host.encodeCodeplug();
    m_incoming.clear();
    m_progressVisible = true;
    m_progressValue = 0;
    setTimer(Timer::Retry, false); // the repeat belongs to the handshake only
    m_noReplyTicks = 0;
    sendFrame(SingleByte(kAck));
}

void TransferSession::writeStep() {
    if (m_rxHex != kAckHex)
        return;
    advanceProgress(kWriteStep);
    m_noReplyTicks = 0;

    const int selected = m_host.selectedBand();
    if (selected != m_radioBandIndex) {
        m_radioBandIndex = selected; // later acknowledgements pass
        if (!m_serviceMode) {
            finish(Outcome::BandRefused, LinkText::BandRefused);
            return;
        }
        m_questionOpen = true;
        m_host.stateChanged();
        const bool yes = m_host.askBandQuestion(LinkTextFor(LinkText::BandQuestion, m_language));
        m_questionOpen = false;
        if (!m_running)
            return; // cancelled while the question was open
        m_noReplyTicks = 0;
        if (!yes) {
            finish(Outcome::BandDeclined, LinkText::BandQuestion);
            return;
        }
    }

    if (m_blockAddress == kWriteEnd) {
        finish(Outcome::WriteDone, LinkText::WriteSuccess);
        return;
    }
    if ((m_blockAddress == kCalibrationBlock && !m_calibrationWrite) ||
        m_blockAddress == kCalibrationBlock + kWriteFrameSize)
        m_blockAddress = kIdentBlock;
    else if (m_blockAddress == kIdentBlock + kWriteFrameSize)
        m_blockAddress = kUpperStart;

    const qsizetype at = 2 * qsizetype(m_blockAddress - kReadStart);
    if (m_outgoing.size() < at + 2 * kWriteFrameSize)
        return; // an image too short to cover the frame is never padded onto the radio
    sendFrame(WriteFrame(m_blockAddress,
                         ImageHexToBytes(QStringView(m_outgoing).mid(at, 2 * kWriteFrameSize))));
    m_blockAddress += kWriteFrameSize;
}

void TransferSession::readStep() {
    if (m_rxHex == kAckHex) {
        if (m_blockAddress != kReadEnd) {
            advanceProgress(kReadStep);
            m_noReplyTicks = 0;
            sendFrame(ReadRequest(m_blockAddress));
            m_blockAddress += kReadBlockSize;
            return;
        }
        // Only a complete image reaches the decoder; anything less is left to the watchdog.
        if (m_incoming.size() != kReadHexLength)
            return;
        advanceProgress(kReadStep);
        m_noReplyTicks = 0;
        m_host.applyRead(m_incoming, m_radioBandIndex);
        finish(Outcome::ReadDone, LinkText::ReadSuccess);
        return;
    }

    // A data frame for the block requested last, which must also be the next block missing
    // from the image (a repeated or skipped block would shift everything after it).
    const int address = m_blockAddress - kReadBlockSize;
    if (m_rxHex.size() != 2 * kDataFrameSize)
        return;
    if (!m_rxHex.startsWith(QStringLiteral("57") + HexWord(address)))
        return;
    if (m_incoming.size() != 2 * qsizetype(address - kReadStart))
        return;
    m_noReplyTicks = 0;
    m_incoming += QStringView(m_rxHex).mid(8, 2 * kReadBlockSize);
    sendFrame(SingleByte(kAck));
}

void TransferSession::finish(Outcome outcome, LinkText text) {
    setStatus(text);
    m_progressVisible = false;
    m_transferDone = true;
    setTimer(Timer::Watchdog, false);
    m_running = false;
    m_outcome = outcome;
    m_host.sendBytes(SingleByte(kEnd)); // written directly: RxHex is kept
    m_host.closePort();
    m_host.transferEnded(outcome);
}

bool TransferSession::cancel(LinkText status) {
    if (m_running) {
        m_running = false;
        for (bool& timer : m_timers)
            timer = false;
        m_progressVisible = false;
        m_transferDone = false;
        m_doneTicks = 0;
        setStatus(status);
        m_statusVisible = true;
        m_outcome = Outcome::Cancelled;
        m_host.sendBytes(SingleByte(kEnd));
        m_host.closePort();
        leaveBusy();
        m_host.transferEnded(Outcome::Cancelled);
        m_host.stateChanged();
        return true;
    }
    if (showingResult()) {
        m_transferDone = false;
        m_doneTicks = 0;
        setTimer(Timer::Blink, false);
        setStatus(status);
        m_statusVisible = true;
        leaveBusy();
        m_host.stateChanged();
        return true;
    }
    return false;
}

bool TransferSession::proceed(Direction direction) {
    const bool succeeded = m_outcome == Outcome::ReadDone || m_outcome == Outcome::WriteDone;
    if (!showingResult() || !succeeded || direction == Direction::None)
        return false;
    m_transferDone = false;
    m_doneTicks = 0;
    leaveBusy();
    return start(direction);
}

void TransferSession::showResult(LinkText text) {
    if (!m_running)
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
    m_host.stateChanged();
}

void TransferSession::watchdogTick() {
    if (++m_noReplyTicks < kWatchdogLimit)
        return;
    m_noReplyTicks = 0;
    setTimer(Timer::Watchdog, false);
    m_statusVisible = false;
    setTimer(Timer::Blink, false);
    setTimer(Timer::Retry, false);
    // Failed before the box is shown, so bytes arriving while it is open are ignored.
    m_stage = kStageFailed;
    m_running = false;
    m_progressVisible = false;
    m_outcome = Outcome::CommunicationError;
    m_host.stateChanged();
    m_host.showCommunicationError(LinkTextFor(LinkText::CommunicationError, m_language));
    m_rxHex.clear();
    m_host.sendBytes(SingleByte(kEnd)); // the port stays open
    leaveBusy();
    m_host.transferEnded(Outcome::CommunicationError);
}

void TransferSession::blinkTick() {
    m_statusVisible = !m_statusVisible;
    if (m_transferDone)
        ++m_doneTicks;
    if (m_doneTicks >= kCountdownTicks) {
        m_doneTicks = 0;
        m_transferDone = false;
        m_statusVisible = false;
        setTimer(Timer::Blink, false);
        leaveBusy();
    }
}

void TransferSession::retryTick() {
    if (++m_retryTicks < kRetryLimit)
        return;
    m_retryTicks = 0;
    sendFrame(ProgramModeRequest());
    setTimer(Timer::Retry, false);
}

void TransferSession::setStatus(LinkText text) {
    m_statusId = text;
    m_statusText = LinkTextFor(text, m_language);
}

void TransferSession::advanceProgress(int step) {
    if (m_progressValue < kProgressMaximum)
        m_progressValue = qMin(m_progressValue + step, kProgressMaximum);
}

void TransferSession::leaveBusy() {
    m_busy = false;
}

} // namespace tr640::link
