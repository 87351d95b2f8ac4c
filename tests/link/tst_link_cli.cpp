// tr640-cli against tr640-radio-sim on a pseudo-terminal.

#include "LinkTestSupport.h"
#include "cli/CliRun.h"
#include "codeplug/Codec.h"

#include <QTemporaryDir>

#include <sys/stat.h>

using namespace tr640;
using namespace tr640::test;

class TestLinkCli : public QObject {
    Q_OBJECT
private:
    // "@name" arguments become files of the test folder.
    QStringList place(QStringList args) const {
        for (const char* name :
             {"pattern", "startup", "vhf", "out", "backup", "trace", "radio", "fifo"})
            args.replaceInStrings(QLatin1Char('@') + QLatin1String(name), file(name));
        return args.replaceInStrings(QStringLiteral("@folder"), dir_.path());
    }
    QString file(const char* name) const { return dir_.filePath(QLatin1String(name) + ".dat"); }

    QTemporaryDir dir_;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        EditorState vhf;
        vhf.Band = 5; // 136-174MHz
        QVERIFY(PutFile(file("pattern"), PatternImage()));
        QVERIFY(PutFile(file("startup"), EncodeImage(EditorState())));
        QVERIFY(PutFile(file("vhf"), EncodeImage(vhf)));
        QCOMPARE(mkfifo(QFile::encodeName(file("fifo")).constData(), 0600), 0);
    }

    void transfers_data() {
        QTest::addColumn<QStringList>("sim");
        QTest::addColumn<QStringList>("cli");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("saved");      // the radio's memory was written
        QTest::addColumn<QByteArray>("says"); // on standard output or error
        const auto row = [](const char* name, QStringList sim, QStringList cli, int status,
                            bool saved, QByteArray says) {
            QTest::newRow(name) << sim << cli << status << saved << says;
        };
        const QString start = QStringLiteral("@startup");
        const QStringList pattern{"--image", "@pattern"};
        const QByteArray written("Write frequency success!");
        // Replies in pieces; the trace holds PROGRAM, identify, ack, 16 requests and the end
        // request sent, and the ack, identification, ack and 16 frames with their acks received.
        row("read to a file, traced", pattern + QStringList{"--split"},
            {"read", "-o", "@out", "--trace", "@trace"}, 0, false, "Read frequency success!");
        row("read to stdout", pattern, {"read", "--lang", "zh"}, 0, false,
            BytesToImageHex(PatternImage()).toLatin1() + '\n');
        row("write, same band", {"--band", "0"}, {"write", start}, 0, true, written);
        row("write, other band", {"--band", "5"}, {"write", start}, 4, false,
            "Frequency band with discrepancies, do not write.");
        row("write, band taken from the file", {"--band", "01"}, {"write", "@vhf"}, 0, true,
            written);
        row("verify catches a corrupted byte", {"--corrupt-byte", "0x0123"},
            {"write", "--verify", start}, 6, true, "at address 0x0123");
        row("backup and verify, Chinese", pattern,
            {"write", "--lang", "zh", "--backup", "@backup", "--verify", start}, 0, true,
            "写频成功，校验无误！");
        row("backup file cannot be written", pattern, {"write", "--backup", "@folder", start}, 1,
            false, "it is a folder");
        row("no such port, traced", {},
            {"write", "--port", "/dev/tr640-none", "--trace", "@trace", start}, 3, false,
            "/dev/tr640-none");
        row("no such file", {}, {"write", "@out"}, 1, false, "out.dat");
        row("--backup without a file", {}, {"write", "--port", "/dev/null", start, "--backup"}, 2,
            false, "--backup needs a file name");
        row("--verify is for writes", {}, {"read", "--verify"}, 2, false,
            "unexpected argument '--verify'");
        row("a named pipe as the codeplug", {}, {"show", "@fifo"}, 1, false,
            "fifo.dat: it is not a regular file\n");
    }

    void transfers() {
        QFETCH(QStringList, sim);
        QFETCH(QStringList, cli);
        QFETCH(int, status);
        QFETCH(bool, saved);
        QFETCH(QByteArray, says);
        for (const char* name : {"out", "backup", "radio", "trace"})
            QFile::remove(file(name));
        SimRadio radio(place(sim) << QStringLiteral("--save") << file("radio"));
        QStringList args = place(cli);
        if (!args.contains(QStringLiteral("--port")) && args[0] != QLatin1String("show"))
            args << QStringLiteral("--port") << radio.port;
        const CliResult r = RunCli(args);
        QCOMPARE(r.status, status);
        QVERIFY2((r.out + r.err).contains(says), (r.out + r.err).constData());
        if (saved)
            QVERIFY(radio.logs("memory saved"));
        else if (status == 0 || status == 4)
            QVERIFY(radio.logs("PC    end request"));
        QCOMPARE(QFile::exists(file("radio")), saved);
        if (saved) { // the written ranges of the decoded file over what the radio held
            EditorState e;
            DecodeImage(e, FileBytes(args[args.indexOf("--port") - 1]));
            const QByteArray sent = EncodeImage(e);
            QByteArray expected =
                sim.contains("--image") ? PatternImage() : QByteArray(848, '\xFF');
            for (auto [from, to] : {std::pair{0x000, 0x170}, {0x1A8, 0x1B8}, {0x1F0, 0x350}})
                expected.replace(from, to - from, sent.mid(from, to - from));
            if (sim.contains("--corrupt-byte")) // radio address 0x0123 is stored inverted
                expected[0x113] = char(~expected[0x113]);
            QCOMPARE(FileBytes(file("radio")), expected);
        } else {
            QVERIFY(!radio.log.contains("PC    write 0x"));
        }
        const bool backup = status == 0 && cli.contains(QStringLiteral("--backup"));
        QCOMPARE(FileBytes(file("backup")), backup ? PatternImage() : QByteArray());
        QCOMPARE(FileBytes(file("out")), cli.contains("-o") ? PatternImage() : QByteArray());
        if (!cli.contains("--trace"))
            return;
        const QByteArray trace = FileBytes(file("trace"));
        int bad = -1;
        const QByteArray sent = TraceBytes(trace, "TX", &bad);
        QCOMPARE(bad, 0);
        if (status != 0) { // a port that does not open still leaves a trace that says so
            QVERIFY(trace.contains("the port did not open"));
            return;
        }
        QVERIFY(sent.startsWith(QByteArray("PROGRAM\x02\x06R\x00\x10\x40", 13)));
        QCOMPARE(sent.size(), 7 + 2 + 16 * 5 + 1);
        QCOMPARE(TraceBytes(trace, "RX").size(), 1 + 8 + 1 + 16 * (68 + 1));
    }
};

QTEST_GUILESS_MAIN(TestLinkCli)
#include "tst_link_cli.moc"
