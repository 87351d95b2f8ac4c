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

TransferJob::TransferJob(JobHost& host) : host_(host), session_(*this) {}

JobStep TransferJob::step() const {
    return index_ < steps_.size() ? steps_.at(index_) : JobStep::None;
}

bool TransferJob::start(Direction direction, JobOptions options, const QString& port) {
    if (active_ || session_.busy() || direction == Direction::None)
        return false;
    steps_.clear();
    QString what = QStringLiteral("read");
    if (direction == Direction::Read) {
        steps_ << JobStep::Read;
    } else {
        what = QStringLiteral("write");
        if (options.backupFirst || options.previewFirst) {
            steps_ << JobStep::BackupRead;
            what += QStringLiteral(", backup first");
        }
        steps_ << JobStep::Write;
        if (options.verify) {
            steps_ << JobStep::VerifyRead;
            what += QStringLiteral(", verify");
        }
    }
    index_ = 0;
    waiting_ = false;
    pauseTicks_ = 0;
    backupKept_ = false;
    preview_ = direction == Direction::Write && options.previewFirst;
    deciding_ = false;
    sentHex_.clear();
    writeFrames_.clear();
    readBack_.clear();
    report_ = {};
    trace_.begin(what, port);
    trace_.note(StepName(step()));
    active_ = true;
    if (!session_.start(DirectionOf(step()))) {
        active_ = false;
        return false;
    }
    return true;
}

void TransferJob::receive(QByteArrayView bytes) {
    if (!bytes.isEmpty())
        trace_.received(bytes);
    session_.receive(bytes);
}

void TransferJob::tick(Timer t) {
    if (deciding_ && t == Timer::Blink)
        return; // the read's result stays up while the host waits for the user
    const bool pause = t == Timer::Blink && waiting_ && session_.isTimerActive(Timer::Blink);
    session_.tick(t);
    if (pause && waiting_ && session_.showingResult() && ++pauseTicks_ >= kStepPauseTicks)
        nextStep();
}

bool TransferJob::cancel() {
    if (!active_)
        return false;
    if (deciding_) {
        decideWrite(false);
        return true;
    }
    if (session_.running()) {
        LinkText text = LinkText::ReadCancelled;
        switch (step()) {
        case JobStep::None:
        case JobStep::Read:
            break;
        case JobStep::BackupRead:
            text = LinkText::WriteCancelledUnchanged;
            break;
        case JobStep::Write:
            text = report_.framesWritten > 0 ? LinkText::WriteCancelledPartial
                                             : LinkText::WriteCancelledUnchanged;
            break;
        case JobStep::VerifyRead:
            text = LinkText::VerifyCancelled;
            break;
        }
        trace_.note(QStringLiteral("cancelled by the user"));
        return session_.cancel(text); // ends the job through transferEnded()
    }
    if (waiting_) {
        const JobStep next = steps_.at(index_ + 1);
        waiting_ = false;
        trace_.note(QStringLiteral("cancelled by the user before the %1").arg(StepName(next)));
        session_.cancel(next == JobStep::Write ? LinkText::WriteCancelledUnchanged
                                               : LinkText::VerifyCancelled);
        end(JobResult::Cancelled);
        return true;
    }
    return false;
}

void TransferJob::decideWrite(bool write) {
    if (!deciding_)
        return;
    deciding_ = false;
    if (write) {
        trace_.note(QStringLiteral("the user chose to write"));
        waitForNextStep();
        return;
    }
    trace_.note(QStringLiteral("the user chose not to write"));
    session_.cancel(LinkText::WriteCancelledUnchanged);
    end(JobResult::Cancelled);
}

void TransferJob::waitForNextStep() {
    waiting_ = true;
    pauseTicks_ = 0;
}

void TransferJob::nextStep() {
    waiting_ = false;
    ++index_;
    trace_.note(StepName(step()));
    if (!host_.reopenPort()) {
        trace_.note(QStringLiteral("the port did not open again"));
        session_.cancel(LinkText::PortNotReopened);
        end(JobResult::PortLost);
        return;
    }
    session_.proceed(DirectionOf(step()));
}

