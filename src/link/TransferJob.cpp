#include "link/TransferJob.h"

#include "codeplug/Hex.h"
#include "link/Frames.h"

namespace tr640::link {

namespace {

// Blink ticks (200 ms each) between the end request of one step and the program-mode request
// of the next: time for the radio to leave program mode.
constexpr int kStepPauseTicks = 2;
constexpr int kImageBytes = kWriteEnd - kReadStart; // 848, what a *.DAT file holds

Direction DirectionOf(JobStep step) {
    return step == JobStep::Write ? Direction::Write : Direction::Read;
}

QString StepName(JobStep step) {
    switch (step) {
    case JobStep::None:
        break;
    case JobStep::Read:
        return QStringLiteral("read");
    case JobStep::BackupRead:
        return QStringLiteral("backup read before writing");
    case JobStep::Write:
        return QStringLiteral("write");
    case JobStep::VerifyRead:
        return QStringLiteral("read-back for verification");
    }
    return QString();
}

QString OutcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::None:
        break;
    case Outcome::ReadDone:
        return QStringLiteral("read done");
    case Outcome::WriteDone:
        return QStringLiteral("write done");
    case Outcome::BandRefused:
        return QStringLiteral("band mismatch, refused");
    case Outcome::BandDeclined:
        return QStringLiteral("band mismatch, declined");
    case Outcome::CommunicationError:
        return QStringLiteral("no reply, communication error");
    case Outcome::Cancelled:
        return QStringLiteral("cancelled");
    }
    return QStringLiteral("running");
}

QByteArray ImageOf(const QString& hex) {
    return ImageHexToBytes(QStringView(hex).left(2 * kImageBytes));
}

} // namespace

TransferJob::TransferJob(JobHost& host) : m_host(host), m_session(*this) {}

JobStep TransferJob::step() const {
    return m_index < m_steps.size() ? m_steps.at(m_index) : JobStep::None;
}

bool TransferJob::start(Direction direction, JobOptions options, const QString& port) {
    if (m_active || m_session.busy() || direction == Direction::None)
        return false;
    m_steps.clear();
    QString what = QStringLiteral("read");
    if (direction == Direction::Read) {
        m_steps << JobStep::Read;
    } else {
        what = QStringLiteral("write");
        if (options.backupFirst || options.previewFirst) {
            m_steps << JobStep::BackupRead;
            what += QStringLiteral(", backup first");
        }
        m_steps << JobStep::Write;
        if (options.verify) {
            m_steps << JobStep::VerifyRead;
            what += QStringLiteral(", verify");
        }
    }
    m_index = 0;
    m_waiting = false;
    m_pauseTicks = 0;
    m_backupKept = false;
    m_preview = direction == Direction::Write && options.previewFirst;
    m_deciding = false;
    m_sentHex.clear();
    m_writeFrames.clear();
    m_readBack.clear();
    m_report = {};
    m_trace.begin(what, port);
    m_trace.note(StepName(step()));
    m_active = true;
    if (!m_session.start(DirectionOf(step()))) {
        m_active = false;
        return false;
    }
    return true;
}

void TransferJob::receive(QByteArrayView bytes) {
    if (!bytes.isEmpty())
        m_trace.received(bytes);
    m_session.receive(bytes);
}

void TransferJob::tick(Timer t) {
    if (m_deciding && t == Timer::Blink)
        return; // the read's result stays up while the host waits for the user
    const bool pause = t == Timer::Blink && m_waiting && m_session.isTimerActive(Timer::Blink);
    m_session.tick(t);
    if (pause && m_waiting && m_session.showingResult() && ++m_pauseTicks >= kStepPauseTicks)
        nextStep();
}

bool TransferJob::cancel() {
    if (!m_active)
        return false;
    if (m_deciding) {
        decideWrite(false);
        return true;
    }
    if (m_session.running()) {
        LinkText text = LinkText::ReadCancelled;
        switch (step()) {
        case JobStep::None:
        case JobStep::Read:
            break;
        case JobStep::BackupRead:
            text = LinkText::WriteCancelledUnchanged;
            break;
        case JobStep::Write:
            text = m_report.framesWritten > 0 ? LinkText::WriteCancelledPartial
                                              : LinkText::WriteCancelledUnchanged;
            break;
        case JobStep::VerifyRead:
            text = LinkText::VerifyCancelled;
            break;
        }
        m_trace.note(QStringLiteral("cancelled by the user"));
        return m_session.cancel(text); // ends the job through transferEnded()
    }
    if (m_waiting) {
        const JobStep next = m_steps.at(m_index + 1);
        m_waiting = false;
        m_trace.note(QStringLiteral("cancelled by the user before the %1").arg(StepName(next)));
        m_session.cancel(next == JobStep::Write ? LinkText::WriteCancelledUnchanged
                                                : LinkText::VerifyCancelled);
        end(JobResult::Cancelled);
        return true;
    }
    return false;
}

void TransferJob::decideWrite(bool write) {
    if (!m_deciding)
        return;
    m_deciding = false;
    if (write) {
        m_trace.note(QStringLiteral("the user chose to write"));
        waitForNextStep();
        return;
    }
    m_trace.note(QStringLiteral("the user chose not to write"));
    m_session.cancel(LinkText::WriteCancelledUnchanged);
    end(JobResult::Cancelled);
}

void TransferJob::waitForNextStep() {
    m_waiting = true;
    m_pauseTicks = 0;
}

