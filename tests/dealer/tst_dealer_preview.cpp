// Writing with "Preview changes before writing" on, against a simulated radio.

#include "DealerBench.h"

using namespace tr640;
using namespace tr640::test;
using link::JobResult;

namespace {

// Three channels and two settings differ from Customer().
EditorState Changed() {
    EditorState s = Customer();
    s.cell(1, ColRxFrequency) = "435.05000";
    s.setListCell(3, ColPower, 0);
    s.cell(5, ColRxFrequency) = "440.00000";
    s.TimeOutTimer = 3;
    s.Settings.EmbeddedMessage[0] = "XYZ";
    return s;
}

} // namespace

class TestDealerPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void preview_data();
    void preview();
};

void TestDealerPreview::preview_data() {
    QTest::addColumn<bool>("identical");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("intro");
    QTest::addColumn<QString>("writeCaption");
    QTest::addColumn<QStringList>("lines");
    const QStringList five{"Channel 01 RX frequency: 435.02500 → 435.05000",
                           "Channel 03 Power: High → Low", "Channel 05: new",
                           "Time-out Timer: 90 S → 60 S",
                           R"(Embedded message line 1: "ABC" → "XYZ")"};
    const QString intro = "Writing will change these in the radio:";
    QTest::newRow("differs, Cancel") << false << false << intro << "Write" << five;
    QTest::newRow("differs, Write") << false << true << intro << "Write" << five;
    QTest::newRow("identical") << true << false << "The radio already holds this codeplug."
                               << "Write anyway" << QStringList();
}

void TestDealerPreview::preview() {
    QFETCH(bool, identical);
    QFETCH(bool, write);
    QFETCH(QString, intro);
    QFETCH(QString, writeCaption);
    QFETCH(QStringList, lines);
    Bench b;
    const QByteArray original = EncodeImage(Customer());
    b.radio.setMemory(original);
    b->document().replace(identical ? Customer() : Changed());
    auto* item = b.find<QAction>("mnupreview");
    QVERIFY(!item->isChecked()); // off by default
    item->trigger();
    QVERIFY(b->transfer().writeChecks().Preview);

    PreviewAnswerer answer(write);
    b->transfer().mnuwriteFre();
    QVERIFY(b.finish());
    QCOMPARE(answer.shown, 1);
    QCOMPARE(answer.intro, intro);
    QCOMPARE(answer.writeCaption, writeCaption);
    QCOMPARE(answer.lines, lines);
    const link::JobReport& report = b.job().report();
    if (!write) {
        QCOMPARE(report.result, JobResult::Cancelled);
        QCOMPARE(report.framesWritten, 0);
        QCOMPARE(b.radio.completedWrites(), 0);
        QCOMPARE(b.radio.image(), original);
        QVERIFY(!b->transfer().port().isOpen());
        QVERIFY(!b.radio.inProgramMode()); // the end request went out
    } else {
        QCOMPARE(report.result, JobResult::Done);
        QVERIFY(QTest::qWaitFor([&] { return b.radio.completedWrites() == 1; }, 5000));
        QCOMPARE(b.radio.image().first(0x170), EncodeImage(Changed()).first(0x170));
    }
}

QTEST_MAIN(TestDealerPreview)
#include "tst_dealer_preview.moc"
