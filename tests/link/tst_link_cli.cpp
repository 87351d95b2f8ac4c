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

private:
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

void TestLinkCli::transfers() {
    QFETCH(QStringList, sim);
    QFETCH(QStringList, cli);
    QFETCH(bool, saved);
    const QString out = m_dir.filePath(QStringLiteral("out.dat"));
    const QString save = m_dir.filePath(QStringLiteral("radio.dat"));
    QFile::remove(out);
    QFile::remove(save);
    const auto place = [&](QStringList args) {
        args.replaceInStrings(QStringLiteral("@pattern"), m_pattern);
        args.replaceInStrings(QStringLiteral("@startup"), m_codeplug);
        args.replaceInStrings(QStringLiteral("@vhf"), m_vhf);
        args.replaceInStrings(QStringLiteral("@out"), out);
        return args;
    };

    QProcess radio;
    radio.start(Sim(), place(sim) << QStringLiteral("--save") << save);
    QVERIFY(radio.waitForStarted());
    QVERIFY(radio.waitForReadyRead());
    const QString pty = QString::fromLocal8Bit(radio.readLine()).trimmed();
    QVERIFY(pty.startsWith(u'/'));

    QStringList args = place(cli);
    if (!args.contains(QStringLiteral("--port")))
        args << QStringLiteral("--port") << pty;
    QProcess tool;
    tool.start(Cli(), args);
    QVERIFY(tool.waitForFinished(30000));
    const QByteArray stdOut = tool.readAllStandardOutput();
    QFETCH(int, status);
    QCOMPARE(tool.exitCode(), status);
    if (status == 0 || status == 4) {
        // The radio's memory is final once it has logged the end request (and saved).
        const QByteArray last = saved ? "memory saved" : "PC    end request";
        QByteArray log;
        QTRY_VERIFY((log += radio.readAllStandardError()).contains(last));
    }
    radio.terminate();
    QVERIFY(radio.waitForFinished());

    QCOMPARE(QFile::exists(save), saved);
    if (saved) {
        EditorState e;
        e.Language = 1;
        DecodeImage(e, ReadCodeplugFile(place(cli).last(), nullptr));
        QCOMPARE(FileBytes(save), AfterWrite(EncodeImage(e)));
        QVERIFY(stdOut.contains("Write frequency success!"));
    }
    if (cli.contains(QStringLiteral("-o")))
        QCOMPARE(FileBytes(out), PatternImage());
    if (QTest::currentDataTag() == QByteArrayView("read to stdout"))
        QCOMPARE(stdOut, BytesToImageHex(PatternImage()).toLatin1() + '\n');
}

QTEST_GUILESS_MAIN(TestLinkCli)
#include "tst_link_cli.moc"
