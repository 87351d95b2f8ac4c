#include "link/BatchLog.h"

#include "codeplug/BandTable.h"
#include "codeplug/BiText.h"

#include <algorithm>

namespace tr640::link {

namespace {

constexpr BiText kHeadings[BatchLog::kColumns] = {{"时间", "Time"},
                                                  {"频段", "Band"},
                                                  {"结果", "Result"},
                                                  {"校验", "Verify"},
                                                  {"写入的 ID", "ID written"}};

BiText ResultText(JobResult r) {
    switch (r) {
    case JobResult::Done:
        return {"写频成功", "Written"};
    case JobResult::CommunicationError:
        return {"失败：通信出错", "Failed: no reply"};
    case JobResult::PortLost:
        return {"失败：串口无法打开", "Failed: port lost"};
    case JobResult::BandRefused:
    case JobResult::BandDeclined:
        return {"失败：频段不符", "Failed: band mismatch"};
    case JobResult::BackupNotKept:
        return {"失败：备份未能保存", "Failed: backup not saved"};
    case JobResult::VerifyFailed:
        return {"失败：校验不符", "Failed: verification"};
    case JobResult::Cancelled:
        return {"已取消", "Cancelled"};
    case JobResult::None:
        break;
    }
    return {"", ""};
}

BiText VerifyText(BatchVerify v) {
    switch (v) {
    case BatchVerify::Verified:
        return {"无误", "Verified"};
    case BatchVerify::Failed:
        return {"不符", "Failed"};
    case BatchVerify::NotReached:
        return {"未校验", "Not checked"};
    case BatchVerify::NotAsked:
        break;
    }
    return {"", ""};
}

QByteArray CsvField(const QString& text) {
    QString t = text;
    if (t.contains(u',') || t.contains(u'"') || t.contains(u'\n'))
        t = u'"' + t.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return t.toUtf8();
}

} // namespace

bool BatchLog::IsValidId(const QString& id) {
    return !id.isEmpty() && id.size() <= kIdCodeWidth &&
           std::all_of(id.begin(), id.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString BatchLog::NextId(const QString& id) {
    if (!IsValidId(id))
        return QString();
    QString next = id;
    for (qsizetype i = next.size() - 1; i >= 0; --i) {
        if (next[i] != u'9') {
            next[i] = QChar(next[i].unicode() + 1);
            return next;
        }
        next[i] = u'0';
    }
    next.prepend(u'1'); // 999 gives 1000
    return next.size() <= kIdCodeWidth ? next : QString();
}

bool BatchLog::setStartId(const QString& start) {
    ownIds_ = IsValidId(start);
    nextId_ = ownIds_ ? start : QString();
    return ownIds_ || start.isEmpty();
}

void BatchLog::record(const QDateTime& when, int band, const JobReport& report, bool verifyAsked,
                      const QString& idWritten) {
    BatchEntry e{when, band, report.result, BatchVerify::NotAsked, idWritten};
    if (verifyAsked) {
        if (report.result == JobResult::Done)
            e.verify = BatchVerify::Verified;
        else if (report.result == JobResult::VerifyFailed)
            e.verify = BatchVerify::Failed;
        else
            e.verify = BatchVerify::NotReached;
    }
    entries_ << e;
    if (e.ok() && ownIds_)
        nextId_ = NextId(nextId_);
}

int BatchLog::succeeded() const {
    return int(std::count_if(entries_.begin(), entries_.end(),
                             [](const BatchEntry& e) { return e.ok(); }));
}

QString BatchLog::Heading(int column, int language) {
    return column >= 0 && column < kColumns ? kHeadings[column].text(language) : QString();
}

QString BatchLog::CellText(const BatchEntry& e, int column, int language) {
    switch (column) {
    case 0:
        return e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case 1:
        return QString::fromLatin1(Band(e.band).text);
    case 2:
        return ResultText(e.result).text(language);
    case 3:
        return VerifyText(e.verify).text(language);
    case 4:
        return e.id;
    default:
        return QString();
    }
}

QByteArray BatchLog::csv(int language) const {
    QByteArray out("\xEF\xBB\xBF");
    const auto line = [&](auto cell) {
        for (int c = 0; c < kColumns; ++c)
            out += (c ? "," : "") + CsvField(cell(c));
        out += "\r\n";
    };
    line([language](int c) { return Heading(c, language); });
    for (const BatchEntry& e : entries_)
        line([&e, language](int c) { return CellText(e, c, language); });
    return out;
}

} // namespace tr640::link
