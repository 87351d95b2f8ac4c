// Windows' side of the serial adapter as text and numbers: SetupAPI's facts of a port, the
// order of the list, CreateFile's errors; and the folder that takes the program's files.

#include "codeplug/Places.h"
#include "link/PortAdvice.h"
#include "link/WindowsPorts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using tr640::link::PortError;
using tr640::link::PortInfo;

class TestLinkWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void comNumbers_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        const std::pair<const char*, int> rows[] = {{"COM1", 1}, {"com12", 12},     {"COM", 0},
                                                    {"COM0", 0}, {"COM3x", 0},      {"COM+3", 0},
                                                    {"LPT1", 0}, {"\\\\.\\COM3", 0}};
        for (const auto& [name, number] : rows)
            QTest::newRow(name) << QString(name) << number;
    }
    void comNumbers() {
        QFETCH(QString, name);
        QTEST(tr640::link::ComNumber(name), "number");
    }

    // Rows: port | friendly name | hardware id | description | VID:PID.
    void setupApiFacts_data() {
        QTest::addColumn<QStringList>("row");
        const QStringList rows[] = {
            {"COM3", "USB-SERIAL CH340 (COM3)", "USB\\VID_1A86&PID_7523&REV_0264",
             "USB-SERIAL CH340", "1A86:7523"},
            {"COM4", "USB Serial Port (COM4)", "FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000",
             "USB Serial Port", "0403:6001"},
            {"COM12", "Prolific USB-to-Serial Comm Port (COM12)", "usb\\vid_067b&pid_2303&rev_0300",
             "Prolific USB-to-Serial Comm Port", "067B:2303"},
            {"COM1", "Communications Port (COM1)", "ACPI\\PNP0501", "Communications Port", ""},
            {"COM5", "Adapter (COM6)", "", "Adapter (COM6)", ""}, // another port's name kept
            {"COM7", "", "", "", ""}};
        for (const QStringList& row : rows)
            QTest::newRow(qPrintable(row[1].isEmpty() ? row[0] : row[1])) << row;
    }
    void setupApiFacts() {
        QFETCH(QStringList, row);
        const PortInfo p = tr640::link::WindowsPort(row[0], row[1], row[2]);
        QCOMPARE((QStringList{p.name, p.systemLocation, p.description, p.usbId}),
                 (QStringList{row[0], "\\\\.\\" + row[0], row[3], row[4]}));
    }

    void listOrder() {
        QList<PortInfo> ports;
        for (const char* name : {"COM10", "CNCA0", "COM2", "com1", "BTPORT"})
            ports << PortInfo{name, QString(), QString(), QString()};
        tr640::link::SortByComNumber(ports);
        QStringList names;
        for (const PortInfo& p : ports)
            names << p.name;
        QCOMPARE(names, (QStringList{"com1", "COM2", "COM10", "BTPORT", "CNCA0"}));
    }

    void menuText() {
#ifndef Q_OS_WIN
        QSKIP("the Windows form of the list");
#else
        const PortInfo ch340 = tr640::link::WindowsPort("COM3", "USB-SERIAL CH340 (COM3)",
                                                        "USB\\VID_1A86&PID_7523&REV_0264");
        QCOMPARE(tr640::link::PortMenuText(ch340, 1),
                 QString("COM3: USB-SERIAL CH340  [1A86:7523]  — CH340 programming cable"));
        QCOMPARE(tr640::link::PortMenuText(ch340, 0),
                 QString("COM3: USB-SERIAL CH340  [1A86:7523]  — CH340 编程线"));
#endif
    }

    void openErrors_data() {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<PortError>("reason");
        QTest::newRow("file not found") << 2u << PortError::NotFound;
        QTest::newRow("path not found") << 3u << PortError::NotFound;
        QTest::newRow("access denied: held by another program") << 5u << PortError::InUse;
        QTest::newRow("sharing violation") << 32u << PortError::InUse;
        QTest::newRow("invalid name") << 123u << PortError::NotFound;
        QTest::newRow("device not functioning") << 31u << PortError::Other;
    }
    void openErrors() {
        QFETCH(quint32, code);
        QTEST(tr640::link::ClassifyWin32OpenError(code), "reason");
    }

    void folderTakingFiles() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString fallback = dir.filePath("fallback");
        QCOMPARE(tr640::FolderTakingFiles(dir.path(), fallback), dir.path());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(QFile(dir.filePath("file")).open(QIODevice::WriteOnly));
        QCOMPARE(tr640::FolderTakingFiles(dir.filePath("file/sub"), fallback), fallback);
        QCOMPARE(tr640::FolderTakingFiles(dir.filePath("missing"), fallback), fallback);
    }

    void programOrUserFolder() {
        // The preferences, backups and traces stay beside a program whose folder takes files;
        // otherwise they go to the user's roaming folder.
        QCOMPARE(tr640::ProgramOrUserFolder(), QCoreApplication::applicationDirPath());
        qputenv("APPDATA", QDir::toNativeSeparators("C:/Users/ann/AppData/Roaming").toLocal8Bit());
        QCOMPARE(tr640::UserFolder(), "C:/Users/ann/AppData/Roaming/tr640");
    }
};

QTEST_GUILESS_MAIN(TestLinkWindows)
#include "tst_link_windows.moc"
