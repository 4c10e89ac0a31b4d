// What velkor-count's class sweep reads from its counts, and the per-channel values of its
// command line: tables of small cases.
#include <gtest/gtest.h>

#include "tools/velkor-count/channel_values.h"
#include "tools/velkor-count/class_sweep.h"
#include "tools/velkor-count/sweep_findings.h"

namespace velkor {
namespace {

TEST(SweepFindings, NearestClassAndItsTies) {
    using Counts = std::array<int32_t, fishClassCount>;
    const Counts falling{500, 480, 400, 300, 250, 250, 200, 120, 60, 0};
    struct Case {
        Counts counts;
        int64_t reference;
        int32_t reportClass;
        int32_t nearest;
        const char* why;
    };
    const Case cases[] = {
        {falling, 300, 5, 3, "exactly one class's count"},
        {falling, 310, 0, 3, "nearer to 300 than to 400"},
        {falling, 350, 9, 3, "300 and 400 as near, side by side: the larger"},
        {falling, 350, 0, 3, "the same whatever the report's class"},
        {falling, 250, 9, 5, "4 and 5 count alike: the larger"},
        {falling, 90, 8, 8, "30 from 120 and 60, side by side: the larger"},
        {Counts{315, 316, 315, 214, 158, 158, 158, 111, 0, 0}, 158, 2, 5,
         "fish accepted alike by three classes: the middle one"},
        {Counts{242, 183, 183, 183, 183, 130, 0, 0, 0, 0}, 183, 7, 3,
         "four classes alike: the larger middle one"},
        {Counts{7, 7, 7, 7, 7, 7, 7, 7, 7, 7}, 0, 4, 5, "all alike: the larger middle one"},
        {Counts{9, 5, 5, 5, 5, 5, 5, 5, 5, 5}, 5, 0, 5, "the middle of 1..9"},
        {Counts{5, 5, 0, 0, 0, 0, 0, 5, 5, 5}, 5, 0, 8,
         "the wider run wins over the report's side"},
        {Counts{5, 1, 0, 0, 0, 0, 0, 0, 1, 5}, 5, 4, 0,
         "0 and 9 alone: 0 is nearer the report's 4"},
        {Counts{5, 1, 0, 0, 0, 0, 0, 0, 1, 5}, 5, 5, 9,
         "0 and 9 alone: 9 is nearer the report's 5"},
        {Counts{0, 0, 0, 5, 0, 5, 0, 0, 0, 0}, 5, 4, 3, "3 and 5, one step either side: 3"},
        {falling, 100000, 3, 0, "beyond every count: the largest"},
        {falling, 0, 3, 9, "nothing: the class that counts nothing"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nearestClass(c.counts, c.reference, c.reportClass), c.nearest) << c.why;
}

TEST(SweepFindings, VerdictsThatMovedMost) {
    using Tally = std::array<int32_t, endingVerdictCount>;
    auto tally = [](std::initializer_list<std::pair<EndingVerdict, int32_t>> entries) {
        Tally t{};
        for (const auto& [v, n] : entries) t[static_cast<int>(v)] = n;
        return t;
    };
    using V = EndingVerdict;
    struct Case {
        Tally from, to;
        std::vector<VerdictMove> moved;
        const char* why;
    };
    const Case cases[] = {
        {tally({{V::counted, 10}, {V::tooShort, 183}}),
         tally({{V::counted, 190}, {V::tooShort, 2}}),
         {{V::tooShort, 183, 2}},
         "the count itself is never among them"},
        {tally({{V::tooShort, 5}, {V::tooLarge, 1}, {V::tooWide, 2}}),
         tally({{V::tooShort, 1}, {V::tooLarge, 40}, {V::tooWide, 2}}),
         {{V::tooLarge, 1, 40}, {V::tooShort, 5, 1}},
         "largest change first, whichever way; unchanged ones left out"},
        {tally({{V::tooNarrow, 3}, {V::tooShort, 3}, {V::pieceTooSmall, 0}}),
         tally({{V::pieceTooSmall, 3}}),
         {{V::tooShort, 3, 0}, {V::tooNarrow, 3, 0}},
         "equal changes in the verdict order, two at most"},
        {tally({{V::counted, 4}}), tally({{V::counted, 9}}), {}, "only the count moved"},
    };
    for (const Case& c : cases) {
        const std::vector<VerdictMove> moved = movedMost(c.from, c.to, 2);
        ASSERT_EQ(moved.size(), c.moved.size()) << c.why;
        for (size_t i = 0; i < moved.size(); ++i) {
            EXPECT_EQ(moved[i].verdict, c.moved[i].verdict) << c.why;
            EXPECT_EQ(moved[i].from, c.moved[i].from) << c.why;
            EXPECT_EQ(moved[i].to, c.moved[i].to) << c.why;
        }
    }
}

TEST(SweepFindings, EveryChannelMeetsEveryClassStartingFromTheReports) {
    const ChannelArray<int32_t> report{0, 2, 9, 0, 5};
    for (int32_t c = 1; c <= 4; ++c) {
        std::array<int, fishClassCount> seen{};
        for (int32_t k = 0; k < fishClassCount; ++k) ++seen[sweepClasses(report, 4, k)[c]];
        EXPECT_EQ(seen, (std::array<int, fishClassCount>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1})) << c;
        EXPECT_EQ(sweepClasses(report, 4, 0)[c], report[c]);
    }
    EXPECT_EQ(sweepClasses(report, 2, 3), (ChannelArray<int32_t>{-1, 5, 2, -1, -1}));
}

TEST(ChannelValues, ReadAsGivenOrNamedInTheError) {
    struct Case {
        const char* text;
        int64_t largest;
        int32_t channel;  // 0: not a value
        int64_t value;
    };
    const Case cases[] = {
        {"1=0", 9, 1, 0},
        {"4=9", 9, 4, 9},
        {"2=07", 9, 2, 7},
        {"1=12", 9, 0, 0},
        {"5=3", 9, 0, 0},
        {"0=1", 9, 0, 0},
        {"1=", 9, 0, 0},
        {"=1", 9, 0, 0},
        {"1=-1", 9, 0, 0},
        {"1=+1", 9, 0, 0},
        {"1= 1", 9, 0, 0},
        {"1=2.5", 100, 0, 0},
        {"1=1e3", 10000, 0, 0},
        {"12=3", 9, 0, 0},
        {"3=283", 2147483647, 3, 283},
        {"3=2147483648", 2147483647, 0, 0},
        {"1=99999999999999999999999", 2147483647, 0, 0},
    };
    for (const Case& c : cases) {
        const auto v = parseChannelValue(c.text, c.largest);
        ASSERT_EQ(v.has_value(), c.channel != 0) << c.text;
        if (!v) continue;
        EXPECT_EQ(v->channel, c.channel) << c.text;
        EXPECT_EQ(v->value, c.value) << c.text;
    }

    GivenPerChannel given = nothingGiven;
    EXPECT_EQ(readChannelValues("--reference", {"1=300", "3=20"}, 2147483647, "a count", given),
              "");
    EXPECT_EQ(given, (GivenPerChannel{-1, 300, -1, 20, -1}));
    given = nothingGiven;
    EXPECT_EQ(readChannelValues("--class", {"1=3", "1=4"}, 9, "size class", given),
              "--class 1=4: channel 1 is given twice");
    given = nothingGiven;
    EXPECT_EQ(readChannelValues("--class", {"2=3", "1=x"}, 9, "size class", given),
              "--class 1=x: expected CH=N with channel 1..4 and size class 0..9");

    EXPECT_EQ(missingChannelProblem("--class", GivenPerChannel{-1, 2, 0, -1, 3}, "a.blb", 2),
              "--class 4=3: a.blb has 2 channels");
    EXPECT_EQ(missingChannelProblem("--reference", GivenPerChannel{-1, -1, 7, -1, -1}, "b.blc", 1),
              "--reference 2=7: b.blc has 1 channel");
    EXPECT_EQ(missingChannelProblem("--class", GivenPerChannel{-1, 2, 0, 1, 3}, "a.blb", 4), "");
}

}  // namespace
}  // namespace velkor
