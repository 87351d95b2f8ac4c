// A failed save keeps the existing file and says why; a failed open leaves the editor alone.
// Faults come from a small tmpfs (root), folder modes (an ordinary user) or the file size limit.

#include "support/UiTestSupport.h"

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "ui/main/FileCommands.h"

#include <QAction>
#include <QDir>

#include <optional>

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
#endif
    return false;
}

#ifdef Q_OS_LINUX
// A small tmpfs mounted on a folder while this lives (privileged only; mounted() tells).
class ScratchVolume {
public:
    explicit ScratchVolume(const QString& folder) : folder_(folder.toLocal8Bit()) {
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~ScratchVolume() {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    bool makeReadOnly() {
        return ::mount("tmpfs", folder_.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    void fill() const { // until no byte is left
        QFile filler(QDir(QString::fromLocal8Bit(folder_)).filePath(QStringLiteral("filler")));
        if (filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            while (filler.write(QByteArray(4096, 'x')) > 0) { // tmpfs gives whole pages
            }
    }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

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
#endif

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

#ifndef Q_OS_LINUX
    Q_UNUSED(fault)
    Q_UNUSED(language)
    QSKIP("the faults are made with Linux facilities");
#else
    // The fault is set up around the existing file.
    std::optional<ScratchVolume> volume;
    if (fault != SaveFault::WriteError)
        volume.emplace(folder);
    const bool mounted = volume && volume->mounted();
    if (volume && !mounted && IsRoot())
        QSKIP("a root process that cannot mount a tmpfs cannot make this fault");
    QVERIFY(WriteAll(path, previous));
    bool readOnlyByPermissions = false;
    std::optional<FileSizeLimit> limit;
    if (fault == SaveFault::ReadOnlyFolder && mounted) {
        QVERIFY(volume->makeReadOnly());
    } else if (fault == SaveFault::ReadOnlyFolder) {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        readOnlyByPermissions = true;
    } else if (fault == SaveFault::FullDisk) {
        if (!mounted)
            QSKIP("only root mounts a tmpfs here; the write error row covers a failed write");
        volume->fill();
    } else if (!limit.emplace().active()) {
        QSKIP("the file size limit cannot be lowered here");
    }

    w->document().replace(Sample());
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
#endif
}

void TestFileFaults::opening_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason"); // empty: the file opens
    QTest::newRow("unreadable file") << "unreadable" << QString("没有访问权限");
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
        if (QFile probe(path); probe.open(QIODevice::ReadOnly))
            QSKIP("file permissions do not take reading away here (Windows)");
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
    w->document().replace(EditorState());
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
