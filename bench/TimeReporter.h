#pragma once
// A console reporter that also keeps each benchmark's real time per
// iteration (seconds) by name, so a benchmark program can print its RATIO
// lines against a reference measured in the same run. No colour codes, so the
// RATIO lines start their lines.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace Lumo::Bench {

class TimeReporter : public benchmark::ConsoleReporter
{
public:
    TimeReporter() : ConsoleReporter(OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.iterations > 0 && !run.error_occurred)
                times[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> times;
};

} // namespace Lumo::Bench
