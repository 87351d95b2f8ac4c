// The simulated radio: its side of the dialogue and its faults.

#include "RadioModel.h"

#include <QTest>

using tr640::sim::RadioFaults;
using tr640::sim::RadioModel;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

QByteArray Memory() {
    QByteArray m(1024, Qt::Uninitialized);
    for (int i = 0; i < m.size(); ++i)
        m[i] = static_cast<char>(i * 5 + 1);
    return m;
}

QByteArray Feed(RadioModel& radio, const QList<QByteArray>& events) {
    QByteArray out;
    for (const QByteArray& e : events)
        out += radio.receive(e).join();
    return out;
}

} // namespace

class TestRadioModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replies_data();
    void replies();
    void writesAndSaves();
    void faults();
    void bandOption_data();
    void bandOption();
};

void TestRadioModel::replies_data() {
    QTest::addColumn<int>("band");
    QTest::addColumn<QList<QByteArray>>("events");
    QTest::addColumn<QByteArray>("reply");
    const QByteArray ack(1, 0x06);
    const QByteArray mem = Memory();
    QTest::newRow("idle radio waits for PROGRAM")
        << 0x33 << QList<QByteArray>{Bytes({2}), ack, Bytes({'R', 0, 0x10, 0x40})} << QByteArray();
    QTest::newRow("PROGRAM in pieces after noise")
        << 0x33 << QList<QByteArray>{"xPRO", "GRAM"} << ack;
    QTest::newRow("identification, band 33")
        << 0x33 << QList<QByteArray>{"PROGRAM", Bytes({2}), ack}
        << ack + QByteArray("M61163\xF8\xFF") + ack;
    QTest::newRow("identification, band 01")
        << 0x01 << QList<QByteArray>{"PROGRAM", Bytes({2})}
        << ack + Bytes({'M', '5', '1', '1', '6', 1, 0xF8, 0xFF});
    QTest::newRow("last block") << 0x33
                                << QList<QByteArray>{"PROGRAM", Bytes({'R', 0x03, 0xD0, 0x40})}
                                << ack + Bytes({'W', 0x03, 0xD0, 0x40}) + mem.mid(0x3C0, 64);
    QTest::newRow("block past the memory")
        << 0x33 << QList<QByteArray>{"PROGRAM", Bytes({'R', 0x04, 0x00, 0x40})}
        << ack + Bytes({'W', 0x04, 0x00, 0x40}) + mem.mid(0x3F0, 16) + QByteArray(48, '\xFF');
    QTest::newRow("end request leaves program mode")
        << 0x33 << QList<QByteArray>{"PROGRAM", "E", Bytes({2})} << ack;
}

void TestRadioModel::replies() {
    QFETCH(int, band);
    QFETCH(QList<QByteArray>, events);
    RadioModel radio(static_cast<quint8>(band));
    radio.setMemory(Memory());
    QTEST(Feed(radio, events), "reply");
}

void TestRadioModel::writesAndSaves() {
    RadioFaults faults;
    faults.corruptAddress = 0x0205;
    RadioModel radio(0x33, faults);
    QByteArray frame = Bytes({'W', 0x02, 0x00, 0x10});
    frame += QByteArray("0123456789abcdef");
    QCOMPARE(Feed(radio, {"PROGRAM", frame.first(7), frame.mid(7)}), Bytes({6, 6}));
    QByteArray expected(1024, '\xFF');
    expected.replace(0x1F0, 16,
                     "01234\xCA"
                     "6789abcdef"); // '5' stored inverted
    QCOMPARE(radio.memory(), expected);
    QCOMPARE(radio.completedWrites(), 0);
    Feed(radio, {"E"});
    QCOMPARE(radio.completedWrites(), 1);
    Feed(radio, {"PROGRAM", "E"}); // no frames: nothing to save
    QCOMPARE(radio.completedWrites(), 1);
}

void TestRadioModel::faults() {
    RadioFaults f;
    f.silent = true;
    RadioModel silent(0x33, f);
    QCOMPARE(Feed(silent, {"PROGRAM", Bytes({2})}), QByteArray());
    QCOMPARE(silent.framesReceived(), 2);

    f = {};
    f.stopAfter = 2;
    RadioModel stops(0x33, f);
    QCOMPARE(Feed(stops, {"PROGRAM", Bytes({2}), Bytes({6})}).size(), 1 + 8);

    f = {};
    f.wrongAddress = true;
    RadioModel wrong(0x33, f);
    Feed(wrong, {"PROGRAM"});
    QList<int> named;
    for (int a : {0x10, 0x50, 0x90, 0xD0})
        named.append(static_cast<quint8>(Feed(wrong, {Bytes({'R', 0, a, 0x40})}).at(2)));
    QCOMPARE(named, (QList<int>{0x10, 0x50, 0xD0, 0xD0}));

    f = {};
    f.split = true;
    f.garbage = true;
    RadioModel split(0x33, f);
    const QList<QByteArray> program = split.receive("PROGRAM");
    QVERIFY(program.size() > 2);
    QVERIFY(!program.join().chopped(1).contains('\x06'));
    QCOMPARE(program.last(), QByteArray(1, 0x06));
    const QList<QByteArray> ident = split.receive(Bytes({2}));
    QCOMPARE(ident.size(), 3);
    QCOMPARE(ident.join(), RadioModel::IdentificationReply(0x33));
}

void TestRadioModel::bandOption_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("code");
    QTest::newRow("position 5") << "5" << true << 0x01;
    QTest::newRow("position 0") << "0" << true << 0x33;
    QTest::newRow("hex code") << "73" << true << 0x73;
    QTest::newRow("hex with prefix") << "0x01" << true << 0x01;
    QTest::newRow("unlisted code") << "00" << true << 0x00;
    QTest::newRow("three digits") << "123" << false << 0;
    QTest::newRow("not hex") << "zz" << false << 0;
}

void TestRadioModel::bandOption() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    quint8 code = 0;
    QCOMPARE(tr640::sim::ParseBandCode(text, &code), ok);
    if (ok)
        QTEST(int(code), "code");
}

QTEST_GUILESS_MAIN(TestRadioModel)
#include "tst_link_radiosim.moc"