void TransferJob::nextStep() {
    m_waiting = false;
    ++m_index;
    m_trace.note(StepName(step()));
    if (!m_host.reopenPort()) {
        m_trace.note(QStringLiteral("the port did not open again"));
        m_session.cancel(LinkText::PortNotReopened);
        end(JobResult::PortLost);
        return;
    }
    m_session.proceed(DirectionOf(step()));
}

void TransferJob::end(JobResult result) {
    m_active = false;
    m_waiting = false;
    m_report.result = result;
    m_report.step = step();
    m_report.outcome = m_session.outcome();
    if (result == JobResult::VerifyFailed)
        m_trace.note(QStringLiteral("verification failed at address 0x%1")
                         .arg(HexWord(m_report.mismatchAddress)));
    m_trace.note(QStringLiteral("end of transfer"));
    m_host.jobEnded(m_report);
    m_host.stateChanged();
}

int TransferJob::firstMismatch() const {
    // Frames went out in address order, so the first difference found is the lowest.
    for (const QByteArray& frame : m_writeFrames) {
        const int address = (quint8(frame.at(1)) << 8) | quint8(frame.at(2));
        for (int i = 0; i < kWriteFrameSize; ++i) {
            const qsizetype at = address + i - kReadStart;
            if (at < 0 || at >= m_readBack.size() || m_readBack.at(at) != frame.at(4 + i))
                return address + i;
        }
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// TransferHost, for the session.

void TransferJob::sendBytes(const QByteArray& frame) {
    m_trace.sent(frame);
    if (step() == JobStep::Write && frame.size() == 4 + kWriteFrameSize && frame.front() == 'W') {
        m_writeFrames << frame;
        ++m_report.framesWritten;
    }
    m_host.sendBytes(frame);
}

void TransferJob::closePort() {
    m_host.closePort();
}

QString TransferJob::encodeCodeplug() {
    const QString hex = m_host.encodeCodeplug();
    if (step() == JobStep::Write)
        m_sentHex = hex;
    return hex;
}

int TransferJob::selectedBand() const {
    return m_host.selectedBand();
}

void TransferJob::applyRead(const QString& imageHex, int radioBandIndex) {
    switch (step()) {
    case JobStep::Read:
        m_report.image = ImageOf(imageHex);
        m_host.applyRead(imageHex, radioBandIndex);
        m_host.keepImage(ImageKind::Read, m_report.image, radioBandIndex);
        break;
    case JobStep::BackupRead:
        m_report.backup = ImageOf(imageHex);
        m_backupKept = m_host.keepImage(ImageKind::BeforeWrite, m_report.backup, radioBandIndex);
        break;
    case JobStep::VerifyRead:
        m_readBack = ImageHexToBytes(imageHex);
        break;
    case JobStep::None:
    case JobStep::Write:
        break;
    }
}

bool TransferJob::askBandQuestion(const QString& text) {
    return m_host.askBandQuestion(text);
}

void TransferJob::showCommunicationError(const QString& text) {
    const int language = m_session.language();
    QString full = text;
    if (step() == JobStep::BackupRead)
        full += QStringLiteral("\n\n") + LinkTextFor(LinkText::BackupReadFailed, language);
    else if (step() == JobStep::VerifyRead)
        full += QStringLiteral("\n\n") + LinkTextFor(LinkText::VerifyReadFailed, language);
    else if (step() == JobStep::Write && m_report.framesWritten > 0)
        full += QStringLiteral("\n\n") + LinkTextFor(LinkText::PartialWriteNote, language);
    m_host.showCommunicationError(full);
}

void TransferJob::stateChanged() {
    m_host.stateChanged();
}

void TransferJob::transferEnded(Outcome outcome) {
    m_trace.note(StepName(step()) + QStringLiteral(": ") + OutcomeName(outcome));
    m_host.transferEnded(outcome);
    if (!m_active)
        return;
    const JobStep current = step();
    if (current == JobStep::Write) {
        m_report.image = ImageOf(m_sentHex);
        m_report.writeComplete = outcome == Outcome::WriteDone;
        if (m_report.framesWritten > 0)
            m_host.keepImage(ImageKind::Written, m_report.image, m_session.RadioBandIndex());
    }
    switch (outcome) {
    case Outcome::ReadDone:
        if (current == JobStep::BackupRead) {
            if (!m_backupKept) {
                m_session.showResult(LinkText::BackupNotKept);
                end(JobResult::BackupNotKept);
            } else if (m_preview) {
                m_deciding = true;
                m_host.confirmWrite(m_report.backup, m_session.RadioBandIndex());
            } else {
                waitForNextStep();
            }
            return;
        }
        if (current == JobStep::VerifyRead) {
            m_report.mismatchAddress = firstMismatch();
            const bool same = m_report.mismatchAddress < 0;
            m_session.showResult(same ? LinkText::VerifySuccess : LinkText::VerifyFailed);
            end(same ? JobResult::Done : JobResult::VerifyFailed);
            return;
        }
        end(JobResult::Done);
        return;
    case Outcome::WriteDone:
        if (hasNextStep())
            waitForNextStep();
        else
            end(JobResult::Done);
        return;
    case Outcome::BandRefused:
        end(JobResult::BandRefused);
        return;
    case Outcome::BandDeclined:
        end(JobResult::BandDeclined);
        return;
    case Outcome::CommunicationError:
        end(JobResult::CommunicationError);
        return;
    case Outcome::Cancelled:
        end(JobResult::Cancelled);
        return;
    case Outcome::None:
        break;
    }
}

} // namespace tr640::link
