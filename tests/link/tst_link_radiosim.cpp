// The simulated radio's own options, as far as the other suites rely on them.

#include "LinkTestSupport.h"

#include <QTest>

using namespace tr640::test;
using tr640::sim::RadioModel;

namespace {

QByteArray Feed(RadioModel& radio, const QList<QByteArray>& events) {
    QByteArray out;
    for (const QByteArray& e : events)
        out += radio.receive(e).join();
    return out;
}

} // namespace

class TestLinkRadioSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replies_data() {
        QTest::addColumn<QList<QByteArray>>("events");
        QTest::addColumn<QByteArray>("reply");
        const QByteArray ack(1, 0x06);
        QTest::newRow("idle radio waits for PROGRAM")
            << QList{Bytes({2}), ack, Bytes({'R', 0, 0x10, 0x40})} << QByteArray();
        QTest::newRow("PROGRAM in pieces after noise") << QList<QByteArray>{"xPRO", "GRAM"} << ack;
        QTest::newRow("end request leaves program mode")
            << QList<QByteArray>{"PROGRAM", "E", Bytes({2})} << ack;
    }
    void replies() {
        QFETCH(QList<QByteArray>, events);
        RadioModel radio;
        QTEST(Feed(radio, events), "reply");
    }

    void faults() {
        // A stored byte inverted, and a save only for an end request after stored frames.
        RadioModel corrupt(0x33, {.corruptAddress = 0x0205});
        const QByteArray frame = Bytes({'W', 0x02, 0x00, 0x10}) + "0123456789abcdef";
        QCOMPARE(Feed(corrupt, {"PROGRAM", frame.first(7), frame.mid(7), "E", "PROGRAM", "E"}),
                 Bytes({6, 6, 6}));
        QCOMPARE(corrupt.memory().mid(0x1F0, 16), QByteArray("01234\xCA"
                                                             "6789abcdef"));
        QCOMPARE(corrupt.completedWrites(), 1);

        RadioModel stops(0x33, {.stopAfter = 2});
        QCOMPARE(Feed(stops, {"PROGRAM", Bytes({2}), Bytes({6})}),
                 "\x06" + RadioModel::IdentificationReply(0x33));
    }

    void bandOption_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code"); // -1: refused
        QTest::newRow("position 5") << "5" << 0x01;
        QTest::newRow("hex code") << "73" << 0x73;
        QTest::newRow("three digits") << "123" << -1;
        QTest::newRow("not hex") << "zz" << -1;
    }
    void bandOption() {
        QFETCH(QString, text);
        quint8 code = 0;
        const bool ok = tr640::sim::ParseBandCode(text, &code);
        QTEST(ok ? int(code) : -1, "code");
    }
};

QTEST_GUILESS_MAIN(TestLinkRadioSim)
#include "tst_link_radiosim.moc"
