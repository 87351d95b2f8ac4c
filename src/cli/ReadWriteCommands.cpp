// read and write: transfers with a radio, driven by the same session as the main window.

#include "cli/Commands.h"

#include "codeplug/BiText.h"
#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/EditorState.h"
#include "codeplug/Hex.h"
#include "link/SerialLink.h"
#include "link/TransferSession.h"
#include "link/TransferTimers.h"

#include <QEventLoop>

namespace tr640::cli {

namespace {

using link::Outcome;

struct Options {
    QString port;
    QString output; // read only
    QString file;   // write only
    bool service = false;
    int language = English;
};

// Parses the options of read (write = false) or write. Returns ExitOk or the usage status.
int ParseOptions(const QStringList& args, bool write, Options* o) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const auto value = [&](QString* into) {
            if (i + 1 >= args.size())
                return false;
            *into = args.at(++i);
            return true;
        };
        if (a == QLatin1String("--port")) {
            if (!value(&o->port) || o->port.isEmpty())
                return UsageError(QStringLiteral("--port needs a port name"));
        } else if (a == QLatin1String("--lang")) {
            QString lang;
            if (!value(&lang) || (lang != QLatin1String("zh") && lang != QLatin1String("en")))
                return UsageError(QStringLiteral("--lang is zh or en"));
            o->language = lang == QLatin1String("zh") ? Chinese : English;
        } else if (!write && a == QLatin1String("-o")) {
            if (!value(&o->output) || o->output.isEmpty())
                return UsageError(QStringLiteral("-o needs a file name"));
        } else if (write && a == QLatin1String("--service")) {
            o->service = true;
        } else if (write && !a.startsWith(u'-') && o->file.isEmpty()) {
            o->file = a;
        } else {
            return UsageError(QStringLiteral("unexpected argument '%1'").arg(a));
        }
    }
    if (o->port.isEmpty())
        return UsageError(QStringLiteral("--port is required"));
    if (write && o->file.isEmpty())
        return UsageError(QStringLiteral("write needs a codeplug file"));
    return ExitOk;
}

QString FileErrorText(const QString& path, const FileStatus& st) {
    QString reason;
    switch (st.error) {
    case FileError::NotFound:
        reason = QStringLiteral("no such file");
        break;
    case FileError::IsFolder:
        reason = QStringLiteral("it is a folder");
        break;
    case FileError::PermissionDenied:
        reason = QStringLiteral("permission denied");
        break;
    case FileError::None:
    case FileError::ReadFailed:
    case FileError::WriteFailed:
        reason = st.detail;
        break;
    }
    return QStringLiteral("tr640-cli: %1: %2").arg(path, reason);
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
class CliHost : public link::TransferHost {
public:
    CliHost(EditorState& editor, const Options& options)
        : m_editor(editor), m_options(options), m_timers(m_session) {
        m_session.setLanguage(options.language);
        m_session.setServiceMode(options.service);
        m_session.setCalibrationWrite(editor.CalibrationWrite != 0);
        QObject::connect(&m_link, &link::SerialLink::bytesReceived, &m_loop,
                         [this](const QByteArray& b) { m_session.receive(b); });
    }

    // Opens the port and runs one transfer to its end. Returns the exit status.
    int run(link::Direction direction) {
        const link::PortOpenResult opened = m_link.open(m_options.port);
        if (!opened.ok()) {
            Err() << link::LinkTextFor(link::LinkText::PortNotOpen, m_options.language) << '\n'
                  << "tr640-cli: " << m_options.port << ": " << PortErrorText(opened.error);
            if (!opened.detail.isEmpty())
                Err() << " (" << opened.detail << ')';
            Err() << '\n';
            Err().flush();
            return ExitCommunication;
        }
        m_session.start(direction);
        if (m_outcome == Outcome::None)
            m_loop.exec();
        m_link.close();
        switch (m_outcome) {
        case Outcome::ReadDone:
        case Outcome::WriteDone:
            return ExitOk;
        case Outcome::BandRefused:
        case Outcome::BandDeclined:
            return ExitBandRefused;
        case Outcome::None:
        case Outcome::CommunicationError:
            break;
        }
        return ExitCommunication;
    }

    const QByteArray& image() const { return m_image; }
    // The status line's last text, for transfers that got as far as a result.
    QString resultText() const {
        const bool result = m_outcome != Outcome::None && m_outcome != Outcome::CommunicationError;
        return result ? m_session.statusText() : QString();
    }

    void sendBytes(const QByteArray& frame) override { m_link.write(frame); }
    void closePort() override { m_link.close(); }
    QString encodeCodeplug() override { return EncodeCodeplug(m_editor); }
    int selectedBand() const override { return m_editor.Band; }

    void applyRead(const QString& imageHex, int radioBandIndex) override {
        m_image = ImageHexToBytes(QStringView(imageHex).left(kImageHexLength));
        m_editor.Band = radioBandIndex;
        m_editor.CurrentBandIndex = radioBandIndex;
    }

    bool askBandQuestion(const QString& text) override {
        // Only reached with --service, which answers Yes.
        Err() << text << ' ' << (m_options.service ? "yes" : "no") << '\n';
        Err().flush();
        return m_options.service;
    }

    void showCommunicationError(const QString& text) override {
        Err() << text << '\n';
        Err().flush();
    }

    void stateChanged() override {
        m_timers.sync();
        if (m_session.statusMessage() == link::LinkText::Communicating &&
            m_session.statusText() != m_shownStatus) {
            m_shownStatus = m_session.statusText();
            Err() << m_shownStatus << '\n';
        }
        const bool shown = m_session.progressVisible() || m_session.progressValue() > 0;
        if (shown && m_session.progressValue() != m_shownProgress) {
            m_shownProgress = m_session.progressValue();
            Err() << "progress " << m_shownProgress << '/' << link::kProgressMaximum << '\n';
        }
        Err().flush();
    }

    void transferEnded(Outcome outcome) override {
        m_outcome = outcome;
        m_loop.quit();
    }

private:
    EditorState& m_editor;
    const Options& m_options;
    QEventLoop m_loop;
    link::SerialLink m_link;
    link::TransferSession m_session{*this};
    link::TransferTimers m_timers;
    QByteArray m_image;
    Outcome m_outcome = Outcome::None;
    QString m_shownStatus;
    int m_shownProgress = -1;
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
        Out() << BytesToImageHex(host.image()) << '\n';
        Out().flush();
        PrintResult(Err(), host.resultText());
        return ExitOk;
    }
    const FileStatus written = WriteFileAtomically(o.output, host.image());
    if (!written.ok()) {
        Err() << FileErrorText(o.output, written) << '\n';
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
        Err() << FileErrorText(o.file, read) << '\n';
        return ExitFileError;
    }
    EditorState editor;
    editor.Language = o.language;
    DecodeImage(editor, bytes);
    CliHost host(editor, o);
    const int status = host.run(link::Direction::Write);
    PrintResult(status == ExitOk ? Out() : Err(), host.resultText());
    return status;
}

} // namespace tr640::cli
