// The class sweep's table and JSON line word for word for a small sweep made by hand: two
// channels whose names, report classes, recorded totals and references all differ, so that every
// mark, difference and reference line can only come from its own channel and class.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tools/velkor-count/sweep_output.h"

namespace velkor {
namespace {

ClassSweep handMadeSweep() {
    ClassSweep s;
    s.recording = "lón/kví.blb";
    s.channels = 2;
    s.lines = 4 * 3600 * 1116 + 1116 * 61;
    s.frames = 14462;
    s.frameWidth = 1116;
    s.counterType = -1;
    s.damagedLines = 3;
    s.names = {"", "North", "Suður"};
    s.reportClass = {0, 2, 7};
    s.recorded.sessionTotals[1] = 100;
    s.recorded.sessionTotals[2] = 0;
    s.recorded.endCounters[1] = 55;
    s.recorded.endCounters[2] = 66;
    s.recorded.total = 1000;
    const int32_t north[] = {140, 120, 103, 97, 60, 41, 41, 41, 10, 0};
    const int32_t south[] = {9, 8, 7, 6, 5, 4, 3, 0, 0, 0};
    for (int32_t k = 0; k < fishClassCount; ++k) {
        s.cells[1][k].total = north[k];
        s.cells[1][k].verdicts[static_cast<int>(EndingVerdict::counted)] = north[k];
        s.cells[1][k].verdicts[static_cast<int>(EndingVerdict::tooShort)] = 30 - 3 * k;
        s.cells[1][k].verdicts[static_cast<int>(EndingVerdict::tooLarge)] = k;
        s.cells[2][k].total = south[k];
        s.cells[2][k].verdicts[static_cast<int>(EndingVerdict::tooNarrow)] = k == 7 ? 4 : 0;
    }
    return s;
}

TEST(SweepTable, WordForWord) {
    ClassSweep s = handMadeSweep();
    GivenPerChannel references = nothingGiven;
    references[1] = 99;
    references[2] = 0;
    // North: report class 1 g, recorded 100, reference 99 nearest 3 g (97). Suður: report class
    // 300 g, recorded 0 (no per cent but of 0), reference 0 nearest the middle of 300 g..3 Kg.
    EXPECT_EQ(sweepTable(s, references),
              "lón/kví.blb\n"
              "  Class   North                                                      Suður\n"
              "          Replay     Difference  Moved most                          Replay     "
              "Difference  Moved most\n"
              "  0.1 g      140        +40.0 %  too short 24 → 30, too large 2 → 0       9         "
              "     -  too narrow 4 → 0\n"
              "  0.3 g      120        +20.0 %  too short 24 → 27, too large 2 → 1       8         "
              "     -  too narrow 4 → 0\n"
              "  1 g        103 *       +3.0 %                                           7         "
              "     -  too narrow 4 → 0\n"
              "  3 g         97 <       -3.0 %  too short 24 → 21, too large 2 → 3       6         "
              "     -  too narrow 4 → 0\n"
              "  10 g        60        -40.0 %  too short 24 → 18, too large 2 → 4       5         "
              "     -  too narrow 4 → 0\n"
              "  30 g        41        -59.0 %  too short 24 → 15, too large 2 → 5       4         "
              "     -  too narrow 4 → 0\n"
              "  100 g       41        -59.0 %  too short 24 → 12, too large 2 → 6       3         "
              "     -  too narrow 4 → 0\n"
              "  300 g       41        -59.0 %  too short 24 → 9, too large 2 → 7        0 *       "
              " 0.0 %\n"
              "  1 Kg        10        -90.0 %  too short 24 → 6, too large 2 → 8        0 <       "
              " 0.0 %  too narrow 4 → 0\n"
              "  3 Kg         0       -100.0 %  too short 24 → 3, too large 2 → 9        0         "
              " 0.0 %  too narrow 4 → 0\n"
              "  * the report's class, < nearest to the reference\n"
              "  North: reference 99, nearest 3 g with 97 (-2, -2.0 %)\n"
              "  Suður: reference 0, nearest 1 Kg with 0 (0, 0.0 %)\n"
              "  16138476 lines, 4:01:01, 14462 frames of 1116 lines\n");
    references = nothingGiven;
    const std::string plain = sweepTable(s, references);
    EXPECT_EQ(plain.find('<'), std::string::npos);
    EXPECT_NE(plain.find("\n  * the report's class\n  16138476 lines"), std::string::npos) << plain;
    s.counterType = 0;
    EXPECT_NE(sweepTable(s, references).find(" frames of 1116 lines, counter type 0\n"),
              std::string::npos);
}

TEST(SweepTable, JsonHoldsEachChannelsOwnFigures) {
    ClassSweep s = handMadeSweep();
    GivenPerChannel references = nothingGiven;
    references[2] = 0;
    const nlohmann::json j = nlohmann::json::parse(sweepJson(s, references))["sweep"];
    EXPECT_EQ(j["recording"], "lón/kví.blb");
    EXPECT_EQ(j["lines"], 16138476);
    EXPECT_EQ(j["frames"], 14462);
    EXPECT_EQ(j["frameWidth"], 1116);
    EXPECT_EQ(j["counterType"], -1);
    EXPECT_EQ(j["damagedLines"], 3);
    const nlohmann::json& north = j["channels"][0];
    const nlohmann::json& south = j["channels"][1];
    EXPECT_EQ(north["channel"], 1);
    EXPECT_EQ(south["channel"], 2);
    EXPECT_EQ(north["name"], "North");
    EXPECT_EQ(south["name"], "Suður");
    EXPECT_EQ(north["reportClass"], 2);
    EXPECT_EQ(south["reportClass"], 7);
    EXPECT_EQ(north["recorded"], 100);
    EXPECT_EQ(south["recorded"], 0);
    EXPECT_FALSE(north.contains("reference"));
    EXPECT_EQ(south["reference"], nlohmann::json::parse(R"({"count": 0, "nearest": 8, "total": 0,
        "difference": 0, "differencePercent": 0.0})"));
    EXPECT_EQ(north["classes"][9]["name"], "3 Kg");
    EXPECT_EQ(north["classes"][9]["total"], 0);
    EXPECT_EQ(north["classes"][9]["difference"], -100.0);
    EXPECT_EQ(north["classes"][0]["difference"], 40.0);
    EXPECT_TRUE(south["classes"][0]["difference"].is_null());
    EXPECT_EQ(south["classes"][9]["difference"], 0.0);
    EXPECT_EQ(north["classes"][0]["verdicts"]["too short"], 30);
    EXPECT_EQ(north["classes"][0]["verdicts"]["piece too small on its own"], 0);
    EXPECT_EQ(north["classes"][0]["moved"], nlohmann::json::parse(R"([
        {"verdict": "too short", "from": 24, "to": 30},
        {"verdict": "too large", "from": 2, "to": 0}])"));
    EXPECT_TRUE(south["classes"][7]["moved"].empty());
    // A reference count between two runs: the three classes alike at 41 are nearer than 60.
    references[1] = 50;
    const nlohmann::json ref =
        nlohmann::json::parse(sweepJson(s, references))["sweep"]["channels"][0]["reference"];
    EXPECT_EQ(ref, nlohmann::json::parse(R"({"count": 50, "nearest": 6, "total": 41,
        "difference": -9, "differencePercent": -18.0})"));
}

}  // namespace
}  // namespace velkor
