// The session report's figures at their edges: the average throughput is written from a session
// of exactly the shortest length on and left blank below it, and its whole number is rounded.
#include <gtest/gtest.h>

#include <string>

#include "settings/ini_builder.h"
#include "settings/report_writer.h"

namespace velkor {
namespace {

std::string averageOf(int32_t total, double lasting) {
    ReportContent r;
    r.total = total;
    r.lasting = lasting;
    Tini_files ini;
    buildSessionReport(r, ini);
    for (const std::string& line : ini.lines()) {
        if (line.rfind("Average=", 0) == 0) return line.substr(8);
    }
    return "(missing)";
}

TEST(ReportEdges, AverageFromTheShortestSessionOn) {
    const struct {
        int32_t total;
        double lasting;  // days
        const char* average;
    } cases[] = {
        {120, 0.000115, "725"},  // 120 fish in 0.1656 minutes: 724.6 a minute
        {120, 0.0001149, " "},   // just below the shortest session: no average
        {120, 0.000116, "718"},  // 718.4
        {0, 0.000115, "0"},     {120, 1.0 / 24, "2"},  // an hour
        {90, 1.0 / 24, "2"},                           // 1.5 a minute rounds up
        {89, 1.0 / 24, "1"},                           // 1.48
        {-60, 1.0 / 24, "-1"},  {120, 0, " "},        {120, -1, " "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(averageOf(c.total, c.lasting), c.average) << c.total << " in " << c.lasting;
}

}  // namespace
}  // namespace velkor
