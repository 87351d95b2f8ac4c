// FrequencyRemainder against the counting loop it replaces: known values, every 10 Hz of every
// band, random doubles, and arguments far outside any band.

#include "codeplug/FrequencyRemainder.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

using namespace tr640;

namespace {

// The counting loop itself, started at `firstN` instead of 1. The candidates never increase, so
// counting from 1 reaches firstN exactly when the exit test is still false at firstN - 1; the
// sweep checks that for every start it takes.
double CountingRemainder(double step, double x, qint32 firstN = 1, bool* sound = nullptr) {
    if (sound)
        *sound = firstN == 1 || !(x - (firstN - 1) * step < step);
    if (x < step)
        return x;
    if (!QString::number(x / step, 'g', 15).contains(u'.'))
        return 0.0;
    qint32 n = firstN;
    while (!(x - n * step < step))
        ++n;
    return x - n * step;
}

// QCOMPARE compares doubles fuzzily; these must agree to the last bit.
#define COMPARE_EXACTLY(got, expected)                                                             \
    QVERIFY2((got) == (expected), qPrintable(QStringLiteral("%1 != %2, x = %3")                    \
                                                 .arg(got, 0, 'g', 17)                             \
                                                 .arg(expected, 0, 'g', 17)                        \
                                                 .arg(x, 0, 'f', 6)))

constexpr int kBands[][2] = {{136, 174}, {200, 260}, {350, 370}, {370, 390},
                             {400, 430}, {400, 470}, {600, 720}};

} // namespace

class TestFrequencyRemainder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void knownValues_data() {
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("expected");
        QTest::newRow("below step") << 0.005 << 0.003 << 0.003;
        QTest::newRow("negative") << 0.005 << -4.0 << -4.0;
        QTest::newRow("on 5 kHz raster") << 0.005 << 145.01 << 0.0;
        QTest::newRow("on 6.25 kHz raster") << 0.00625 << 145.00625 << 0.0;
        QTest::newRow("145.007 / 5 kHz") << 0.005 << 145.007 << 0.002;
        QTest::newRow("145.007 / 6.25 kHz") << 0.00625 << 145.007 << 0.00075;
        QTest::newRow("145.012 / 6.25 kHz") << 0.00625 << 145.012 << 0.00575;
        QTest::newRow("exactly one step") << 0.005 << 0.005 << 0.0;
    }
    void knownValues() {
        QFETCH(double, step);
        QFETCH(double, x);
        QFETCH(double, expected);
        const double got = FrequencyRemainder(step, x);
        QVERIFY2(std::abs(got - expected) < 1e-9, qPrintable(QString::number(got, 'g', 17)));
        COMPARE_EXACTLY(got, CountingRemainder(step, x));
    }

    // Every 10 Hz of every band (x as a typed "145.00731" reads), then random doubles.
    void sweepMatchesCountingLoop_data() {
        QTest::addColumn<double>("step");
        QTest::newRow("5 kHz") << 0.005;
        QTest::newRow("6.25 kHz") << 0.00625;
    }
    void sweepMatchesCountingLoop() {
        QFETCH(double, step);
        for (const auto& band : kBands)
            for (qint64 k = qint64(band[0]) * 100000; k <= qint64(band[1]) * 100000; ++k) {
                const double x = double(k) / 100000.0;
                bool sound = false;
                const double expected = CountingRemainder(
                    step, x, std::max<qint32>(1, qint32(std::floor(x / step)) - 2), &sound);
                if (!sound || FrequencyRemainder(step, x) != expected) {
                    QVERIFY2(sound, qPrintable(QString::number(x, 'f', 5)));
                    COMPARE_EXACTLY(FrequencyRemainder(step, x), expected);
                }
            }
        QRandomGenerator random(20120401);
        for (int i = 0; i < 800; ++i) {
            const auto& band = kBands[random.bounded(int(std::size(kBands)))];
            const double x = band[0] + random.generateDouble() * (band[1] - band[0]);
            COMPARE_EXACTLY(FrequencyRemainder(step, x), CountingRemainder(step, x));
        }
    }

    void hugeAndOddArgumentsReturn() {
        QCOMPARE(FrequencyRemainder(0.005, std::numeric_limits<double>::infinity()), 0.0);
        QCOMPARE(FrequencyRemainder(0.005, std::nan("")), 0.0);
        QCOMPARE(FrequencyRemainder(0.0, 145.0), 145.0);
        QCOMPARE(FrequencyRemainder(0.005, 5e12), 0.0); // 1e15 steps print as "1e+15": whole
        // Counts beyond the 32-bit range still give a remainder below the step.
        for (double x : {12345678901.2345, 1.5e13 + 0.0021, 7.7e15}) {
            const double r = FrequencyRemainder(0.005, x);
            QVERIFY2(r > -0.005 && r < 0.005, qPrintable(QString::number(r, 'g', 17)));
        }
    }
};

QTEST_APPLESS_MAIN(TestFrequencyRemainder)
#include "tst_frequencyremainder.moc"
