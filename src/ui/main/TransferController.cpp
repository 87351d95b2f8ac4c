#include "ui/main/TransferController.h"

#include "codeplug/Codec.h"
#include "codeplug/Hex.h"
#include "i18n/FileReason.h"
#include "i18n/LocalisedMessageBox.h"
#include "link/PortAdvice.h"
#include "link/TransferTexts.h"
#include "link/TransferTimers.h"
#include "ui/main/Form1.h"
#include "ui/main/WritePreviewDialog.h"

#include <QAction>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QTimer>
#include <QUrl>

namespace tr640 {

using link::Direction;
using link::JobResult;
using link::LinkText;
using link::Outcome;

namespace {

QString AddressText(int address) {
    return QStringLiteral("0x") + HexWord(address);
}

} // namespace

TransferController::TransferController(Form1& window, bool withTimers)
    : QObject(&window), window_(window), link_(new link::SerialLink(this)),
      job_(std::make_unique<link::TransferJob>(*this)),
      backups_(link::BackupDirectory(link::DefaultDataDirectory()), QStringLiteral("DAT"),
               link::kBackupsKept),
      traces_(link::TraceDirectory(link::DefaultDataDirectory()), QStringLiteral("txt"),
              link::kTracesKept),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    if (withTimers)
        timers_ = new link::TransferTimers(
            job_->session(), [this](link::Timer t) { job_->tick(t); }, this);
    connect(link_, &link::SerialLink::bytesReceived, this,
            [this](const QByteArray& bytes) { job_->receive(bytes); });
}

TransferController::~TransferController() = default;

// ---------------------------------------------------------------------------------------------
// Write checks, backups and traces.

void TransferController::setWriteChecks(const WriteChecks& checks) {
    checks_ = checks;
    Q_EMIT writeChecksChanged(checks_);
}

void TransferController::setWriteCheck(bool WriteChecks::*check, bool on) {
    checks_.*check = on;
    Q_EMIT writeCheckSet(checks_);
    Q_EMIT writeChecksChanged(checks_);
}

void TransferController::setDataDirectory(const QString& directory) {
    backups_.setDirectory(link::BackupDirectory(directory));
    traces_.setDirectory(link::TraceDirectory(directory));
}

void TransferController::openBackupFolder() {
    const QString folder = backups_.directory();
    QDir().mkpath(folder);
    if (!opener_(QUrl::fromLocalFile(folder)))
        window_.message(link::LinkTextFor(LinkText::CannotOpenPlace, window_.editor().Language)
                            .arg(QDir::toNativeSeparators(folder)),
                        MbOk | MbIconExclamation);
}

void TransferController::openLastTrace() {
    const int language = window_.editor().Language;
    const QString last = traces_.newest();
    if (last.isEmpty()) {
        window_.message(link::LinkTextFor(LinkText::NoTraceYet, language),
                        MbOk | MbIconInformation);
        return;
    }
    if (!opener_(QUrl::fromLocalFile(last)))
        window_.message(link::LinkTextFor(LinkText::CannotOpenPlace, language)
                            .arg(QDir::toNativeSeparators(last)),
                        MbOk | MbIconExclamation);
}

void TransferController::cancelTransfer() {
    job_->cancel();
}

void TransferController::showLater(const QString& text, quint32 style) {
    // Job results are told after the port handler that ended the job has returned.
    QTimer::singleShot(0, this, [this, text, style] { window_.message(text, style); });
}

// ---------------------------------------------------------------------------------------------
// The port menu.

bool TransferController::OpenCom() {
    const SharedState& s = window_.state();
    lastPortName_ =
        s.ComPortNumber > 0 ? link::SerialLink::menuPortName(s.ComPortNumber) : s.PortName;
    lastOpen_ = {};
    link_->close();
    if (lastPortName_.isEmpty())
        return false;
    lastOpen_ = link_->open(lastPortName_);
    return lastOpen_.ok();
}

// ---------------------------------------------------------------------------------------------
// Read and write.

void TransferController::mnureadFre() {
    start(Direction::Read);
}

void TransferController::mnuwriteFre() {
    start(Direction::Write);
}

bool TransferController::writeOther(const EditorState& codeplug) {
    // The next radio of a batch need not wait for the last one's result to stop showing.
    if (!job_->active() && session().showingResult())
        session().cancel(session().statusMessage());
    if (session().busy() || job_->active())
        return false;
    other_ = codeplug;
    start(Direction::Write);
    if (!job_->active())
        other_.reset();
    return job_->active();
}

void TransferController::start(Direction direction) {
    if (session().busy() || job_->active())
        return;
    window_.commitEditor();
    const int language = window_.editor().Language;
    if (!OpenCom()) {
        QString text = link::LinkTextFor(LinkText::PortNotOpen, language);
        if (!lastPortName_.isEmpty())
            text += QStringLiteral("\n\n") +
                    link::PortProblemAdvice(lastOpen_, lastPortName_, language);
        window_.message(text, MbOk | MbIconInformation);
        return;
    }
    session().setLanguage(language);
    session().setServiceMode(window_.state().ServiceMode);
    session().setCalibrationWrite(window_.editor().CalibrationWrite == 1);
    link::JobOptions options;
    if (direction == Direction::Write)
        options = {checks_.BackupFirst, checks_.Verify, checks_.Preview && !other_};
    keepFailures_.clear();
    window_.enterTransfer();
    job_->start(direction, options, lastPortName_);
}