void TransferJob::end(JobResult result) {
    active_ = false;
    waiting_ = false;
    report_.result = result;
    report_.step = step();
    report_.outcome = session_.outcome();
    if (result == JobResult::VerifyFailed)
        trace_.note(QStringLiteral("verification failed at address 0x%1")
                        .arg(HexWord(report_.mismatchAddress)));
    trace_.note(QStringLiteral("end of transfer"));
    host_.jobEnded(report_);
    host_.stateChanged();
}

int TransferJob::firstMismatch() const {
    // Frames went out in address order, so the first difference found is the lowest.
    for (const QByteArray& frame : writeFrames_) {
        const int address = (quint8(frame.at(1)) << 8) | quint8(frame.at(2));
        for (int i = 0; i < kWriteFrameSize; ++i) {
            const qsizetype at = address + i - kReadStart;
            if (at < 0 || at >= readBack_.size() || readBack_.at(at) != frame.at(4 + i))
                return address + i;
        }
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// TransferHost, for the session.

void TransferJob::sendBytes(const QByteArray& frame) {
    trace_.sent(frame);
    if (step() == JobStep::Write && frame.size() == 4 + kWriteFrameSize && frame.front() == 'W') {
        writeFrames_ << frame;
        ++report_.framesWritten;
    }
    host_.sendBytes(frame);
}

void TransferJob::closePort() {
    host_.closePort();
}

QString TransferJob::encodeCodeplug() {
    const QString hex = host_.encodeCodeplug();
    if (step() == JobStep::Write)
        sentHex_ = hex;
    return hex;
}

int TransferJob::selectedBand() const {
    return host_.selectedBand();
}

void TransferJob::applyRead(const QString& imageHex, int radioBandIndex) {
    switch (step()) {
    case JobStep::Read:
        report_.image = ImageOf(imageHex);
        host_.applyRead(imageHex, radioBandIndex);
        host_.keepImage(ImageKind::Read, report_.image, radioBandIndex);
        break;
    case JobStep::BackupRead:
        report_.backup = ImageOf(imageHex);
        backupKept_ = host_.keepImage(ImageKind::BeforeWrite, report_.backup, radioBandIndex);
        break;
    case JobStep::VerifyRead:
        readBack_ = ImageHexToBytes(imageHex);
        break;
    case JobStep::None:
    case JobStep::Write:
        break;
    }
}

bool TransferJob::askBandQuestion(const QString& text) {
    return host_.askBandQuestion(text);
}

void TransferJob::showCommunicationError(const QString& text) {
    const int language = session_.language();
    QString full = text;
    if (step() == JobStep::BackupRead)
        full += QStringLiteral("\n\n") + LinkTextFor(LinkText::BackupReadFailed, language);
    else if (step() == JobStep::VerifyRead)
        full += QStringLiteral("\n\n") + LinkTextFor(LinkText::VerifyReadFailed, language);
    else if (step() == JobStep::Write && report_.framesWritten > 0)
        full += QStringLiteral("\n\n") + LinkTextFor(LinkText::PartialWriteNote, language);
    host_.showCommunicationError(full);
}

void TransferJob::stateChanged() {
    host_.stateChanged();
}

void TransferJob::transferEnded(Outcome outcome) {
    trace_.note(StepName(step()) + QStringLiteral(": ") + OutcomeName(outcome));
    host_.transferEnded(outcome);
    if (!active_)
        return;
    const JobStep current = step();
    if (current == JobStep::Write) {
        report_.image = ImageOf(sentHex_);
        report_.writeComplete = outcome == Outcome::WriteDone;
        if (report_.framesWritten > 0)
            host_.keepImage(ImageKind::Written, report_.image, session_.RadioBandIndex());
    }
    switch (outcome) {
    case Outcome::ReadDone:
        if (current == JobStep::BackupRead) {
            if (!backupKept_) {
                session_.showResult(LinkText::BackupNotKept);
                end(JobResult::BackupNotKept);
            } else if (preview_) {
                deciding_ = true;
                host_.confirmWrite(report_.backup, session_.RadioBandIndex());
            } else {
                waitForNextStep();
            }
            return;
        }
        if (current == JobStep::VerifyRead) {
            report_.mismatchAddress = firstMismatch();
            const bool same = report_.mismatchAddress < 0;
            session_.showResult(same ? LinkText::VerifySuccess : LinkText::VerifyFailed);
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
