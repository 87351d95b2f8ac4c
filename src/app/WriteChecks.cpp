#include "app/WriteChecks.h"

#include "app/PreferencesIni.h"

namespace tr640 {

namespace {

constexpr qsizetype kMaxFileSize = 4096;

// Each check's name: the key of a `writechecks` line, and in the INI file's group [write].
struct Check {
    const char* name;
    bool WriteChecks::*member;
};
constexpr Check kChecks[] = {
    {"backup-before-write", &WriteChecks::BackupFirst},
    {"verify-after-write", &WriteChecks::Verify},
    {"preview-before-write", &WriteChecks::Preview},
};

QString IniKey(const Check& check) {
    return QStringLiteral("write/") + QLatin1StringView(check.name);
}

void PutWriteChecks(QSettings& ini, const WriteChecks& checks) {
    for (const Check& check : kChecks)
        ini.setValue(IniKey(check), checks.*check.member);
}

} // namespace

WriteChecks ParseWriteChecks(QByteArrayView text) {
    WriteChecks checks;
    for (const QByteArray& raw : text.toByteArray().split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        for (const Check& check : kChecks)
            if (key == check.name)
                checks.*check.member = value == "1";
    }
    return checks;
}

WriteChecks LoadWriteChecks(const QString& directory) {
    CarryOverOldFile(
        directory, QStringLiteral("writechecks"), kMaxFileSize,
        [](QByteArrayView old, QSettings& ini) { PutWriteChecks(ini, ParseWriteChecks(old)); });
    const std::unique_ptr<QSettings> ini = OpenPreferencesIni(directory);
    WriteChecks checks;
    for (const Check& check : kChecks)
        checks.*check.member = IniFlag(*ini, IniKey(check));
    return checks;
}

bool SaveWriteChecks(const QString& directory, const WriteChecks& checks) {
    const std::unique_ptr<QSettings> ini = OpenPreferencesIni(directory);
    PutWriteChecks(*ini, checks);
    return SavePreferencesIni(*ini);
}

} // namespace tr640
