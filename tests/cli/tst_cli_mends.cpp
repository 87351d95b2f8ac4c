// tr640-cli as a user meets it: the progress of a transfer on a terminal and in a log, and a
// named pipe given as a codeplug file.

#include "cli/CliRun.h"
#include "codeplug/Codec.h"

#include <QTemporaryDir>

#include <sys/stat.h>

using namespace tr640;
using namespace tr640::test;

class TestCliMends : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void progress_data() { // one progress line for reads and writes alike
        QTest::addColumn<bool>("terminal");
        QTest::newRow("on a terminal") << true;
        QTest::newRow("into a log") << false;
    }
    void progress() {
        QFETCH(bool, terminal);
        QVERIFY(PutFile(dir_.filePath("startup.DAT"), EncodeImage(EditorState())));
        SimRadio radio;
        const QStringList args{"read", "--port", radio.port, "-o", dir_.filePath("startup.DAT")};
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        if (terminal) // script gives the tool a terminal of its own
            tool.start("script",
                       {"-qec", (QStringList{kCliProgram} + args).join(u' '), "/dev/null"});
        else
            tool.start(kCliProgram, args);
        QVERIFY(tool.waitForFinished(30000));
        QByteArray out = tool.readAll();
        QCOMPARE(tool.exitCode(), 0);
        const QStringList lines =
            QString::fromUtf8(out.replace("\r\n", "\n")).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(!lines.isEmpty() && lines.last().trimmed() == "Read frequency success!",
                 out.constData());
        const QStringList progress = lines.filter(QStringLiteral("%"));
        if (terminal) { // one line, drawn again in place up to 100 %
            QCOMPARE(progress.size(), 1);
            QVERIFY2(progress[0].split(u'\r', Qt::SkipEmptyParts).size() > 10, out.constData());
            QVERIFY(progress[0].endsWith("100%"));
        } else {
            QVERIFY2(progress.size() >= 2 && progress.size() <= 11, out.constData());
            QCOMPARE(progress.last(), "progress 100%");
        }
    }

    void namedPipeIsRefused() {
        const QString fifo = dir_.filePath("fifo.DAT");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const CliResult r = RunCli({"show", fifo});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err, "tr640-cli: " + QFile::encodeName(fifo) + ": it is not a regular file\n");
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestCliMends)
#include "tst_cli_mends.moc"
