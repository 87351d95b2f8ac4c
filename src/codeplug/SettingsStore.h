#pragma once

// Every radio-wide setting that a dialog edits, in the form the dialogs use, with its start-up
// value. Text fields that hold numbers hold their decimal text.

#include <QString>
#include <array>

namespace tr640 {

inline constexpr int kAutodialMemories = 8;
inline constexpr int kTestChannels = 16;
inline constexpr int kMessageLines = 2;

struct SettingsStore {
    // Optional functions dialog: list positions and values held as text.
    QString PttId = QStringLiteral("1");
    QString VoxFunction = QStringLiteral("1");
    QString VoxGainLevel = QStringLiteral("1");
    QString VoxDelayTime = QStringLiteral("1");
    QString VoxProceedTone = QStringLiteral("1");
    QString Duplicate = QStringLiteral("1");
    QString Priority = QStringLiteral("0");
    QString PriorityChannel = QStringLiteral("1");
    QString LookBackTimeA = QStringLiteral("1");
    QString LookBackTimeB = QStringLiteral("1");
    QString RevertChannel = QStringLiteral("1");
    QString IdCode;
    QString LaunchStartCode = QStringLiteral("1");
    QString LaunchEndCode = QStringLiteral("2");
    QString DropoutDelayTime;
    QString TxDwellTime;
    QString CancelOperation = QStringLiteral("1");
    QString VoxInhibitOnReceive = QStringLiteral("1");

    // DTMF options: 16-bit numbers.
    int DtmfRate = 0;
    int FirstDigitTime = 1;
    int FirstDigitDelay = 0; // milliseconds
    int StarHashTone = 1;
    int DKeySetting = 1;
    int DtmfSidetone = 1;
    int GroupCallCode = 0; // digit value; a stored non-digit character c is held as -c
    int AutoResetTimer = 0;

    std::array<QString, kAutodialMemories> AutodialMemory{
        QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
        QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};

    // Key assignment dialog.
    int Pf1Function = 10;
    int Pf2Function = 0;

    // Embedded message dialog: line 1 and line 2.
    std::array<QString, kMessageLines> EmbeddedMessage;

    // Test frequency dialog: MHz texts ("145.00625") or empty.
    std::array<QString, kTestChannels> TestRxFrequency;
    std::array<QString, kTestChannels> TestTxFrequency;

    // Debug parameters dialog.
    int TxHighPower = 63;
    int TxLowPower = 0;

    bool operator==(const SettingsStore&) const = default;
};

} // namespace tr640
