// The console table of a benchmark run, then ratios of the CPU times it
// measured: CPU time rather than wall time, as the machine may be shared.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // `printRatios` runs once after the table, to print the program's ratios.
    explicit RatioReporter(std::function<void(RatioReporter&)> printRatios)
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular
                                                : OO_Tabular), // colours only on a terminal
          printRatios_(std::move(printRatios)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string name = run.run_name.str();
            const double seconds =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            names_.insert(name);
            if (run.run_type == Run::RT_Iteration)
                samples_[name].push_back(seconds);
            else if (run.aggregate_name == "median")
                medians_[name] = seconds;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        printRatios_(*this);
    }

    // CPU seconds of one iteration of the named case: the median of its
    // repetitions; 0 when it was not measured.
    double Seconds(const std::string& name) {
        if (auto median = medians_.find(name); median != medians_.end()) return median->second;
        std::vector<double>& v = samples_[name];
        if (v.empty()) return 0;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }

    // Every case measured, by name.
    const std::set<std::string>& Names() const { return names_; }

    std::ostream& Out() { return GetOutputStream(); }

    // One line "over / under  ratio  note" when both cases were measured; the
    // time of `under` counts `underTimes` times.
    void Ratio(const std::string& over, const std::string& under, const char* note,
               double underTimes = 1) {
        const double a = Seconds(over), b = Seconds(under);
        if (a <= 0 || b <= 0) return;
        char line[256];
        std::snprintf(line, sizeof line, "  %-38s / %-24s %8.3f  %s\n", over.c_str(), under.c_str(),
                      a / (underTimes * b), note);
        Out() << line;
    }

private:
    std::function<void(RatioReporter&)> printRatios_;
    std::set<std::string> names_;
    std::map<std::string, std::vector<double>> samples_; // seconds
    std::map<std::string, double> medians_;              // seconds
};

} // namespace bench
