#pragma once

// The main window's side of a transfer, the host of the transfer job: the serial port, the read
// and write commands and what the window shows while the radio dialogue runs. Around the
// dialogue: a copy of every codeplug read from or written to a radio kept in the backup folder,
// the optional backup read before a write and check after it, the preview of a write, a serial
// trace of every transfer, and advice for ports that do not open. The window builds the menu
// items, the Cancel button and Esc, and calls the commands here.

#include "codeplug/EditorState.h"
#include "link/KeptFiles.h"
#include "link/SerialLink.h"
#include "link/TransferJob.h"
#include "settings/WriteChecks.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QUrl;

namespace tr640 {

class Form1;
namespace link {
class TransferTimers;
}

class TransferController : public QObject, public link::JobHost {
    Q_OBJECT
public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    // Without timers the test drives the session's ticks itself.
    TransferController(Form1& window, bool withTimers);
    ~TransferController() override;

    // The read and write commands (mnureadFre, mnuwriteFre, toolbar "read" and "write").
    void mnureadFre();
    void mnuwriteFre();
    // Writes another codeplug than the editor's (the batch window) with the write checks of the
    // menu, without the preview. False when it did not start (busy, or the port did not open,
    // which the user is told).
    bool writeOther(const EditorState& codeplug);
    // Ends the running transfer at once (the Cancel button, Esc).
    void cancelTransfer();
    // The Help menu's items.
    void openBackupFolder();
    void openLastTrace();

    // Closes and reopens the remembered port; true when it is open afterwards.
    bool OpenCom();

    // Where backups and traces are kept (DefaultDataDirectory() unless set) and what opens a
    // folder or a file (QDesktopServices unless set).
    void setDataDirectory(const QString& directory);
    void setUrlOpener(UrlOpener opener) { opener_ = std::move(opener); }
    QString backupDirectory() const { return backups_.directory(); }
    QString traceDirectory() const { return traces_.directory(); }
    const WriteChecks& writeChecks() const { return checks_; }
    // The write checks as remembered from the last run.
    void setWriteChecks(const WriteChecks& checks);
    // One of the write checks of the Programming menu (writeCheckSet: remembered at once).
    void setWriteCheck(bool WriteChecks::*check, bool on);

    link::TransferJob& job() { return *job_; }
    link::TransferSession& session() { return job_->session(); }
    link::SerialLink& port() { return *link_; }
    // A tick of one of the three timers, as the timer itself would give it.
    void tick(link::Timer t) { job_->tick(t); }

    // JobHost.
    void sendBytes(const QByteArray& frame) override;
    void closePort() override;
    QString encodeCodeplug() override;
    int selectedBand() const override;
    void applyRead(const QString& imageHex, int radioBandIndex) override;
    bool askBandQuestion(const QString& text) override;
    void showCommunicationError(const QString& text) override;
    void stateChanged() override;
    bool reopenPort() override;
    bool keepImage(link::ImageKind kind, const QByteArray& image, int band) override;
    void jobEnded(const link::JobReport& report) override;
    void confirmWrite(const QByteArray& radioImage, int radioBand) override;

Q_SIGNALS:
    // Once per read or write: ReadDone or WriteDone when it succeeded (written and, when asked,
    // verified), otherwise the outcome of the dialogue that ended it, or None when it ended
    // for another reason (verification failed, backup not kept, port lost).
    void ended(link::Outcome outcome);
    // The write checks were given or one of them was set.
    void writeChecksChanged(const WriteChecks& checks);
    // One of them was set from the menu, to be remembered.
    void writeCheckSet(const WriteChecks& checks);

private:
    void start(link::Direction direction);
    void showLater(const QString& text, quint32 style);

    Form1& window_;
    link::SerialLink* link_;
    std::unique_ptr<link::TransferJob> job_;
    link::TransferTimers* timers_ = nullptr;

    // The last OpenCom(): the port's name and how opening it went.
    QString lastPortName_;
    link::PortOpenResult lastOpen_;

    WriteChecks checks_;
    std::optional<EditorState> other_; // the codeplug of writeOther() while it is written

    link::RotatingFolder backups_;
    link::RotatingFolder traces_;
    QStringList keepFailures_;   // automatic backups of this job that could not be saved
    QString beforeWriteFailure_; // why the backup before writing could not be saved
    UrlOpener opener_;
};

} // namespace tr640
