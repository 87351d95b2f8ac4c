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
        : m_editor(editor), m_options(options),
          m_timers(m_job.session(), [this](link::Timer t) { m_job.tick(t); }) {
        m_job.session().setLanguage(options.language);
        m_job.session().setServiceMode(options.service);
        m_job.session().setCalibrationWrite(editor.CalibrationWrite != 0);
        QObject::connect(&m_link, &link::SerialLink::bytesReceived, &m_loop,
                         [this](const QByteArray& b) { m_job.receive(b); });
    }

    // Opens the port and runs the transfer to its end. Returns the exit status.
    int run(link::Direction direction) {
        const link::PortOpenResult opened = m_link.open(m_options.port);
        if (!opened.ok()) {
            Err() << link::LinkTextFor(link::LinkText::PortNotOpen, m_options.language) << '\n'
                  << "tr640-cli: " << m_options.port << ": " << PortErrorText(opened.error);
            if (!opened.detail.isEmpty())
                Err() << " (" << opened.detail << ')';
            Err() << '\n'
                  << link::PortProblemAdvice(opened, m_options.port, m_options.language) << '\n';
            Err().flush();
            m_job.trace().begin(QStringLiteral("transfer"), m_options.port);
            m_job.trace().note(QStringLiteral("the port did not open: ") + opened.detail);
            saveTrace();
            return ExitCommunication;
        }
        const link::JobOptions jobOptions{!m_options.backup.isEmpty(), m_options.verify,
                                          m_options.preview};
        if (m_job.start(direction, jobOptions, m_options.port) && m_job.active())
            m_loop.exec();
        if (m_job.report().result == JobResult::Done)
            m_progress.show(link::kProgressMaximum); // a read ends short of it
        m_progress.finish();
        m_link.close();
        saveTrace();
        return status();
    }

    const link::JobReport& report() const { return m_job.report(); }
    // The status line's last text, for transfers that got as far as a result.
    QString resultText() const {
        const JobResult r = m_job.report().result;
        const bool result = r != JobResult::None && r != JobResult::CommunicationError;
        return result ? m_job.session().statusText() : QString();
    }

    void sendBytes(const QByteArray& frame) override { m_link.write(frame); }
    void closePort() override { m_link.close(); }
    QString encodeCodeplug() override { return EncodeCodeplug(m_editor); }
    int selectedBand() const override { return m_editor.Band; }

    void applyRead(const QString&, int radioBandIndex) override {
        m_editor.Band = radioBandIndex;
        m_editor.CurrentBandIndex = radioBandIndex;
    }

    bool askBandQuestion(const QString& text) override {
        // Only reached with --service, which answers Yes.
        m_progress.finish();
        Err() << text << ' ' << (m_options.service ? "yes" : "no") << '\n';
        Err().flush();
        return m_options.service;
    }

    void showCommunicationError(const QString& text) override {
        m_progress.finish();
        Err() << text << '\n';
        Err().flush();
    }

    void stateChanged() override {
        m_timers.sync();
        const link::TransferSession& s = m_job.session();
        if (s.statusMessage() == link::LinkText::Communicating && s.statusText() != m_shownStatus) {
            m_shownStatus = s.statusText();
            m_progress.finish();
            Err() << m_shownStatus << '\n';
        }
        if (s.progressVisible() || s.progressValue() > 0)
            m_progress.show(s.progressValue());
        Err().flush();
    }

    bool reopenPort() override { return m_link.open(m_options.port).ok(); }

    bool keepImage(link::ImageKind kind, const QByteArray& image, int) override {
        if (kind != link::ImageKind::BeforeWrite || m_options.backup.isEmpty())
            return true;
        const FileStatus written = WriteFileAtomically(m_options.backup, image);
        if (!written.ok())
            m_backupError = DescribeFileError(m_options.backup, written);
        return written.ok();
    }

    void jobEnded(const link::JobReport&) override { m_loop.quit(); }

    void confirmWrite(const QByteArray& radioImage, int) override {
        const EditorState& e = m_editor;
        const QList<FieldChange> changes =
            CompareCodeplugs(radioImage, EncodeImage(e), m_options.language,
                             e.CalibrationWrite ? CompareScope::WrittenBytesWithCalibration
                                                : CompareScope::WrittenBytes);
        m_previewDiffers = !changes.isEmpty();
        PrintChanges(changes, m_options.language, false,
                     RadioHoldsCodeplugText(m_options.language));
        m_job.decideWrite(m_options.yes);
    }

    // write --preview without --yes: whether the write would have changed the radio.
    bool previewDiffers() const { return m_previewDiffers; }

private:
    int status() const {
        const link::JobReport& r = m_job.report();
        const int language = m_options.language;
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
            Err() << m_backupError << '\n';
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
        if (m_options.trace.isEmpty())
            return;
        const FileStatus written = WriteFileAtomically(m_options.trace, m_job.trace().text());
        if (!written.ok())
            Err() << DescribeFileError(m_options.trace, written) << '\n';
    }

    EditorState& m_editor;
    const Options& m_options;
    QEventLoop m_loop;
    link::SerialLink m_link;
    link::TransferJob m_job{*this};
    link::TransferTimers m_timers;
    QString m_shownStatus;
    ProgressLine m_progress{Err(), ProgressLine::StandardErrorIsTerminal(), link::kProgressMaximum};
    QString m_backupError;
    bool m_previewDiffers = false;
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
