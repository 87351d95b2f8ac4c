// Saving and opening codeplug files when the file system works against the user: a read-only
// folder, a full disk, a write error, an unreadable, empty or huge file. A failed save must
// leave the existing file as it was and say why; a failed open must leave the editor alone.
//
// A read-only folder and a full disk are made with a small tmpfs when this process may mount
// one (root on Linux); otherwise a read-only folder comes from its permissions (not as root)
// and a full disk is simulated by the file size limit, which fails the write the same way.

#include "support/UiTestSupport.h"

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "ui/main/FileCommands.h"

#include <QAction>
#include <QDir>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
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

bool IsRoot() {
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

// A tmpfs of a given size mounted on a folder for as long as this lives (Linux, privileged).
class ScratchVolume {
public:
    // No volume when `kib` is 0.
    ScratchVolume(const QString& folder, int kib) : folder_(folder) {
#ifdef Q_OS_LINUX
        if (kib == 0)
            return;
        const QByteArray options = "size=" + QByteArray::number(kib) + "k";
        mounted_ = ::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0,
                           options.constData()) == 0;
#else
        Q_UNUSED(kib);
#endif
    }
    ~ScratchVolume() {
#ifdef Q_OS_LINUX
        if (mounted_)
            ::umount2(folder_.toLocal8Bit().constData(), MNT_DETACH);
#endif
    }
    bool mounted() const {
        return mounted_;
    }
    bool makeReadOnly() {
#ifdef Q_OS_LINUX
        return mounted_ && ::mount("tmpfs", folder_.toLocal8Bit().constData(), "tmpfs",
                                   MS_REMOUNT | MS_RDONLY, nullptr) == 0;
#else
        return false;
#endif
    }
    // Fills the volume with a file until no byte is left.
    void fill() const {
        QFile filler(QDir(folder_).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        for (const qsizetype size : {4096, 512, 1}) {
            const QByteArray block(size, 'x');
            while (filler.write(block) > 0) {
            }
        }
    }

private:
    QString folder_;
    bool mounted_ = false;
};

// Lowers the file size limit of this process while it lives, so that writing past `bytes`
// fails as on a full disk (Linux; the signal that would end the process is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes) {
#ifdef Q_OS_LINUX
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        active_ = ::getrlimit(RLIMIT_FSIZE, &previous_) == 0;
        rlimit lower = previous_;
        lower.rlim_cur = static_cast<rlim_t>(bytes);
        active_ = active_ && ::setrlimit(RLIMIT_FSIZE, &lower) == 0;
#else
        Q_UNUSED(bytes);
#endif
    }
    ~FileSizeLimit() {
#ifdef Q_OS_LINUX
        if (active_)
            ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
#endif
    }
    bool active() const {
        return active_;
    }

private:
    bool active_ = false;
#ifdef Q_OS_LINUX
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
#endif
};

enum class SaveFault { ReadOnlyFolder, FullDisk, WriteError };

} // namespace

class TestFileFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void failedSaveKeepsTheFile_data();
    void failedSaveKeepsTheFile();
    void opening_data();
    void opening();
};

void TestFileFaults::failedSaveKeepsTheFile_data() {
    QTest::addColumn<SaveFault>("fault");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only folder") << SaveFault::ReadOnlyFolder << 0 << "没有访问权限";
    QTest::newRow("read-only folder, English")
        << SaveFault::ReadOnlyFolder << 1 << "permission denied";
    QTest::newRow("full disk") << SaveFault::FullDisk << 0 << "磁盘已满";
    QTest::newRow("full disk, English") << SaveFault::FullDisk << 1 << "the disk is full";
    QTest::newRow("write error") << SaveFault::WriteError << 1 << "could not be written";
}

