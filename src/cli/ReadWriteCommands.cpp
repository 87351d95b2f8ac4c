// read and write: transfers with a radio, driven by the same session as the main window.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ProgressLine.h"

#include "codeplug/BiText.h"
#include "codeplug/Codec.h"
#include "codeplug/CodeplugDiff.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/EditorState.h"
#include "codeplug/Hex.h"
#include "link/PortAdvice.h"
#include "link/SerialLink.h"
#include "link/TransferJob.h"
#include "link/TransferTimers.h"

#include <QEventLoop>

namespace tr640::cli {

namespace {

using link::JobResult;
using link::Outcome;

struct Options {
    QString port;
    QString output; // read only
    QString file;   // write only
    QString backup; // write only: the radio's image before the write
    QString trace;  // the serial trace of the transfer
    bool service = false;
    bool verify = false;  // write only
    bool preview = false; // write only: list the changes first, write only with `yes`
    bool yes = false;
    int language = English;
};

// Parses the options of read (write = false) or write. Returns ExitOk or the usage status.
int ParseOptions(const QStringList& args, bool write, Options* o) {
    QList<CliOption> options{{"port", "--port needs a port name"},
                             kLanguageOption,
                             {"trace", "--trace needs a file name", true}};
    if (write)
        options.append(QList<CliOption>{{"backup", "--backup needs a file name", true},
                                        {"verify"},
                                        {"preview"},
                                        {"yes"},
                                        {"service"}});
    else
        options.append(CliOption{"o", "-o needs a file name"});
    CommandLine line(options, write ? 1 : 0);
    if (const int status = line.parse(args))
        return status;
    o->port = line.value("port");
    o->language = line.language();
    o->output = line.value("o");
    o->trace = line.value("trace");
    o->backup = line.value("backup");
    o->verify = line.isSet("verify");
    o->preview = line.isSet("preview");
    o->yes = line.isSet("yes");
    o->service = line.isSet("service");
    if (o->port.isEmpty())
        return UsageError(QStringLiteral("--port is required"));
    if (write && line.files().isEmpty())
        return UsageError(QStringLiteral("write needs a codeplug file"));
    o->file = line.files().value(0);
    return ExitOk;
}

void PrintResult(QTextStream& s, const QString& text) {
    if (!text.isEmpty())
        s << text << '\n';
}

QString PortErrorText(link::PortError e) {
    switch (e) {
    case link::PortError::InUse:
        return QStringLiteral("the port is in use by another program");
    case link::PortError::NotFound:
        return QStringLiteral("there is no such port");
    case link::PortError::PermissionDenied:
#ifdef Q_OS_LINUX
        return QStringLiteral("permission denied (is the user in the 'dialout' group?)");
#else
        return QStringLiteral("permission denied");
#endif
    case link::PortError::None:
    case link::PortError::Other:
        break;
    }
    return QStringLiteral("the port cannot be opened");
}

// The window-less owner of a transfer: the port, the three timers and an editor state.
class CliHost : public link::JobHost {
public:
    CliHost(EditorState& editor, const Options& options)
        : editor_(editor), options_(options),
          timers_(job_.session(), [this](link::Timer t) { job_.tick(t); }) {
        job_.session().setLanguage(options.language);
        job_.session().setServiceMode(options.service);
        job_.session().setCalibrationWrite(editor.CalibrationWrite != 0);
        QObject::connect(&link_, &link::SerialLink::bytesReceived, &loop_,
                         [this](const QByteArray& b) { job_.receive(b); });
    }

    // Opens the port and runs the transfer to its end. Returns the exit status.
    int run(link::Direction direction) {
        const link::PortOpenResult opened = link_.open(options_.port);
        if (!opened.ok()) {
            Err() << link::LinkTextFor(link::LinkText::PortNotOpen, options_.language) << '\n'
                  << "tr640-cli: " << options_.port << ": " << PortErrorText(opened.error);
            if (!opened.detail.isEmpty())
                Err() << " (" << opened.detail << ')';
            Err() << '\n'
                  << link::PortProblemAdvice(opened, options_.port, options_.language) << '\n';
            Err().flush();
            job_.trace().begin(QStringLiteral("transfer"), options_.port);
            job_.trace().note(QStringLiteral("the port did not open: ") + opened.detail);
            saveTrace();
            return ExitCommunication;
        }
        const link::JobOptions jobOptions{!options_.backup.isEmpty(), options_.verify,
                                          options_.preview};
        if (job_.start(direction, jobOptions, options_.port) && job_.active())
            loop_.exec();
        if (job_.report().result == JobResult::Done)
            progress_.show(link::kProgressMaximum); // a read ends short of it
        progress_.finish();
        link_.close();
        saveTrace();
        return status();
    }

    const link::JobReport& report() const { return job_.report(); }
    // The status line's last text, for transfers that got as far as a result.
    QString resultText() const {
        const JobResult r = job_.report().result;
        const bool result = r != JobResult::None && r != JobResult::CommunicationError;
        return result ? job_.session().statusText() : QString();
    }

    void sendBytes(const QByteArray& frame) override { link_.write(frame); }
    void closePort() override { link_.close(); }
    QString encodeCodeplug() override { return EncodeCodeplug(editor_); }
    int selectedBand() const override { return editor_.Band; }

