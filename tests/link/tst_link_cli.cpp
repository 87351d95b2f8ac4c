// tr640-cli read and write against tr640-radio-sim on a pseudo-terminal.

#include "LinkTestSupport.h"
#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tr640;
using namespace tr640::test;

namespace {

QString Cli() {
    return QStringLiteral(TR640_BINARY_DIR "/src/cli/tr640-cli");
}

QString Sim() {
    return QStringLiteral(TR640_BINARY_DIR "/tools/radio-sim/tr640-radio-sim");
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The image as a radio holds it after a write of `sent` over an erased memory: the written
// ranges (calibration block excluded) from `sent`, 0xFF elsewhere.
QByteArray AfterWrite(const QByteArray& sent) {
    QByteArray m(848, '\xFF');
    for (auto [from, to] : {std::pair{0x000, 0x170}, {0x1A8, 0x1B8}, {0x1F0, 0x350}})
        m.replace(from, to - from, sent.mid(from, to - from));
    return m;
}

} // namespace

class TestLinkCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void transfers_data();
    void transfers();
    void safety_data();
    void safety();
    void traces();

private:
    struct Run {
        int status = -1;
        QByteArray out, err, radioLog;
    };
    // Starts the radio with `sim`, runs the tool with `cli` (and --port when not given), waits
    // for the radio to have taken the end request (`settled`: "memory saved" after a write, the
    // end request otherwise) and stops it. "@name" arguments become files of the test folder.
    Run run(const QStringList& sim, const QStringList& cli, const QByteArray& settled);
    QStringList place(QStringList args) const;

    QTemporaryDir m_dir;
    QString m_pattern;  // PatternImage() as a file
    QString m_codeplug; // the start-up codeplug (band 400-470MHz) as a file
    QString m_vhf;      // the same on band 136-174MHz
};

void TestLinkCli::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_pattern = m_dir.filePath(QStringLiteral("pattern.dat"));
    m_codeplug = m_dir.filePath(QStringLiteral("startup.dat"));
    QVERIFY(WriteFileAtomically(m_pattern, PatternImage()).ok());
    QVERIFY(WriteFileAtomically(m_codeplug, EncodeImage(EditorState())).ok());
    m_vhf = m_dir.filePath(QStringLiteral("vhf.dat"));
    EditorState vhf;
    vhf.Band = 5;
    QVERIFY(WriteFileAtomically(m_vhf, EncodeImage(vhf)).ok());
}

void TestLinkCli::transfers_data() {
    QTest::addColumn<QStringList>("sim");
    QTest::addColumn<QStringList>("cli");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("saved"); // the radio's memory was written
    const QString start = QStringLiteral("@startup");
    QTest::newRow("read to a file")
        << QStringList{"--image", "@pattern"} << QStringList{"read", "-o", "@out"} << 0 << false;
    QTest::newRow("read to stdout")
        << QStringList{"--image", "@pattern"} << QStringList{"read", "--lang", "zh"} << 0 << false;
    QTest::newRow("write, same band")
        << QStringList{"--band", "0"} << QStringList{"write", start} << 0 << true;
    QTest::newRow("write, other band")
        << QStringList{"--band", "5"} << QStringList{"write", start} << 4 << false;
    QTest::newRow("write, band taken from the file")
        << QStringList{"--band", "01"} << QStringList{"write", "@vhf"} << 0 << true;
    QTest::newRow("write, other band, service")
        << QStringList{"--band", "5"} << QStringList{"write", "--service", start} << 0 << true;
    QTest::newRow("write, pieces and noise")
        << QStringList{"--split", "--garbage"} << QStringList{"write", start} << 0 << true;
    QTest::newRow("no such port") << QStringList{}
                                  << QStringList{"read", "--port", "/dev/tr640-none"} << 3 << false;
    QTest::newRow("no such file") << QStringList{} << QStringList{"write", "@out"} << 1 << false;
    QTest::newRow("no port given") << QStringList{} << QStringList{"read", "--port"} << 2 << false;
}

