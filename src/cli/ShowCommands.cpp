// show and resave: codeplug files without a radio.

#include "cli/CommandLine.h"
#include "cli/Commands.h"

#include "codeplug/BandTable.h"
#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/ListTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tr640::cli {

namespace {

constexpr const char* kChannelKeys[kGridColumns] = {"Channel",     "RxFrequency", "RxTone",
                                                    "TxFrequency", "TxTone",      "Power",
                                                    "Bclo",        "Bandwidth",   "ScanAdd"};

struct ListSetting {
    const char* name;
    int EditorState::*position;
    QString (*text)(int position, int language);
};

template <const auto& List> QString ItemOf(int position, int language) {
    return position >= 0 && position < static_cast<int>(List.size()) ? List[position].text(language)
                                                                     : QString();
}

QString TimeOutTimerText(int position, int language) {
    return position >= 0 && position < kTimeOutTimerCount ? TimeOutTimerItem(position, language)
                                                          : QString();
}

const ListSetting kListSettings[] = {
    {"VoiceNotice", &EditorState::VoiceNotice, ItemOf<kVoiceNoticeList>},
    {"TimeOutTimer", &EditorState::TimeOutTimer, TimeOutTimerText},
    {"SquelchLevel", &EditorState::SquelchLevel, SquelchLevelItem},
    {"BatterySave", &EditorState::BatterySave, ItemOf<kBatterySaveList>},
    {"Beep", &EditorState::Beep, ItemOf<kBeepList>},
    {"TotPreAlert", &EditorState::TotPreAlert, TotPreAlertItem},
};

QJsonObject PositionAndText(int position, const QString& text) {
    return {{"position", position}, {"text", text}};
}

// Every SettingsStore field by its name, in the store's order.
QJsonObject StoreAsJson(const SettingsStore& s) {
    QJsonObject o;
    const std::pair<const char*, const QString*> texts[] = {
        {"PttId", &s.PttId},
        {"VoxFunction", &s.VoxFunction},
        {"VoxGainLevel", &s.VoxGainLevel},
        {"VoxDelayTime", &s.VoxDelayTime},
        {"VoxProceedTone", &s.VoxProceedTone},
        {"Duplicate", &s.Duplicate},
        {"Priority", &s.Priority},
        {"PriorityChannel", &s.PriorityChannel},
        {"LookBackTimeA", &s.LookBackTimeA},
        {"LookBackTimeB", &s.LookBackTimeB},
        {"RevertChannel", &s.RevertChannel},
        {"IdCode", &s.IdCode},
        {"LaunchStartCode", &s.LaunchStartCode},
        {"LaunchEndCode", &s.LaunchEndCode},
        {"DropoutDelayTime", &s.DropoutDelayTime},
        {"TxDwellTime", &s.TxDwellTime},
        {"CancelOperation", &s.CancelOperation},
        {"VoxInhibitOnReceive", &s.VoxInhibitOnReceive},
    };
    for (const auto& [name, value] : texts)
        o.insert(QLatin1String(name), *value);
    const std::pair<const char*, int> numbers[] = {
        {"DtmfRate", s.DtmfRate},
        {"FirstDigitTime", s.FirstDigitTime},
        {"FirstDigitDelay", s.FirstDigitDelay},
        {"StarHashTone", s.StarHashTone},
        {"DKeySetting", s.DKeySetting},
        {"DtmfSidetone", s.DtmfSidetone},
        {"GroupCallCode", s.GroupCallCode},
        {"AutoResetTimer", s.AutoResetTimer},
        {"Pf1Function", s.Pf1Function},
        {"Pf2Function", s.Pf2Function},
        {"TxHighPower", s.TxHighPower},
        {"TxLowPower", s.TxLowPower},
    };
    for (const auto& [name, value] : numbers)
        o.insert(QLatin1String(name), value);
    const auto array = [](const auto& list) {
        QJsonArray a;
        for (const QString& v : list)
            a.append(v);
        return a;
    };
    o.insert(QStringLiteral("AutodialMemory"), array(s.AutodialMemory));
    o.insert(QStringLiteral("EmbeddedMessage"), array(s.EmbeddedMessage));
    o.insert(QStringLiteral("TestRxFrequency"), array(s.TestRxFrequency));
    o.insert(QStringLiteral("TestTxFrequency"), array(s.TestTxFrequency));
    return o;
}

QJsonObject StateAsJson(const EditorState& s) {
    QJsonObject root;
    root.insert(QStringLiteral("Band"),
                PositionAndText(s.Band, QString::fromLatin1(Band(s.Band).text)));
    QJsonArray channels;
    for (int row = 1; row <= kChannelCount; ++row) {
        QJsonObject ch;
        ch.insert(QLatin1String(kChannelKeys[0]), row);
        for (int col = ColRxFrequency; col < kGridColumns; ++col)
            ch.insert(QLatin1String(kChannelKeys[col]), s.cell(row, col));
        channels.append(ch);
    }
    root.insert(QStringLiteral("Channels"), channels);
    for (const ListSetting& l : kListSettings)
        root.insert(QLatin1String(l.name),
                    PositionAndText(s.*l.position, l.text(s.*l.position, s.Language)));
    root.insert(QStringLiteral("Settings"), StoreAsJson(s.Settings));
    return root;
}

void PrintText(const EditorState& s) {
    QTextStream& out = Out();
    out << "Band: " << s.Band << ' ' << Band(s.Band).text << "\n\n";
    for (int col = 0; col < kGridColumns; ++col)
        out << QString::fromLatin1(kChannelKeys[col]).leftJustified(col == 0 ? 8 : 12);
    out << '\n';
    for (int row = 1; row <= kChannelCount; ++row) {
        for (int col = 0; col < kGridColumns; ++col)
            out << s.cell(row, col).leftJustified(col == 0 ? 8 : 12);
        out << '\n';
    }
    out << '\n';
    for (const ListSetting& l : kListSettings)
        out << l.name << ": " << s.*l.position << ' ' << l.text(s.*l.position, s.Language) << '\n';
    out << '\n';
    const QJsonObject store = StoreAsJson(s.Settings);
    for (auto it = store.begin(); it != store.end(); ++it) {
        out << it.key() << ": ";
        if (it->isArray()) {
            QStringList items;
            for (const QJsonValue& v : it->toArray())
                items << '"' + v.toString() + '"';
            out << items.join(QStringLiteral(", "));
        } else if (it->isString()) {
            out << '"' << it->toString() << '"';
        } else {
            out << it->toInt();
        }
        out << '\n';
    }
}

} // namespace

