#include "Targets.h"
#include "TimesReporter.h"
#include "engine/TOTPGenerator.h"

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;

namespace {

void BM_code(benchmark::State &state)
{
    const QString secret = u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s;
    double date = 1700000000.0;
    for (auto _ : state) {
        auto code = TOTPGenerator::code(secret, date, 30, 6);
        benchmark::DoNotOptimize(code);
        // A new time step every call, so each call hashes a different counter.
        date += 30.0;
    }
}
BENCHMARK(BM_code);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reportFigure("TOTPGenerator::code", reporter.microseconds("BM_code"), "us", 1.5) ? 0 : 1;
}