    void applyRead(const QString&, int radioBandIndex) override {
        editor_.Band = radioBandIndex;
        editor_.CurrentBandIndex = radioBandIndex;
    }

    bool askBandQuestion(const QString& text) override {
        // Only reached with --service, which answers Yes.
        progress_.finish();
        Err() << text << ' ' << (options_.service ? "yes" : "no") << '\n';
        Err().flush();
        return options_.service;
    }

    void showCommunicationError(const QString& text) override {
        progress_.finish();
        Err() << text << '\n';
        Err().flush();
    }

    void stateChanged() override {
        timers_.sync();
        const link::TransferSession& s = job_.session();
        if (s.statusMessage() == link::LinkText::Communicating && s.statusText() != shownStatus_) {
            shownStatus_ = s.statusText();
            progress_.finish();
            Err() << shownStatus_ << '\n';
        }
        if (s.progressVisible() || s.progressValue() > 0)
            progress_.show(s.progressValue());
        Err().flush();
    }

    bool reopenPort() override { return link_.open(options_.port).ok(); }

    bool keepImage(link::ImageKind kind, const QByteArray& image, int) override {
        if (kind != link::ImageKind::BeforeWrite || options_.backup.isEmpty())
            return true;
        const FileStatus written = WriteFileAtomically(options_.backup, image);
        if (!written.ok())
            backupError_ = DescribeFileError(options_.backup, written);
        return written.ok();
    }

    void jobEnded(const link::JobReport&) override { loop_.quit(); }

    void confirmWrite(const QByteArray& radioImage, int) override {
        const EditorState& e = editor_;
        const QList<FieldChange> changes =
            CompareCodeplugs(radioImage, EncodeImage(e), options_.language,
                             e.CalibrationWrite ? CompareScope::WrittenBytesWithCalibration
                                                : CompareScope::WrittenBytes);
        previewDiffers_ = !changes.isEmpty();
        PrintChanges(changes, options_.language, false, RadioHoldsCodeplugText(options_.language));
        job_.decideWrite(options_.yes);
    }

    // write --preview without --yes: whether the write would have changed the radio.
    bool previewDiffers() const { return previewDiffers_; }

private:
    int status() const {
        const link::JobReport& r = job_.report();
        const int language = options_.language;
        switch (r.result) {
        case JobResult::Done:
            return ExitOk;
        case JobResult::BandRefused:
        case JobResult::BandDeclined:
            return ExitBandRefused;
        case JobResult::VerifyFailed:
            Err() << "tr640-cli: "
                  << link::LinkTextFor(link::LinkText::VerifyMismatch, language)
                         .arg(QStringLiteral("0x") + HexWord(r.mismatchAddress))
                  << '\n';
            return ExitVerifyFailed;
        case JobResult::BackupNotKept:
            Err() << backupError_ << '\n';
            return ExitFileError;
        case JobResult::None:
        case JobResult::CommunicationError:
        case JobResult::PortLost:
        case JobResult::Cancelled:
            break;
        }
        return ExitCommunication;
    }

    void saveTrace() {
        if (options_.trace.isEmpty())
            return;
        const FileStatus written = WriteFileAtomically(options_.trace, job_.trace().text());
        if (!written.ok())
            Err() << DescribeFileError(options_.trace, written) << '\n';
    }

    EditorState& editor_;
    const Options& options_;
    QEventLoop loop_;
    link::SerialLink link_;
    link::TransferJob job_{*this};
    link::TransferTimers timers_;
    QString shownStatus_;
    ProgressLine progress_{Err(), ProgressLine::StandardErrorIsTerminal(), link::kProgressMaximum};
    QString backupError_;
    bool previewDiffers_ = false;
};

} // namespace

int RunRead(const QStringList& args) {
    Options o;
    if (const int status = ParseOptions(args, false, &o); status != ExitOk)
        return status;
    EditorState editor;
    editor.Language = o.language;
    CliHost host(editor, o);
    const int status = host.run(link::Direction::Read);
    if (status != ExitOk) {
        PrintResult(Err(), host.resultText());
        return status;
    }
    if (o.output.isEmpty()) {
        Out() << BytesToImageHex(host.report().image) << '\n';
        Out().flush();
        PrintResult(Err(), host.resultText());
        return ExitOk;
    }
    const FileStatus written = WriteFileAtomically(o.output, host.report().image);
    if (!written.ok()) {
        Err() << DescribeFileError(o.output, written) << '\n';
        return ExitFileError;
    }
    PrintResult(Out(), host.resultText());
    return ExitOk;
}

int RunWrite(const QStringList& args) {
    Options o;
    if (const int status = ParseOptions(args, true, &o); status != ExitOk)
        return status;
    FileStatus read;
    const QByteArray bytes = ReadCodeplugFile(o.file, &read);
    if (!read.ok()) {
        Err() << DescribeFileError(o.file, read) << '\n';
        return ExitFileError;
    }
    EditorState editor;
    editor.Language = o.language;
    DecodeImage(editor, bytes);
    CliHost host(editor, o);
    const int status = host.run(link::Direction::Write);
    const link::JobReport& report = host.report();
    if (o.preview && !o.yes && report.result == JobResult::Cancelled && report.framesWritten == 0)
        return host.previewDiffers() ? ExitDiffers : ExitOk; // only asked what would change
    PrintResult(status == ExitOk ? Out() : Err(), host.resultText());
    return status;
}

} // namespace tr640::cli
