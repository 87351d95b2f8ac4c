#pragma once

// A transfer as the user asks for it: a read, or a write with, on request, a read of the radio
// before it (a backup: when that read fails or its image cannot be kept, nothing is written)
// and a read after it that compares every written frame with what the radio then holds. Each
// step is one dialogue of the TransferSession; the port is closed after each and reopened for
// the next two blink ticks later, so the radio sees ordinary dialogues only. The job keeps a
// trace of every byte in both directions. Like the session it does no I/O: its host opens the
// port and keeps the files.

#include "link/KeptFiles.h"
#include "link/SerialTrace.h"
#include "link/TransferSession.h"

#include <QByteArray>
#include <QList>

namespace tr640::link {

enum class JobStep { None, Read, BackupRead, Write, VerifyRead };

enum class JobResult {
    None,               // not ended yet
    Done,               // read; written (and verified when asked)
    CommunicationError, // a step ended by the watchdog
    PortLost,           // the port did not open again for the next step
    BandRefused,
    BandDeclined,
    BackupNotKept, // the radio was read before the write but its image was not kept
    VerifyFailed,  // the radio holds other bytes than were written
    Cancelled,
};

struct JobOptions {
    bool backupFirst = false;
    bool verify = false;
    // Read the radio first (as backupFirst does), then let the host show what the write would
    // change and wait for its answer (TransferJob::decideWrite()) before writing.
    bool previewFirst = false;
};

struct JobReport {
    JobResult result = JobResult::None;
    JobStep step = JobStep::None;    // the step the job ended in
    Outcome outcome = Outcome::None; // the last dialogue's
    int framesWritten = 0;           // write frames sent
    bool writeComplete = false;      // the write step ended with every frame acknowledged
    int mismatchAddress = -1;        // VerifyFailed: the lowest radio address that differs
    QByteArray image;  // a read: the 848 bytes read; a write: the 848 bytes of the image sent
    QByteArray backup; // the radio's 848 bytes read before the write

    // Frames went out but not all of them: the radio may hold a mix of old and new.
    bool partlyWritten() const { return framesWritten > 0 && !writeComplete; }
};

// What a job needs besides what a single dialogue needs. Its TransferHost calls arrive as the
// session makes them, except applyRead(), which only the Read step passes on, and
// transferEnded(), which comes for every step.
class JobHost : public TransferHost {
public:
    // Opens the port again for the next step; false when it does not open.
    virtual bool reopenPort() = 0;
    // An image to keep (848 bytes) and the band it belongs to. Only a BeforeWrite image that
    // was not kept stops the job.
    virtual bool keepImage(ImageKind kind, const QByteArray& image, int band) = 0;
    // Once per job, after its last step ended.
    virtual void jobEnded(const JobReport& report) = 0;
    // previewFirst: the radio was read (its 848 bytes and band) and its image kept. The host
    // answers with TransferJob::decideWrite(), at once or later; until then the job waits with
    // the port closed and the read's result shown.
    virtual void confirmWrite(const QByteArray& radioImage, int radioBand) {
        Q_UNUSED(radioImage);
        Q_UNUSED(radioBand);
    }
};

class TransferJob : private TransferHost {
public:
    explicit TransferJob(JobHost& host);
    TransferJob(const TransferJob&) = delete;
    TransferJob& operator=(const TransferJob&) = delete;

    TransferSession& session() { return session_; }
    const TransferSession& session() const { return session_; }

    // Starts the first step on an open port. False (and nothing done) while busy. Options only
    // matter for a write; `port` names the line in the trace.
    bool start(Direction direction, JobOptions options = {}, const QString& port = QString());
    void receive(QByteArrayView bytes);
    // Every timer tick goes through here: the pause between steps counts blink ticks.
    void tick(Timer t);
    // Ends the job at once: a running dialogue with its end request, a pause between steps by
    // not starting the next. The status line says what became of the radio. False when no job
    // runs (or only its result is being shown).
    bool cancel();
    // The answer to JobHost::confirmWrite(): write, or end the job with nothing written.
    // Ignored when no answer is awaited.
    void decideWrite(bool write);
    bool awaitingDecision() const { return deciding_; }

    bool active() const { return active_; } // from start() to jobEnded()
    JobStep step() const;
    const JobReport& report() const { return report_; }
    SerialTrace& trace() { return trace_; }

private:
    // TransferHost, for the session.
    void sendBytes(const QByteArray& frame) override;
    void closePort() override;
    QString encodeCodeplug() override;
    int selectedBand() const override;
    void applyRead(const QString& imageHex, int radioBandIndex) override;
    bool askBandQuestion(const QString& text) override;
    void showCommunicationError(const QString& text) override;
    void stateChanged() override;
    void transferEnded(Outcome outcome) override;

    bool hasNextStep() const { return index_ + 1 < steps_.size(); }
    void waitForNextStep();
    void nextStep();
    void end(JobResult result);
    int firstMismatch() const;

    JobHost& host_;
    TransferSession session_;
    SerialTrace trace_;
    QList<JobStep> steps_;
    qsizetype index_ = 0;
    bool active_ = false;
    bool waiting_ = false; // between two steps
    int pauseTicks_ = 0;
    bool backupKept_ = false;
    bool preview_ = false;
    bool deciding_ = false; // confirmWrite() was called and not answered yet
    QString sentHex_;
    QList<QByteArray> writeFrames_;
    QByteArray readBack_;
    JobReport report_;
};

} // namespace tr640::link
