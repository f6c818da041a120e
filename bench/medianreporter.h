#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

// Prints as usual and keeps each benchmark's median, so a run can close with the ratio of a
// measured case to its baseline.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_medians[run.run_name.function_name] = run.GetAdjustedRealTime();
                for (const auto &counter : run.counters)
                    m_counters[run.run_name.function_name + "/" + counter.first] =
                        counter.second.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Runs the benchmarks the command line selects, reported through this reporter.
    void runAll(int *argc, char **argv)
    {
        benchmark::Initialize(argc, argv);
        benchmark::RunSpecifiedBenchmarks(this);
        benchmark::Shutdown();
    }

    // "<what>: x ms median (budget b ms): within" (or "OVER"); nothing when name did not run.
    void printBudget(const std::string &name, const char *what, double budgetMs) const
    {
        const double value = median(name);
        if (value >= 0)
            std::printf("%s: %.3f ms median (budget %g ms): %s\n", what, value, budgetMs,
                        value < budgetMs ? "within" : "OVER");
    }

    // "name / baseline (medians): a unit / b unit = rx"; false when either is missing.
    bool printRatio(const std::string &name, const std::string &baseline, const char *unit) const
    {
        const auto measured = m_medians.find(name);
        const auto base = m_medians.find(baseline);
        if (measured == m_medians.end() || base == m_medians.end() || base->second <= 0)
            return false;
        std::printf("%s / %s (medians): %.3f %s / %.3f %s = %.2fx\n", name.c_str(),
                    baseline.c_str(), measured->second, unit, base->second, unit,
                    measured->second / base->second);
        return true;
    }

    double median(const std::string &name) const
    {
        const auto found = m_medians.find(name);
        return found == m_medians.end() ? -1.0 : found->second;
    }

    // The median of a user counter across repetitions; -1 when there is none.
    double medianCounter(const std::string &name, const std::string &counter) const
    {
        const auto found = m_counters.find(name + "/" + counter);
        return found == m_counters.end() ? -1.0 : found->second;
    }

private:
    std::map<std::string, double> m_medians;
    std::map<std::string, double> m_counters;
};
