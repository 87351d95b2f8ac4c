// Batch programming: the IDs, and three simulated radios in a row, one of them refused.

#include "DealerBench.h"
#include "ui/main/BatchWindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>

using namespace tr640;
using namespace tr640::test;

class TestDealerBatch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void nextId_data();
    void nextId();
    void threeRadios();
};

void TestDealerBatch::nextId_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("next");
    QTest::newRow("width kept") << "0099" << QString("0100");
    QTest::newRow("grows") << "999" << QString("1000");
    QTest::newRow("no room") << "9999999999" << QString();
    QTest::newRow("not digits") << "12A" << QString();
    QTest::newRow("too long") << "12345678901" << QString();
}

void TestDealerBatch::nextId() {
    QFETCH(QString, id);
    QFETCH(QString, next);
    QCOMPARE(link::BatchLog::NextId(id), next);
}

void TestDealerBatch::threeRadios() {
    Bench b;
    b->document().replace(Customer());
    b.find<QAction>("mnubatch")->trigger();
    auto* batch = b->findChild<BatchWindow*>("frmBatch");
    QVERIFY(batch && batch->isVisible());
    batch->findChild<QCheckBox*>("chkOwnId")->setChecked(true);
    QTest::keyClicks(batch->findChild<QLineEdit*>("txtStartId"), "0099");
    BoxAnswerer boxes;
    QStringList radioIds;
    for (quint8 band : {0x33, 0x01, 0x33}) { // the second radio is of another band: refused
        b.radio = sim::RadioModel(band);     // the next radio on the cable
        batch->findChild<QPushButton*>("cmdWriteNext")->click();
        QVERIFY(b.finish()); // the next starts while this result is still shown
        EditorState written;
        DecodeImage(written, b.radio.image());
        radioIds << written.Settings.IdCode.remove(QChar(0xFF));
    }
    QCOMPARE(radioIds, QStringList({"0099", "", "0100"}));
    QCOMPARE(b->editor().Settings.IdCode, QString()); // the editor's own codeplug is unchanged

    auto* table = batch->findChild<QTableWidget*>("grdBatch");
    QCOMPARE(table->rowCount(), 3);
    const auto cell = [&](int r, int c) { return table->item(r, c)->text(); };
    QCOMPARE(QStringList({cell(0, 2), cell(1, 2), cell(2, 2)}),
             QStringList({"Written", "Failed: band mismatch", "Written"}));
    QCOMPARE(QStringList({cell(0, 4), cell(1, 4), cell(2, 4)}),
             QStringList({"0099", "0100", "0100"}));
    QCOMPARE(cell(0, 1), QString("400-470MHz"));

    const QString path = b.dir.filePath("log.csv");
    batch->setLogChooser([&](QWidget*) { return path; });
    batch->findChild<QPushButton*>("cmdSaveLog")->click();
    const QStringList lines =
        QString::fromUtf8(ReadAll(path)).remove(QChar(0xFEFF)).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QString("Time,Band,Result,Verify,ID written"));
    for (int r = 0; r < 3; ++r)
        QCOMPARE(
            lines[r + 1],
            QStringList({cell(r, 0), cell(r, 1), cell(r, 2), cell(r, 3), cell(r, 4)}).join(','));
}

QTEST_MAIN(TestDealerBatch)
#include "tst_dealer_batch.moc"
