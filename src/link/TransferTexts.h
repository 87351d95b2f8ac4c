#pragma once

// The texts of the radio link, in Chinese and English (language 1).

#include <QString>

namespace tr640::link {

enum class LinkText {
    None,
    Communicating, // status line while a transfer runs
    ReadSuccess,   // status line results
    WriteSuccess,
    BandRefused,
    BandQuestion,       // the service-mode question, also the status line after No
    CommunicationError, // message box after the watchdog
    PortNotOpen,        // message box of the start commands

    // Transfers beyond the single dialogue: cancel, backup before writing, verification.
    ReadCancelled,           // status line
    WriteCancelledUnchanged, // status line: cancelled before any frame was written
    WriteCancelledPartial,   // status line: cancelled after some frames
    WriteCancelledMessage,   // message box after WriteCancelledPartial
    VerifyCancelled,         // status line: written, read-back cancelled
    VerifySuccess,           // status line
    VerifyFailed,            // status line
    VerifyMismatch,          // message box, %1 the first address that differs
    BackupReadFailed,        // added to the communication error of a backup read
    VerifyReadFailed,        // added to the communication error of a read-back
    BackupNotKept,           // status line
    BackupNotKeptMessage,    // message box, %1 the reason
    PortNotReopened,         // status line and message box: the next step could not start
    PartialWriteNote,        // added to the communication error of a write that sent frames
    AutoBackupNotSaved,      // message box, %1 the folder, %2 the reason
    NoTraceYet,              // message box of "Open last serial trace"
    CannotOpenPlace,         // message box, %1 a folder or file the system would not open
};

QString LinkTextFor(LinkText id, int language);

// "Serial port n has been other programs use, ..." for the port menu, n = 1..8.
QString PortInUseText(int portNumber, int language);

} // namespace tr640::link
