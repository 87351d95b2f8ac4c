// The folders of kept backups and traces: names, several in one second, the limit, and files
// that are not the program's own.

#include "cli/CliRun.h"
#include "link/KeptFiles.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

using tr640::link::ImageKind;
using tr640::link::RotatingFolder;
using tr640::test::FileBytes;

namespace {
const QDateTime kWhen(QDate(2025, 3, 1), QTime(10, 15, 0));
} // namespace

class TestLinkKeptFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void names_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("name");
        QTest::newRow("backup") << tr640::link::BackupLabel(0, ImageKind::Read)
                                << "20250301-101500-400-470MHz-read.DAT";
        QTest::newRow("before a write") << tr640::link::BackupLabel(5, ImageKind::BeforeWrite)
                                        << "20250301-101500-136-174MHz-before-write.DAT";
        QTest::newRow("written") << tr640::link::BackupLabel(6, ImageKind::Written)
                                 << "20250301-101500-600-720MHz-write.DAT";
        QTest::newRow("cannot leave the folder") << "../../x"
                                                 << "20250301-101500-.._.._x.DAT";
    }
    void names() {
        QFETCH(QString, label);
        QTemporaryDir dir;
        RotatingFolder folder(dir.filePath("backups"), "DAT", 10);
        tr640::FileStatus st;
        const QString path = folder.store(kWhen, label, "bytes", &st);
        QVERIFY(st.ok());
        QTEST(QFileInfo(path).fileName(), "name");
        QCOMPARE(QFileInfo(path).dir(), QDir(dir.filePath("backups")));
        QCOMPARE(FileBytes(path), QByteArray("bytes"));
        // Names within one second get a number.
        QCOMPARE(QFileInfo(folder.store(kWhen, label, "2")).fileName(),
                 QFileInfo(path).completeBaseName() + "-2.DAT");
    }

    void newestKept() {
        QTemporaryDir dir;
        // The user's own files, and names that only look like the program's.
        const QStringList foreign{"notes.txt", "important.DAT", "20240101-000000-x.DAT.bak",
                                  "20240101-000000-x.dat", "2024-01-01-x.DAT"};
        for (const QString& name : foreign)
            QVERIFY(tr640::test::PutFile(dir.filePath(name), "mine"));
        RotatingFolder folder(dir.path(), "DAT", 5);
        QStringList stored;
        for (int i = 0; i < 8; ++i)
            stored << folder.store(kWhen.addSecs(i / 2), "read", QByteArray::number(i));
        QCOMPARE(folder.files(), stored.mid(3));
        QCOMPARE(folder.newest(), stored.last());
        QCOMPARE(FileBytes(stored.last()), QByteArray("7"));
        for (const QString& name : foreign)
            QCOMPARE(FileBytes(dir.filePath(name)), QByteArray("mine"));
        // An older one made later (the clock was set back) is the first to go.
        folder.store(kWhen.addSecs(-60), "read", "old");
        QCOMPARE(folder.files().size(), 5);
        QVERIFY(!folder.files().first().contains("101400"));
    }

    void folderThatCannotBeMade() {
        QTemporaryDir dir;
        QVERIFY(tr640::test::PutFile(dir.filePath("backups"), "a file"));
        RotatingFolder folder(dir.filePath("backups"), "DAT", 5);
        tr640::FileStatus st;
        QVERIFY(folder.store(kWhen, "read", "x", &st).isEmpty());
        QVERIFY(!st.ok());
        QVERIFY(folder.files().isEmpty());
    }

    void defaultPlace() {
#ifdef Q_OS_WIN
        QSKIP("the application's directory");
#else
        QStandardPaths::setTestModeEnabled(false);
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        const QString data = tr640::link::DefaultDataDirectory();
        QCOMPARE(data, dir.filePath("tr640"));
        QCOMPARE(tr640::link::BackupDirectory(data), dir.filePath("tr640/backups"));
        QCOMPARE(tr640::link::TraceDirectory(data), dir.filePath("tr640/traces"));
#endif
    }
};

QTEST_GUILESS_MAIN(TestLinkKeptFiles)
#include "tst_link_keptfiles.moc"