void TestFileFaults::failedSaveKeepsTheFile() {
    QFETCH(SaveFault, fault);
    QFETCH(int, language);
    QFETCH(QString, reason);
    Window w;
    const QString folder = w.dir.filePath("volume");
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath("radio.DAT");
    const QByteArray previous = EncodeImage(EditorState());

    // The fault is set up around the existing file.
    ScratchVolume volume(folder, fault == SaveFault::WriteError ? 0 : 64);
    if (fault != SaveFault::WriteError && !volume.mounted() && IsRoot())
        QSKIP("a root process that cannot mount a tmpfs cannot make this fault");
    QVERIFY(WriteAll(path, previous));
    bool readOnlyByPermissions = false;
    std::unique_ptr<FileSizeLimit> limit;
    switch (fault) {
    case SaveFault::ReadOnlyFolder:
        if (volume.mounted()) {
            QVERIFY(volume.makeReadOnly());
        } else {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            readOnlyByPermissions = true;
        }
        break;
    case SaveFault::FullDisk:
        if (!volume.mounted())
            QSKIP("no tmpfs can be mounted here; the write error row covers a failed write");
        volume.fill();
        break;
    case SaveFault::WriteError:
        limit = std::make_unique<FileSizeLimit>(100);
        if (!limit->active())
            QSKIP("the file size limit cannot be lowered here");
        break;
    }

    w->replaceEditor(Sample());
    if (language == 1)
        w.find<QAction>("mnuEnglish")->trigger();
    const EditorState before = w->editor();
    w->files().setChooser([next = path](FileCommands::Purpose, QWidget*) mutable {
        return std::exchange(next, QString());
    });
    BoxAnswerer boxes({language == 0 ? "是" : "Yes"}); // overwrite: yes
    w->files().mnuAssave();
    limit.reset();
    if (readOnlyByPermissions)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(boxes.count(), 2); // the overwrite question, then the failure
    const SeenBox& failure = boxes.seen().last();
    QCOMPARE(failure.icon, QMessageBox::Critical);
    QVERIFY2(failure.text.contains(QDir::toNativeSeparators(path)), qPrintable(failure.text));
    QVERIFY2(failure.text.contains(reason), qPrintable(failure.text));
    QCOMPARE(ReadAll(path), previous);
    QCOMPARE(QDir(folder).entryList({"*.DAT*"}, QDir::Files | QDir::Hidden),
             QStringList{"radio.DAT"}); // no temporary file left behind
    QVERIFY(w->editor() == before);
}

void TestFileFaults::opening_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason"); // empty: the file opens
    QTest::newRow("unreadable file") << "unreadable"
                                     << "没有访问权限";
    QTest::newRow("empty file: an erased radio") << "empty" << QString();
    QTest::newRow("1 GiB file: its first 850 bytes") << "huge" << QString();
}

void TestFileFaults::opening() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    Window w;
    const QString path = w.dir.filePath("in.DAT");
    EditorState expected = Sample();
    if (kind == "unreadable") {
        if (IsRoot())
            QSKIP("root reads every file");
        QVERIFY(WriteAll(path, EncodeImage(Sample())));
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    } else if (kind == "empty") {
        QVERIFY(WriteAll(path, QByteArray()));
        DecodeImage(expected = EditorState(), QByteArray(kFileReadSize, '\xFF'));
    } else {
        QByteArray start = EncodeImage(Sample());
        start.append(2, '\x01'); // the two bytes after the image are read too
        QVERIFY(WriteAll(path, start));
        QFile huge(path);
        QVERIFY(huge.resize(qint64(1) << 30)); // sparse: no gigabyte is written
        DecodeImage(expected = EditorState(), start);
    }
    w->replaceEditor(EditorState());
    const EditorState before = w->editor();
    w->files().setChooser([next = path](FileCommands::Purpose, QWidget*) mutable {
        return std::exchange(next, QString());
    });
    BoxAnswerer boxes;
    w->files().mnuOpen();
    if (reason.isEmpty()) {
        QCOMPARE(boxes.count(), 0);
        QVERIFY(w->editor() == expected);
    } else {
        QCOMPARE(boxes.count(), 1);
        QVERIFY2(boxes.seen()[0].text.contains(reason), qPrintable(boxes.seen()[0].text));
        QVERIFY(w->editor() == before);
    }
}

QTEST_MAIN(TestFileFaults)
#include "tst_file_faults.moc"
