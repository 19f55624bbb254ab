// The probe's figures as it prints them: every run's value, then one table
// of medians with the starter beside the minimal tray program, their ratio
// and the target the starter aims at. Targets are printed, never enforced:
// the benchmark reports, it does not pass or fail.
#pragma once

#include <string>
#include <vector>

namespace bench {

// One measured quantity for both programs. A negative value is one that
// could not be had in that run; the median leaves it out.
struct Figure {
    std::string name;
    std::string unit;
    std::vector<double> starter;
    std::vector<double> minimal;
    // How the starter is judged against the minimal program's median (a
    // ratio limit), or against a fixed limit; none when both are unset.
    double maxRatio = -1;
    double maxValue = -1;
    std::string target;  // as printed, e.g. "<= 1.1x minimal"
};

// The median of the values that are not negative; -1 when there are none.
double Median(std::vector<double> values);

void PrintRuns(const std::vector<Figure>& figures);
void PrintTable(const std::vector<Figure>& figures);

}  // namespace bench
