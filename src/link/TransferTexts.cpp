#include "link/TransferTexts.h"

#include "codeplug/BiText.h"

namespace tr640::link {

namespace {

BiText Texts(LinkText id) {
    switch (id) {
    case LinkText::None:
        break;
    case LinkText::Communicating:
        return {"正在通信,请稍后……", "It's communicating, please wait......"};
    case LinkText::ReadSuccess:
        return {"读频成功！", "Read frequency success!"};
    case LinkText::WriteSuccess:
        return {"写频成功！", "Write frequency success!"};
    case LinkText::BandRefused:
        return {"频段不符，不可写入。", "Frequency band with discrepancies, do not write."};
    case LinkText::BandQuestion:
        return {"频段不符，是否继续？",
                "Frequency band with discrepancies, do you wish to continue?"};
    case LinkText::CommunicationError:
        return {"通信出错，请检查对讲机型号、故障、连线及计算机串口的选择！",
                "Communication error, please check the intercom model, fault, attachment and "
                "computer serial choice!"};
    case LinkText::PortNotOpen:
        return {"通信端口未打开，请先选择菜单“通信端口”打开其串口！",
                "Communication port not open, please first selection menu 'communication port' "
                "to open its serial ports!"};
    case LinkText::ReadCancelled:
        return {"读频已取消。", "Reading cancelled."};
    case LinkText::WriteCancelledUnchanged:
        return {"写频已取消，对讲机未被改动。", "Writing cancelled; the radio was not changed."};
    case LinkText::WriteCancelledPartial:
        return {"写频已取消，对讲机数据可能不完整！",
                "Writing cancelled; the radio may hold a partly written codeplug!"};
    case LinkText::WriteCancelledMessage:
        return {"写频已取消。对讲机中可能只写入了部分数据，使用前请重新写频。",
                "Writing was cancelled. The radio may hold a partly written codeplug: write it "
                "again before using the radio."};
    case LinkText::VerifyCancelled:
        return {"写频成功，校验已取消。", "Write frequency success; the check was cancelled."};
    case LinkText::VerifySuccess:
        return {"写频成功，校验无误！", "Write frequency success, verified!"};
    case LinkText::VerifyFailed:
        return {"写频校验失败！", "Verification after writing failed!"};
    case LinkText::VerifyMismatch:
        return {"写频校验失败：对讲机地址 %1 处的数据与写入的数据不同。请重新写频。",
                "Verification failed: at address %1 the radio holds other data than was "
                "written. Write the radio again."};
    case LinkText::BackupReadFailed:
        return {"写频前读取备份失败，未写入任何数据。",
                "The radio could not be read for the backup before writing; nothing was "
                "written."};
    case LinkText::VerifyReadFailed:
        return {"数据已写入，但回读校验失败，写入的数据未经校验。",
                "The codeplug was written, but reading it back for the check failed: it is not "
                "verified."};
    case LinkText::BackupNotKept:
        return {"备份未能保存，未写入。", "The backup could not be saved; nothing written."};
    case LinkText::BackupNotKeptMessage:
        return {"对讲机备份未能保存（%1），未写入任何数据。",
                "The radio's backup could not be saved (%1); nothing was written."};
    case LinkText::PartialWriteNote:
        return {"对讲机中可能只写入了部分数据，使用前请重新写频。",
                "The radio may hold a partly written codeplug: write it again before using the "
                "radio."};
    case LinkText::AutoBackupNotSaved:
        return {"自动备份未能保存到“%1”：%2。",
                "The automatic backup could not be saved in \"%1\": %2."};
    case LinkText::NoTraceYet:
        return {"还没有串口记录。每次读频或写频都会保存一份。",
                "There is no serial trace yet; every read and write keeps one."};
    case LinkText::CannotOpenPlace:
        return {"无法打开“%1”。", "\"%1\" could not be opened."};
    case LinkText::PortNotReopened:
        return {"串口无法重新打开，传输已停止。",
                "The serial port could not be opened again; the transfer stopped."};
    }
    return {"", ""};
}

} // namespace

QString LinkTextFor(LinkText id, int language) {
    return Texts(id).text(language);
}

QString PortInUseText(int portNumber, int language) {
    const QString n = QString::number(portNumber);
    if (language != English)
        return QStringLiteral("串行端口%1已被其它程序使用，请选择其它串口或关掉其程序.").arg(n);
    return QStringLiteral("Serial port %1 has been other programs use, please choose other serial "
                          "or turn off its program.")
        .arg(n);
}

} // namespace tr640::link
