#include "i18n/FileReason.h"

#include "i18n/MessageTexts.h"

namespace tr640 {

QString FileReasonText(const FileStatus& st, int language, bool withDetail) {
    switch (st.error) {
    case FileError::NotFound:
        return msg::kReasonNotFound.text(language);
    case FileError::IsFolder:
        return msg::kReasonFolder.text(language);
    case FileError::NotRegular:
        return msg::kReasonNotRegular.text(language);
    case FileError::PermissionDenied:
        return msg::kReasonPermission.text(language);
    case FileError::DiskFull:
        return msg::kReasonDiskFull.text(language);
    case FileError::ReadFailed:
    case FileError::WriteFailed:
    case FileError::None:
        break;
    }
    QString reason =
        (st.error == FileError::ReadFailed ? msg::kReasonRead : msg::kReasonWrite).text(language);
    if (withDetail && !st.detail.isEmpty())
        reason += QStringLiteral(" (%1)").arg(st.detail);
    return reason;
}

} // namespace tr640
