#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// Google Benchmark's usual table, keeping each benchmark's CPU time per iteration.
class TimesReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            m_microseconds[run.benchmark_name()] =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e6;
    }

    // Microseconds of CPU per iteration of the named benchmark ("name/arg"), or -1.
    double microseconds(const std::string &name) const
    {
        const auto found = m_microseconds.find(name);
        return found == m_microseconds.end() ? -1 : found->second;
    }

private:
    std::map<std::string, double> m_microseconds;
};