QStringList TestLinkCli::place(QStringList args) const {
    args.replaceInStrings(QStringLiteral("@pattern"), m_pattern);
    args.replaceInStrings(QStringLiteral("@startup"), m_codeplug);
    args.replaceInStrings(QStringLiteral("@vhf"), m_vhf);
    for (const char* name : {"out", "backup", "trace", "radio"})
        args.replaceInStrings(QLatin1Char('@') + QLatin1String(name),
                              m_dir.filePath(QLatin1String(name) + QStringLiteral(".dat")));
    args.replaceInStrings(QStringLiteral("@folder"), m_dir.path());
    return args;
}

TestLinkCli::Run TestLinkCli::run(const QStringList& sim, const QStringList& cli,
                                  const QByteArray& settled) {
    Run r;
    for (const char* name : {"out", "backup", "trace", "radio"})
        QFile::remove(m_dir.filePath(QLatin1String(name) + QStringLiteral(".dat")));
    QProcess radio;
    radio.start(Sim(), place(sim) << QStringLiteral("--save") << place({"@radio"}));
    if (!radio.waitForStarted() || !radio.waitForReadyRead())
        return r;
    const QString pty = QString::fromLocal8Bit(radio.readLine()).trimmed();

    QStringList args = place(cli);
    if (!args.contains(QStringLiteral("--port")))
        args << QStringLiteral("--port") << pty;
    QProcess tool;
    tool.start(Cli(), args);
    if (!tool.waitForFinished(30000))
        return r;
    r.status = tool.exitCode();
    r.out = tool.readAllStandardOutput();
    r.err = tool.readAllStandardError();
    const auto hasSettled = [&] {
        return (r.radioLog += radio.readAllStandardError()).contains(settled);
    };
    if (!settled.isEmpty() && !QTest::qWaitFor(hasSettled, 10000))
        qWarning("the radio never logged '%s'", settled.constData());
    radio.terminate();
    radio.waitForFinished();
    r.radioLog += radio.readAllStandardError();
    return r;
}

void TestLinkCli::transfers() {
    QFETCH(QStringList, sim);
    QFETCH(QStringList, cli);
    QFETCH(bool, saved);
    QFETCH(int, status);
    const QByteArray settled = status == 0 || status == 4
                                   ? QByteArray(saved ? "memory saved" : "PC    end request")
                                   : QByteArray();
    const Run r = run(sim, cli, settled);
    QCOMPARE(r.status, status);
    const QString save = m_dir.filePath(QStringLiteral("radio.dat"));
    QCOMPARE(QFile::exists(save), saved);
    if (saved) {
        EditorState e;
        e.Language = 1;
        DecodeImage(e, ReadCodeplugFile(place(cli).last(), nullptr));
        QCOMPARE(FileBytes(save), AfterWrite(EncodeImage(e)));
        QVERIFY(r.out.contains("Write frequency success!"));
    }
    if (cli.contains(QStringLiteral("-o")))
        QCOMPARE(FileBytes(m_dir.filePath(QStringLiteral("out.dat"))), PatternImage());
    if (QTest::currentDataTag() == QByteArrayView("read to stdout"))
        QCOMPARE(r.out, BytesToImageHex(PatternImage()).toLatin1() + '\n');
}

