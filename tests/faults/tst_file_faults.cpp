// A failed save keeps the existing file and says why; a failed open leaves the editor alone.
// Faults come from file modes (an ordinary user), the file size limit or a full tmpfs (root).

#include "support/UiTestSupport.h"

#include "codeplug/CodeplugFile.h"

#include <QDir>

#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#endif

using namespace tr640;
using namespace tr640::test;

namespace {

EditorState Sample() {
    EditorState s;
    s.cell(1, ColRxFrequency) = "435.00000";
    s.cell(1, ColTxFrequency) = "435.00000";
    s.setListCell(1, ColRxTone, 5);
    s.SquelchLevel = 6;
    return s;
}

#ifdef Q_OS_LINUX
// A file size limit of 100 bytes while this lives: writing past it fails as on a full disk
// (the signal that would end the process is ignored).
class FileSizeLimit {
public:
    FileSizeLimit() : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        active_ = ::getrlimit(RLIMIT_FSIZE, &previous_) == 0;
        rlimit lower = previous_;
        lower.rlim_cur = 100;
        active_ = active_ && ::setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~FileSizeLimit() {
        if (active_)
            ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, handler_);
    }
    bool active() const { return active_; }

private:
    void (*handler_)(int);
    rlimit previous_{};
    bool active_ = false;
};

// A 64 KiB tmpfs on a folder while this lives, holding a file and filled to its last page.
class FullVolume {
public:
    FullVolume(const QString& folder, const QString& file, const QByteArray& bytes)
        : folder_(folder.toLocal8Bit()) {
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, "size=64k") == 0;
        QFile filler(QDir(folder).filePath("filler"));
        if (mounted_ && WriteAll(file, bytes) && filler.open(QIODevice::WriteOnly))
            while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
            }
    }
    ~FullVolume() {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
};
#else
struct FileSizeLimit {
    bool active() const { return false; }
};
struct FullVolume {
    FullVolume(const QString&, const QString&, const QByteArray&) {}
    bool mounted() const { return false; }
};
#endif

enum class Fault { ReadOnlyFolder, FullDisk, WriteError, Unreadable, Empty, Huge };

} // namespace

class TestFileFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void faults_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("reason"); // empty: the file opens
        QTest::newRow("save into a read-only folder")
            << Fault::ReadOnlyFolder << 0 << "没有访问权限";
        QTest::newRow("save onto a full disk") << Fault::FullDisk << 1 << "the disk is full";
        QTest::newRow("save, write error") << Fault::WriteError << 1 << "could not be written";
        QTest::newRow("open an unreadable file") << Fault::Unreadable << 0 << "没有访问权限";
        QTest::newRow("open an empty file: an erased radio") << Fault::Empty << 0 << QString();
        QTest::newRow("open a 1 GiB file: its first 850 bytes") << Fault::Huge << 0 << QString();
    }
    void faults() {
        QFETCH(Fault, fault);
        QFETCH(int, language);
        QFETCH(QString, reason);
        const bool saving = fault <= Fault::WriteError;
#ifdef Q_OS_UNIX
        if ((fault == Fault::ReadOnlyFolder || fault == Fault::Unreadable) && ::geteuid() == 0)
            QSKIP("file modes do not deny this user (root)");
#else
        if (fault == Fault::ReadOnlyFolder)
            QSKIP("a folder's read-only mark does not deny writing into it (Windows)");
#endif
        Window w;
        const QString folder = w.dir.filePath("folder");
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath("radio.DAT");
        const QByteArray previous = EncodeImage(saving ? EditorState() : Sample());
        EditorState expected;
        std::optional<FileSizeLimit> limit;
        std::optional<FullVolume> full;
        switch (fault) {
        case Fault::ReadOnlyFolder:
            QVERIFY(WriteAll(path, previous));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            break;
        case Fault::FullDisk:
            if (full.emplace(folder, path, previous).mounted())
                break;
            QSKIP("only root mounts a tmpfs here; the write error row makes a failed write");
        case Fault::WriteError:
            QVERIFY(WriteAll(path, previous));
            if (limit.emplace().active())
                break;
            QSKIP("the file size limit cannot be lowered here");
        case Fault::Unreadable:
            QVERIFY(WriteAll(path, previous));
            QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
            if (QFile probe(path); probe.open(QIODevice::ReadOnly))
                QSKIP("file permissions do not take reading away here (Windows)");
            break;
        case Fault::Empty:
            QVERIFY(WriteAll(path, QByteArray()));
            DecodeImage(expected, QByteArray(kFileReadSize, '\xFF'));
            break;
        case Fault::Huge: {
            const QByteArray start = previous + QByteArray(2, '\x01'); // read too
            QVERIFY(WriteAll(path, start));
            QFile huge(path);
            QVERIFY(huge.resize(qint64(1) << 30)); // sparse: no gigabyte is written
            DecodeImage(expected, start);
            break;
        }
        }

        w->document().replace(saving ? Sample() : EditorState());
        if (language == 1)
            w.trigger("mnuEnglish");
        const EditorState before = w->editor();
        BoxAnswerer boxes({language == 0 ? "是" : "Yes"}, {path}); // overwrite: yes
        w.trigger(saving ? "mnuAssave" : "mnuOpen");
        limit.reset();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        if (reason.isEmpty()) {
            QCOMPARE(boxes.count(), 0);
            QVERIFY(w->editor() == expected);
            return;
        }
        QCOMPARE(boxes.count(), saving ? 2 : 1); // the overwrite question, then the failure
        const SeenBox& failure = boxes.seen().last();
        QCOMPARE(failure.icon, QMessageBox::Critical);
        QVERIFY2(failure.text.contains(QDir::toNativeSeparators(path)), qPrintable(failure.text));
        QVERIFY2(failure.text.contains(reason), qPrintable(failure.text));
        QVERIFY(w->editor() == before);
        QCOMPARE(ReadAll(path), saving ? previous : QByteArray("<unreadable>"));
        QCOMPARE(QDir(folder).entryList({"*.DAT*"}, QDir::Files | QDir::Hidden),
                 QStringList{"radio.DAT"}); // no temporary file left behind
    }
};

QTEST_MAIN(TestFileFaults)
#include "tst_file_faults.moc"
