// Codec and frequency snapping: EncodeCodeplug, DecodeCodeplug and FrequencyRemainder, the
// latter against the plain counting loop it replaces.

#include "codeplug/Codec.h"
#include "codeplug/EditorState.h"
#include "codeplug/FrequencyRemainder.h"

#include "SampleCodeplug.h"

#include <QString>
#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace tr640;

// The loop FrequencyRemainder replaces: n counts up from 1 and every candidate x - n * step is
// computed afresh, with n a 32-bit signed integer.
double CountingRemainder(double step, double x) {
    if (x < step)
        return x;
    if (!QString::number(x / step, 'g', 15).contains(u'.'))
        return 0.0;
    std::int32_t n = 1;
    while (!(x - n * step < step))
        ++n;
    return x - n * step;
}

void BM_EncodeCodeplug(benchmark::State& state) {
    const EditorState s = bench::SampleCodeplug();
    for (auto _ : state) {
        const QString hex = EncodeCodeplug(s);
        benchmark::DoNotOptimize(hex.constData());
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_EncodeCodeplug);

void BM_DecodeCodeplug(benchmark::State& state) {
    const QString hex = EncodeCodeplug(bench::SampleCodeplug());
    EditorState s;
    DecodeCodeplug(s, hex);
    if (!(s.cell(16, ColRxFrequency) == bench::SampleCodeplug().cell(16, ColRxFrequency)))
        state.SkipWithError("the decoded image differs from the encoded one");
    for (auto _ : state) {
        DecodeCodeplug(s, hex);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_DecodeCodeplug);

// Arguments: the step in Hz (5000 or 6250). The frequency, 720.00312 MHz, lies on neither
// raster, so both versions go past the whole-quotient shortcut.
constexpr double kFrequency = 720.00312;

// The input is read from a volatile and the result stored into one, each iteration, so that
// nothing is folded or hoisted. (benchmark::DoNotOptimize on a modifiable double is avoided:
// with this library version and GCC it let the compiler read an uninitialised slot.)
template <double (*Remainder)(double, double)> void BM_FrequencyRemainder(benchmark::State& state) {
    const double step = double(state.range(0)) / 1e6;
    if (FrequencyRemainder(step, kFrequency) != CountingRemainder(step, kFrequency))
        state.SkipWithError("the two versions disagree");
    volatile double input = kFrequency;
    volatile double sink = 0;
    for (auto _ : state)
        sink = Remainder(step, input);
    (void)sink;
}
BENCHMARK_TEMPLATE(BM_FrequencyRemainder, tr640::FrequencyRemainder)
    ->Name("BM_FrequencyRemainder/constant")
    ->Arg(5000)
    ->Arg(6250);
BENCHMARK_TEMPLATE(BM_FrequencyRemainder, CountingRemainder)
    ->Name("BM_FrequencyRemainder/counting")
    ->Arg(5000)
    ->Arg(6250)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
