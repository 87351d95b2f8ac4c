#pragma once

// The read/write dialogue with the radio and its supervision, without any I/O: received bytes
// and timer ticks go in, frames and host calls come out.
//
// Driving it:
//  - open the port, set the flags (language, service mode, calibration write), call start();
//  - pass every chunk of received bytes to receive();
//  - keep three timers (Watchdog 1000 ms, Blink 200 ms, Retry 500 ms, see TimerInterval())
//    running exactly while isTimerActive() says so, and call tick() on each timeout. The
//    session calls TransferHost::stateChanged() whenever the timers, the status line, the
//    progress or the busy state may have changed, also right before a modal host call, so
//    mirroring the timers there is enough (TransferTimers does it for QTimer);
//  - keep the read and write commands disabled while busy() is true.
//
// A tick of a timer that is not active is ignored, and so is a start() while busy, so stale
// timer events and double clicks cannot disturb a transfer.
//
// Beyond the single dialogue: cancel() ends a running transfer at once, and proceed() starts
// the next dialogue of a sequence (read before write, read back after write) while the result
// of the last one is still shown.

#include "link/TransferTexts.h"

#include <QByteArrayView>
#include <QString>

namespace tr640::link {

enum class Direction { None, Read, Write };

enum class Timer {
    Watchdog, // Timer1, 1000 ms: ends a transfer after four ticks without a recognised reply
    Blink,    // Timer2, 200 ms: blinks the status line, counts down the end of a transfer
    Retry,    // Timer3, 500 ms: repeats the program-mode request once
};

inline constexpr int kTimerCount = 3;
int TimerInterval(Timer t); // milliseconds

enum class Outcome {
    None,               // no transfer has ended yet
    ReadDone,           // image decoded, port closed
    WriteDone,          // all frames acknowledged, port closed
    BandRefused,        // band mismatch without service mode, nothing written, port closed
    BandDeclined,       // band mismatch, the user answered No, nothing written, port closed
    CommunicationError, // watchdog; the port stays open
    Cancelled,          // cancel(): end request sent, port closed
};

// Stages of TransferStage.
inline constexpr int kStageBlocks = 0;
inline constexpr int kStageHandshake = 1;
inline constexpr int kStageFailed = 10;

inline constexpr int kProgressMaximum = 460;

// What the session needs from its owner: the main window, or the command-line tool.
class TransferHost {
public:
    virtual ~TransferHost() = default;

    // One frame for the port.
    virtual void sendBytes(const QByteArray& frame) = 0;
    // After the end request of a successful transfer or a band refusal.
    virtual void closePort() = 0;
    // The editor's codeplug as ImageHex (1696 characters).
    virtual QString encodeCodeplug() = 0;
    // Position of the band selector.
    virtual int selectedBand() const = 0;
    // A complete read: decode the image (2048 characters) into the editor and set the band
    // selector to radioBandIndex without asking to clear the channels.
    virtual void applyRead(const QString& imageHex, int radioBandIndex) = 0;
    // The service-mode band question (Yes/No); true for Yes. May run a nested event loop;
    // the watchdog is held and received bytes are only collected until it returns.
    virtual bool askBandQuestion(const QString& text) = 0;
    // The communication error box. May run a nested event loop.
    virtual void showCommunicationError(const QString& text) = 0;
    // Timers, status line, progress or busy state may have changed.
    virtual void stateChanged() {}
    // A transfer has ended; called once per transfer, after the port was closed or the end
    // request written.
    virtual void transferEnded(Outcome) {}
};

class TransferSession {
public:
    explicit TransferSession(TransferHost& host);
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    void setLanguage(int language) { language_ = language; } // 0 Chinese, 1 English
    int language() const { return language_; }
    void setServiceMode(bool on) { serviceMode_ = on; }
    void setCalibrationWrite(bool on) { calibrationWrite_ = on; }

    // Starts a transfer on an open port: busy, program-mode request sent, all timers running.
    // Returns false (and does nothing) while busy.
    bool start(Direction direction);
    void receive(QByteArrayView bytes);
    void tick(Timer t);

    // Ends a running dialogue at once: end request, port closed, timers stopped, busy state
    // left, `status` shown (steady). In the result countdown it only cuts the countdown short.
    // Returns false (and does nothing) otherwise. Safe while the band question is open: the
    // answer is then ignored.
    bool cancel(LinkText status);
    // Starts the next dialogue right after one that ended with ReadDone or WriteDone, during
    // its result countdown. The port must have been reopened. False in any other state.
    bool proceed(Direction direction);
    // Replaces the status text of a dialogue that has ended.
    void showResult(LinkText text);
    // Between start() and the end of the dialogue (not in the countdown).
    bool running() const { return running_; }
    // In the result countdown after a dialogue that ended without failure.
    bool showingResult() const { return busy_ && !running_ && transferDone_; }

    bool isTimerActive(Timer t) const;
    bool busy() const { return busy_; }
    QString statusText() const { return statusText_; }
    LinkText statusMessage() const { return statusId_; }
    bool statusVisible() const { return statusVisible_; }
    bool progressVisible() const { return progressVisible_; }
    int progressValue() const { return progressValue_; }
    Outcome outcome() const { return outcome_; }

    // The transfer state, read-only outside the session.
    const QString& RxHex() const { return rxHex_; }
    int TransferStage() const { return stage_; }
    Direction TransferDirection() const { return direction_; }
    int BlockAddress() const { return blockAddress_; }
    const QString& OutgoingImageHex() const { return outgoing_; }
    const QString& IncomingImageHex() const { return incoming_; }
    int RadioBandIndex() const { return radioBandIndex_; }
    bool TransferDone() const { return transferDone_; }

private:
    void sendFrame(const QByteArray& frame); // empties RxHex first
    void handshakeStep();
    void writeStep();
    void readStep();
    void finish(Outcome outcome, LinkText text);
    void watchdogTick();
    void blinkTick();
    void retryTick();
    void setStatus(LinkText text);
    void advanceProgress(int step);
    void leaveBusy();
    void setTimer(Timer t, bool on);

    TransferHost& host_;
    int language_ = 0;
    bool serviceMode_ = false;
    bool calibrationWrite_ = false;

    QString rxHex_;
    int stage_ = kStageBlocks;
    Direction direction_ = Direction::None;
    int blockAddress_ = 0;
    QString outgoing_;
    QString incoming_;
    int radioBandIndex_ = 0;
    int noReplyTicks_ = 0;
    bool transferDone_ = false;
    int doneTicks_ = 0;
    int retryTicks_ = 0;

    bool timers_[kTimerCount] = {false, false, false};
    bool busy_ = false;
    bool running_ = false; // between start() and the end of the dialogue
    bool questionOpen_ = false;
    LinkText statusId_ = LinkText::None;
    QString statusText_;
    bool statusVisible_ = true; // the status line is not hidden at start-up
    bool progressVisible_ = false;
    int progressValue_ = 0;
    Outcome outcome_ = Outcome::None;
};

} // namespace tr640::link
