// tr640-cli as a user meets it: the progress of a transfer on a terminal and in a log, and a
// named pipe given as a codeplug file.

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tr640;

namespace {

const QString kCli = QStringLiteral(TR640_BINARY_DIR "/src/cli/tr640-cli");
const QString kSim = QStringLiteral(TR640_BINARY_DIR "/tools/radio-sim/tr640-radio-sim");

// The lines of an output, with the line ends a terminal adds undone.
QStringList Lines(QByteArray out) {
    out.replace("\r\n", "\n");
    QStringList lines = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    return lines;
}

} // namespace

class TestCliMends : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void progress_data();
    void progress();
    void namedPipeIsRefused();

private:
    QTemporaryDir m_dir;
    QString m_codeplug;
};

void TestCliMends::initTestCase() {
    m_codeplug = m_dir.filePath("startup.DAT");
    QVERIFY(WriteFileAtomically(m_codeplug, EncodeImage(EditorState())).ok());
}

void TestCliMends::progress_data() {
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("result");
    for (const bool terminal : {false, true}) {
        const char* where = terminal ? "on a terminal" : "into a log";
        QTest::addRow("read, %s", where) << terminal << "read"
                                         << "Read frequency success!";
        QTest::addRow("write, %s", where) << terminal << "write"
                                          << "Write frequency success!";
    }
}

void TestCliMends::progress() {
    QFETCH(bool, terminal);
    QFETCH(QString, command);
    QFETCH(QString, result);
    QProcess radio;
    radio.start(kSim, {});
    QVERIFY(radio.waitForStarted() && radio.waitForReadyRead());
    const QString pty = QString::fromLocal8Bit(radio.readLine()).trimmed();
    QStringList args{command, "--port", pty};
    args << (command == "read" ? QStringList{"-o", m_dir.filePath("out.DAT")}
                               : QStringList{m_codeplug});
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    if (terminal) // script gives the tool a terminal of its own
        tool.start("script", {"-qec", (QStringList{kCli} + args).join(u' '), "/dev/null"});
    else
        tool.start(kCli, args);
    QVERIFY(tool.waitForFinished(30000));
    radio.kill();
    radio.waitForFinished();
    const QByteArray out = tool.readAll();
    QCOMPARE(tool.exitCode(), 0);
    const QStringList lines = Lines(out);
    QVERIFY2(!lines.isEmpty() && lines.last().trimmed() == result, out.constData());
    const QStringList progress = lines.filter(QStringLiteral("%"));
    if (terminal) {
        // One line, drawn again in place up to 100 %.
        QCOMPARE(progress.size(), 1);
        QVERIFY2(progress[0].split(u'\r', Qt::SkipEmptyParts).size() > 10, out.constData());
        QVERIFY(progress[0].endsWith("100%"));
    } else {
        QVERIFY2(progress.size() >= 2 && progress.size() <= 11, out.constData());
        QCOMPARE(progress.last(), "progress 100%");
    }
}

void TestCliMends::namedPipeIsRefused() {
    const QString fifo = m_dir.filePath("fifo.DAT");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess tool;
    tool.start(kCli, {"show", fifo});
    QVERIFY2(tool.waitForFinished(10000), "show waits on the pipe");
    QCOMPARE(tool.exitCode(), 1);
    QCOMPARE(tool.readAllStandardError(),
             QByteArray("tr640-cli: " + QFile::encodeName(fifo) + ": it is not a regular file\n"));
}

QTEST_GUILESS_MAIN(TestCliMends)
#include "tst_cli_mends.moc"