void TestLinkCli::safety_data() {
    QTest::addColumn<QStringList>("sim");
    QTest::addColumn<QStringList>("cli");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("saved");        // the radio's memory was written
    QTest::addColumn<QByteArray>("backup"); // the backup file's bytes, empty for none
    QTest::addColumn<QByteArray>("says");   // on standard output or error
    const QString start = QStringLiteral("@startup");
    const QByteArray pattern = PatternImage();
    QTest::newRow("verify") << QStringList{} << QStringList{"write", "--verify", start} << 0 << true
                            << QByteArray() << QByteArray("success, verified!");
    QTest::newRow("verify catches a corrupted byte")
        << QStringList{"--corrupt-byte", "0x0123"} << QStringList{"write", "--verify", start} << 6
        << true << QByteArray() << QByteArray("at address 0x0123");
    QTest::newRow("backup first") << QStringList{"--image", "@pattern"}
                                  << QStringList{"write", "--backup", "@backup", start} << 0 << true
                                  << pattern << QByteArray("Write frequency success!");
    QTest::newRow("backup and verify, Chinese")
        << QStringList{"--image", "@pattern"}
        << QStringList{"write", "--lang", "zh", "--backup", "@backup", "--verify", start} << 0
        << true << pattern << QByteArray("写频成功，校验无误！");
    QTest::newRow("backup read fails: nothing written")
        << QStringList{"--stop-after", "5"} << QStringList{"write", "--backup", "@backup", start}
        << 3 << false << QByteArray() << QByteArray("nothing was written");
    QTest::newRow("backup file cannot be written: nothing written")
        << QStringList{"--image", "@pattern"} << QStringList{"write", "--backup", "@folder", start}
        << 1 << false << QByteArray() << QByteArray("it is a folder");
    QTest::newRow("--backup without a file")
        << QStringList{} << QStringList{"write", "--port", "/dev/null", start, "--backup"} << 2
        << false << QByteArray() << QByteArray("--backup needs a file name");
    QTest::newRow("--verify is for writes")
        << QStringList{} << QStringList{"read", "--verify"} << 2 << false << QByteArray()
        << QByteArray("unexpected argument '--verify'");
}

void TestLinkCli::safety() {
    QFETCH(QStringList, sim);
    QFETCH(QStringList, cli);
    QFETCH(int, status);
    QFETCH(bool, saved);
    QFETCH(QByteArray, backup);
    QFETCH(QByteArray, says);
    const Run r = run(sim, cli, saved ? "memory saved" : "");
    QCOMPARE(r.status, status);
    QVERIFY2((r.out + r.err).contains(says), (r.out + r.err).constData());
    const QString save = m_dir.filePath(QStringLiteral("radio.dat"));
    QCOMPARE(QFile::exists(save), saved);
    if (!saved)
        QVERIFY(!r.radioLog.contains("PC    write 0x"));
    const QString backupFile = m_dir.filePath(QStringLiteral("backup.dat"));
    QCOMPARE(QFile::exists(backupFile), !backup.isEmpty());
    if (!backup.isEmpty())
        QCOMPARE(FileBytes(backupFile), backup);
}

void TestLinkCli::traces() {
    const Run r = run({"--image", "@pattern", "--split"},
                      {"read", "-o", "@out", "--trace", "@trace"}, "PC    end request");
    QCOMPARE(r.status, 0);
    const QByteArray trace = FileBytes(m_dir.filePath(QStringLiteral("trace.dat")));
    QByteArray sent = QByteArray("PROGRAM") + Bytes({0x02, 0x06});
    QByteArray received = Bytes({0x06}) + sim::RadioModel::IdentificationReply(0x33) + '\x06';
    const QByteArray memory = PatternImage() + QByteArray(1024 - 848, '\xFF');
    for (int k = 0; k < 16; ++k) {
        const int a = 0x10 + 64 * k;
        sent += Bytes({'R', a >> 8, a & 0xFF, 0x40, 0x06});
        received += Bytes({'W', a >> 8, a & 0xFF, 0x40}) + memory.mid(64 * k, 64) + '\x06';
    }
    sent += 'E';
    int bad = -1;
    QCOMPARE(TraceBytes(trace, "TX", &bad), sent);
    QCOMPARE(bad, 0);
    QCOMPARE(TraceBytes(trace, "RX"), received);

    // A port that does not open still leaves a trace that says so.
    const Run missing =
        run({}, {"write", "--port", "/dev/tr640-none", "--trace", "@trace", "@startup"}, "");
    QCOMPARE(missing.status, 3);
    QVERIFY(
        FileBytes(m_dir.filePath(QStringLiteral("trace.dat"))).contains("the port did not open"));
}

QTEST_GUILESS_MAIN(TestLinkCli)
#include "tst_link_cli.moc"