void TransferController::sendBytes(const QByteArray& frame) {
    link_->write(frame);
}

void TransferController::closePort() {
    link_->close();
}

QString TransferController::encodeCodeplug() {
    return EncodeCodeplug(other_ ? *other_ : window_.editor());
}

int TransferController::selectedBand() const {
    return other_ ? other_->Band : window_.editor().Band;
}

void TransferController::confirmWrite(const QByteArray& radioImage, int) {
    const EditorState& e = window_.editor();
    const QList<FieldChange> changes =
        CompareCodeplugs(radioImage, EncodeImage(e), e.Language,
                         e.CalibrationWrite == 1 ? CompareScope::WrittenBytesWithCalibration
                                                 : CompareScope::WrittenBytes);
    // Asked after the port handler that ended the read has returned.
    QTimer::singleShot(0, this, [this, changes] {
        if (job_->awaitingDecision())
            job_->decideWrite(AskWritePreview(&window_, changes, window_.editor().Language));
    });
}

void TransferController::applyRead(const QString& imageHex, int radioBandIndex) {
    EditorState decoded = window_.editor();
    DecodeCodeplug(decoded, imageHex);
    // The band the radio reported, set without asking to clear the channels.
    decoded.CurrentBandIndex = radioBandIndex;
    decoded.Band = radioBandIndex;
    window_.document().replace(decoded, EditKind::Read);
}

bool TransferController::askBandQuestion(const QString& text) {
    return window_.message(text, MbYesNo | MbIconInformation) == IdYes;
}

void TransferController::showCommunicationError(const QString& text) {
    window_.message(text, MbOk | MbIconStop);
}

void TransferController::stateChanged() {
    if (timers_)
        timers_->sync();
    window_.showTransferState(session(), job_->active());
}

bool TransferController::reopenPort() {
    return OpenCom();
}

bool TransferController::keepImage(link::ImageKind kind, const QByteArray& image, int band) {
    FileStatus st;
    const QString path =
        backups_.store(QDateTime::currentDateTime(), link::BackupLabel(band, kind), image, &st);
    if (!path.isEmpty())
        return true;
    const QString reason = FileReasonText(st, window_.editor().Language, false);
    if (kind == link::ImageKind::BeforeWrite)
        beforeWriteFailure_ = reason;
    else
        keepFailures_ << reason;
    return false;
}

void TransferController::jobEnded(const link::JobReport& report) {
    other_.reset();
    const int language = window_.editor().Language;
    const bool read = report.step == link::JobStep::Read;
    traces_.store(QDateTime::currentDateTime(),
                  read ? QStringLiteral("read") : QStringLiteral("write"), job_->trace().text());

    QStringList texts;
    quint32 icon = MbIconExclamation;
    switch (report.result) {
    case JobResult::Cancelled:
        if (report.partlyWritten())
            texts << link::LinkTextFor(LinkText::WriteCancelledMessage, language);
        break;
    case JobResult::VerifyFailed:
        texts << link::LinkTextFor(LinkText::VerifyMismatch, language)
                     .arg(AddressText(report.mismatchAddress));
        icon = MbIconStop;
        break;
    case JobResult::BackupNotKept:
        texts
            << link::LinkTextFor(LinkText::BackupNotKeptMessage, language).arg(beforeWriteFailure_);
        icon = MbIconStop;
        break;
    case JobResult::PortLost: {
        QString text = link::LinkTextFor(LinkText::PortNotReopened, language);
        const QString advice = link::PortProblemAdvice(lastOpen_, lastPortName_, language);
        if (!advice.isEmpty())
            text += QStringLiteral("\n\n") + advice;
        texts << text;
        icon = MbIconStop;
        break;
    }
    case JobResult::None:
    case JobResult::Done:
    case JobResult::CommunicationError:
    case JobResult::BandRefused:
    case JobResult::BandDeclined:
        break;
    }
    for (const QString& reason : std::as_const(keepFailures_))
        texts << link::LinkTextFor(LinkText::AutoBackupNotSaved, language)
                     .arg(QDir::toNativeSeparators(backups_.directory()), reason);
    keepFailures_.clear();
    if (!texts.isEmpty())
        showLater(texts.join(QStringLiteral("\n\n")), MbOk | icon);

    Outcome outcome = report.outcome;
    if (report.result == JobResult::Done)
        outcome = read ? Outcome::ReadDone : Outcome::WriteDone;
    else if (outcome == Outcome::ReadDone || outcome == Outcome::WriteDone)
        outcome = Outcome::None;
    Q_EMIT ended(outcome);
}

} // namespace tr640
