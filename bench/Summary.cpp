#include "Summary.h"

#include <algorithm>
#include <cstdio>

namespace bench {

namespace {

std::string Number(double value) {
    if (value < 0) return "n/a";
    char text[32];
    const char* format = value >= 100 || value == 0 ? "%.0f" : value >= 1 ? "%.1f" : "%.3f";
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Values(const std::vector<double>& values) {
    std::string text;
    for (double v : values) text += (text.empty() ? "" : " ") + Number(v);
    return text.empty() ? "(none)" : text;
}

// "met", "missed", or "" when the figure has no target or a median is missing.
std::string Verdict(const Figure& figure, double starter, double minimal) {
    if (starter < 0) return "";
    if (figure.maxRatio > 0) {
        if (minimal <= 0) return "";
        return starter <= figure.maxRatio * minimal ? "met" : "missed";
    }
    if (figure.maxValue >= 0) return starter <= figure.maxValue ? "met" : "missed";
    return "";
}

}  // namespace

double Median(std::vector<double> values) {
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }), values.end());
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintRuns(const std::vector<Figure>& figures) {
    std::printf("Every run:\n");
    for (const Figure& figure : figures) {
        std::printf("  %s [%s]\n", figure.name.c_str(), figure.unit.c_str());
        std::printf("    starter: %s\n", Values(figure.starter).c_str());
        std::printf("    minimal: %s\n", Values(figure.minimal).c_str());
    }
}

void PrintTable(const std::vector<Figure>& figures) {
    std::printf("%-50s %9s %9s %8s   %-17s %s\n", "Median", "starter", "minimal", "ratio", "target (starter)",
                "");
    for (const Figure& figure : figures) {
        const double starter = Median(figure.starter);
        const double minimal = Median(figure.minimal);
        char ratio[32] = "n/a";
        if (starter >= 0 && minimal > 0) std::snprintf(ratio, sizeof ratio, "%.2fx", starter / minimal);
        const std::string label = figure.name + " [" + figure.unit + "]";
        std::printf("%-50s %9s %9s %8s   %-17s %s\n", label.c_str(), Number(starter).c_str(),
                    Number(minimal).c_str(), ratio, figure.target.empty() ? "-" : figure.target.c_str(),
                    Verdict(figure, starter, minimal).c_str());
    }
}

}  // namespace bench