QString DescribeFileError(const QString& path, const FileStatus& st) {
    QString reason;
    switch (st.error) {
    case FileError::NotFound:
        reason = QStringLiteral("no such file");
        break;
    case FileError::IsFolder:
        reason = QStringLiteral("it is a folder");
        break;
    case FileError::NotRegular:
        reason = QStringLiteral("it is not a regular file");
        break;
    case FileError::PermissionDenied:
        reason = QStringLiteral("permission denied");
        break;
    case FileError::DiskFull:
        reason = QStringLiteral("the disk is full");
        break;
    default:
        reason = st.detail.isEmpty() ? QStringLiteral("input/output error") : st.detail;
        break;
    }
    return QStringLiteral("tr640-cli: %1: %2").arg(path, reason);
}

void PrintEditorState(const EditorState& state, bool json) {
    if (json)
        Out() << QJsonDocument(StateAsJson(state)).toJson(QJsonDocument::Indented);
    else
        PrintText(state);
    Out().flush();
}

bool LoadCodeplugFile(const QString& path, EditorState& state) {
    FileStatus st;
    const QByteArray bytes = ReadCodeplugFile(path, &st);
    if (!st.ok()) {
        Err() << DescribeFileError(path, st) << '\n';
        return false;
    }
    DecodeImage(state, bytes);
    return true;
}

bool SaveCodeplugFile(const QString& path, QByteArrayView bytes) {
    const FileStatus st = WriteFileAtomically(path, bytes);
    if (!st.ok())
        Err() << DescribeFileError(path, st) << '\n';
    return st.ok();
}

int RunShow(const QStringList& args) {
    CommandLine line({{"json"}, kLanguageOption}, 1);
    if (const int status = line.parse(args))
        return status;
    if (line.files().isEmpty())
        return UsageError(QStringLiteral("show needs a file"));
    EditorState state;
    state.Language = line.language();
    if (!LoadCodeplugFile(line.files().first(), state))
        return ExitFileError;
    PrintEditorState(state, line.isSet("json"));
    return ExitOk;
}

int RunResave(const QStringList& args) {
    constexpr const char* kWrong = "resave needs IN.DAT and OUT.DAT";
    CommandLine line({}, -1, false, kWrong);
    if (const int status = line.parse(args))
        return status;
    const QStringList files = line.files();
    if (files.size() != 2)
        return UsageError(QString::fromUtf8(kWrong));
    EditorState state;
    if (!LoadCodeplugFile(files[0], state))
        return ExitFileError;
    return SaveCodeplugFile(files[1], EncodeImage(state)) ? ExitOk : ExitFileError;
}

} // namespace tr640::cli
