// tr640-cli export-csv and import-csv: exit statuses, what is written and what is not.

#include "cli/CliRun.h"
#include "codeplug/ChirpCsv.h"
#include "codeplug/Codec.h"

#include <QTemporaryDir>

using namespace tr640;
using namespace tr640::test;

class TestCsvCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void commands_data();
    void commands();
    void exportAndBack();

private:
    QTemporaryDir dir_;
    QString base_; // channels 1 and 9 on 400-470MHz
};

void TestCsvCli::initTestCase() {
    QVERIFY(dir_.isValid());
    EditorState s;
    for (int row : {1, 9}) {
        s.cell(row, ColRxFrequency) = QStringLiteral("44%1.00625").arg(row);
        s.cell(row, ColTxFrequency) = QStringLiteral("435.12500");
        for (int col = ColRxTone; col <= ColScanAdd; ++col)
            s.setListCell(row, col, col == ColTxTone ? 12 : row == 1);
    }
    base_ = dir_.filePath(QStringLiteral("base.dat"));
    QVERIFY(PutFile(base_, EncodeImage(s)));
}

void TestCsvCli::commands_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("options"); // after import-csv @csv -o @out
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("rx"); // channels 1, 2, 9 written, or empty: nothing written
    const QByteArray good("Location,Frequency,Duplex,Offset\n2,446.5,+,1.5\n");
    const QByteArray oneBad("Location,Frequency\n2,446.5\n3,999\n");
    const QByteArray vhf("Location,Frequency\n1,146.52\n");
    const auto row = [](const char* name, const QByteArray& csv, QStringList options, int status,
                        const char* message, const char* rx) {
        QTest::newRow(name) << csv << options << status << QString(message) << QString(rx);
    };
    row("into the start-up codeplug", good, {}, 0, "Channels imported: 1.", "/446.50000/");
    row("over a base", good, {"--base", "@base"}, 0, "will be cleared", "/446.50000/");
    row("merged into a base", good, {"--base", "@base", "--merge"}, 0, "stay as they are",
        "441.00625/446.50000/449.00625");
    row("in order", good, {"--in-order"}, 0, "file order", "446.50000//");
    row("a rejected row writes nothing", oneBad, {}, 5, "Line 3: receive frequency 999.000000", "");
    row("unreadable file", "Location\n1\n", {}, 5, "no Frequency column", "");
    row("band by position", vhf, {"--band", "5"}, 0, "", "146.52000//");
    row("band by name", vhf, {"--band", "136-174MHz"}, 0, "", "146.52000//");
    row("no such base", good, {"--base", "@none"}, 1, "no such file", "");
    row("two placements", good, {"--in-order", "--by-location"}, 2, "not both", "");
    row("unknown language", good, {"--lang", "fr"}, 2, "--lang takes zh or en", "");
    row("base without a file", good, {"--base"}, 2, "--base needs a codeplug file", "");
    row("a switch with a value", good, {"--merge=1"}, 2, "unexpected argument '--merge=1'", "");
    row("two CSV files", good, {"@base"}, 2, "unexpected argument '", "");
    row("unknown band", good, {"--band", "7"}, 2, "--band", "");
    row("merged into another band", vhf, {"--base", "@base", "--merge", "--band", "5"}, 2,
        "--merge", "");
}

void TestCsvCli::commands() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QString, rx);
    const QString in = dir_.filePath(QStringLiteral("in.csv"));
    const QString out = dir_.filePath(QStringLiteral("out.dat"));
    QVERIFY(PutFile(in, csv) && PutFile(out, "an earlier file"));
    options.replaceInStrings(QStringLiteral("@base"), base_);
    options.replaceInStrings(QStringLiteral("@none"), dir_.filePath(QStringLiteral("none")));
    const CliResult r = RunCli(QStringList{"import-csv", in, "-o", out} + options);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
    if (rx.isEmpty()) {
        QCOMPARE(FileBytes(out), QByteArray("an earlier file"));
        return;
    }
    EditorState written;
    DecodeImage(written, FileBytes(out));
    QCOMPARE(written.cell(1, ColRxFrequency) + u'/' + written.cell(2, ColRxFrequency) + u'/' +
                 written.cell(9, ColRxFrequency),
             rx);
    QCOMPARE(written.Band, options.contains(QStringLiteral("--band")) ? 5 : 0);
}

void TestCsvCli::exportAndBack() {
    const QString csv = dir_.filePath(QStringLiteral("out.csv"));
    const QString again = dir_.filePath(QStringLiteral("again.dat"));
    QCOMPARE(RunCli({"export-csv", base_, csv}).status, 0);
    EditorState decoded;
    DecodeImage(decoded, FileBytes(base_));
    QCOMPARE(FileBytes(csv), ExportChirpCsvFile(decoded));
    QCOMPARE(RunCli({"import-csv", csv, "-o", again}).status, 0);
    QCOMPARE(FileBytes(again), EncodeImage(decoded));

    QCOMPARE(RunCli({"export-csv", dir_.filePath(QStringLiteral("none")), csv}).status, 1);
    QCOMPARE(RunCli({"export-csv", base_}).status, 2);
    QCOMPARE(RunCli({"import-csv", dir_.filePath(QStringLiteral("none")), "-o", again}).status, 1);
    QCOMPARE(RunCli({"import-csv", csv}).status, 2);
}

QTEST_GUILESS_MAIN(TestCsvCli)
#include "tst_csv_cli.moc"
