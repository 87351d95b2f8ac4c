// FrequencyRemainder against the counting loop it replaces.

#include "codeplug/FrequencyRemainder.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

using namespace tr640;

namespace {

// The counting loop itself, started at `firstN` instead of 1. Counting from 1 reaches firstN
// exactly when the exit test is still false at firstN - 1 (the candidates never increase), so
// both give the same n; callers check that with ExitTestFalse.
double CountingRemainder(double step, double x, qint32 firstN = 1) {
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
    QVERIFY2(                                                                                      \
        (got) == (expected),                                                                       \
        qPrintable(QStringLiteral("%1 != %2").arg(got, 0, 'g', 17).arg(expected, 0, 'g', 17)))

bool ExitTestFalse(double step, double x, qint32 n) {
    return !(x - n * step < step);
}

struct BandRange {
    int low, high; // MHz
};

constexpr BandRange kBands[] = {{136, 174}, {200, 260}, {350, 370}, {370, 390},
                                {400, 430}, {400, 470}, {600, 720}};
constexpr double kSteps[] = {0.005, 0.00625};

} // namespace

class TestFrequencyRemainder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void knownValues_data();
    void knownValues();
    void denseSweepMatchesCountingLoop_data();
    void denseSweepMatchesCountingLoop();
    void randomSampleMatchesLiteralLoop();
    void hugeAndOddArgumentsReturn();
};

void TestFrequencyRemainder::knownValues_data() {
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

void TestFrequencyRemainder::knownValues() {
    QFETCH(double, step);
    QFETCH(double, x);
    QFETCH(double, expected);
    const double got = FrequencyRemainder(step, x);
    QVERIFY2(std::abs(got - expected) < 1e-9, qPrintable(QString::number(got, 'g', 17)));
    COMPARE_EXACTLY(got, CountingRemainder(step, x));
}

void TestFrequencyRemainder::denseSweepMatchesCountingLoop_data() {
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<double>("step");
    for (const BandRange& b : kBands)
        for (double step : kSteps)
            QTest::addRow("%d-%d MHz, %g", b.low, b.high, step) << b.low << b.high << step;
}

// Every 10 Hz of the band: x is the value a typed "145.00731" reads as.
void TestFrequencyRemainder::denseSweepMatchesCountingLoop() {
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(double, step);
    qint64 mismatches = 0;
    qint64 unprovenStarts = 0;
    qint64 points = 0;
    double firstMismatch = 0;
    for (qint64 k = qint64(low) * 100000; k <= qint64(high) * 100000; ++k, ++points) {
        const double x = double(k) / 100000.0;
        const qint32 firstN = std::max<qint32>(1, qint32(std::floor(x / step)) - 2);
        if (firstN > 1 && !ExitTestFalse(step, x, firstN - 1))
            ++unprovenStarts;
        const double expected = CountingRemainder(step, x, firstN);
        const double got = FrequencyRemainder(step, x);
        if (!(got == expected) && mismatches++ == 0)
            firstMismatch = x;
    }
    QCOMPARE(points, qint64(high - low) * 100000 + 1);
    QCOMPARE(unprovenStarts, 0);
    QVERIFY2(mismatches == 0, qPrintable(QStringLiteral("%1 mismatches, first at %2")
                                             .arg(mismatches)
                                             .arg(firstMismatch, 0, 'f', 5)));
}

void TestFrequencyRemainder::randomSampleMatchesLiteralLoop() {
    QRandomGenerator random(20120401);
    for (int i = 0; i < 400; ++i) {
        const BandRange& b = kBands[random.bounded(int(std::size(kBands)))];
        const double x =
            double(random.bounded(qint64(b.low) * 100000, qint64(b.high) * 100000 + 1)) / 100000.0;
        // Off the 10 Hz grid as well: any double of the band.
        const double y = b.low + random.generateDouble() * (b.high - b.low);
        for (double step : kSteps) {
            COMPARE_EXACTLY(FrequencyRemainder(step, x), CountingRemainder(step, x));
            COMPARE_EXACTLY(FrequencyRemainder(step, y), CountingRemainder(step, y));
        }
    }
}

void TestFrequencyRemainder::hugeAndOddArgumentsReturn() {
    const double inf = std::numeric_limits<double>::infinity();
    QCOMPARE(FrequencyRemainder(0.005, inf), 0.0);
    QCOMPARE(FrequencyRemainder(0.005, std::nan("")), 0.0);
    QCOMPARE(FrequencyRemainder(0.0, 145.0), 145.0);
    // 1e15 steps print as "1e+15": whole.
    QCOMPARE(FrequencyRemainder(0.005, 5e12), 0.0);
    // Counts beyond the 32-bit range still give a remainder below the step.
    for (double x : {12345678901.2345, 1.5e13 + 0.0021, 7.7e15}) {
        const double r = FrequencyRemainder(0.005, x);
        QVERIFY2(r > -0.005 && r < 0.005, qPrintable(QString::number(r, 'g', 17)));
    }
}

QTEST_APPLESS_MAIN(TestFrequencyRemainder)
#include "tst_frequencyremainder.moc"
