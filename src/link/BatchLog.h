#pragma once

// The bookkeeping of a batch: one codeplug written to one radio after another. Each write is
// recorded with its time, band, result, verification and the ID it gave the radio; with own
// IDs on, the ID (the DTMF `IdCode`, decimal digits) goes up by one after each radio written
// successfully and stays for the next radio after a failure.

#include "link/TransferJob.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace tr640::link {

enum class BatchVerify { NotAsked, Verified, Failed, NotReached };

struct BatchEntry {
    QDateTime time;
    int band = 0;
    JobResult result = JobResult::None;
    BatchVerify verify = BatchVerify::NotAsked;
    QString id; // the ID written, empty without own IDs

    bool ok() const { return result == JobResult::Done; }
};

inline constexpr int kIdCodeWidth = 10;

class BatchLog {
public:
    // The next ID after `id` (digits only), keeping its width: "0099" gives "0100". Empty when
    // there is none: not 1 to 10 digits, or all nines of width 10.
    static QString NextId(const QString& id);
    static bool IsValidId(const QString& id);

    // Own IDs from `start` on (false, and own IDs off, for an invalid one); an empty start
    // turns them off.
    bool setStartId(const QString& start);
    // The ID the next radio gets; empty with own IDs off or when they have run out.
    QString nextId() const { return nextId_; }
    bool ownIds() const { return ownIds_; }

    // A finished write: `verifyAsked` when the write was to be checked afterwards.
    void record(const QDateTime& when, int band, const JobReport& report, bool verifyAsked,
                const QString& idWritten);
    const QList<BatchEntry>& entries() const { return entries_; }
    int succeeded() const;

    // The texts of the table's cells, by column: time, band, result, verify, ID.
    static constexpr int kColumns = 5;
    static QString Heading(int column, int language);
    static QString CellText(const BatchEntry& entry, int column, int language);
    // The table as CSV (UTF-8 with a byte order mark, so that spreadsheets read Chinese).
    QByteArray csv(int language) const;

private:
    QList<BatchEntry> entries_;
    bool ownIds_ = false;
    QString nextId_;
};

} // namespace tr640::link
