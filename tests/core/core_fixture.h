// Test helpers for the line analysis core: a fresh core state with one channel and set limits,
// feeding of scan lines given as segment lists or as text pictures, and reading of the results.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/TForm2.h"
#include "core/segmentation.h"
#include "io/errors.h"

namespace velkor::testing {

struct Seg {
    int32_t v, h;
};

// Limits of one channel, as a test sets them directly.
struct Limits {
    int32_t minLength = 2, maxLength = 100;
    int32_t minWidth = 2, maxWidth = 40;
    int32_t minArea = 10, maxArea = 4000;
    int32_t edgeAngleWeight = 33;
    int32_t minSegmentWidth = 0, mergeGap = 0;
};

inline void setLimits(CoreState& s, int32_t ch, const Limits& l) {
    s.minLength[ch] = l.minLength;
    s.maxLength[ch] = l.maxLength;
    s.minWidth[ch] = l.minWidth;
    s.maxWidth[ch] = l.maxWidth;
    s.minArea[ch] = l.minArea;
    s.maxArea[ch] = l.maxArea;
    s.edgeAngleWeight[ch] = l.edgeAngleWeight;
    s.minSegmentWidth[ch] = l.minSegmentWidth;
    s.mergeGap[ch] = l.mergeGap;
}

// The runs of '#' in one text row: v is the first dark column, h the first light one after it,
// so h - v is the number of dark pixels.
inline std::vector<Seg> runsOf(std::string_view row) {
    std::vector<Seg> runs;
    for (int32_t x = 0; x < static_cast<int32_t>(row.size());) {
        if (row[x] != '#') {
            ++x;
            continue;
        }
        const int32_t v = x;
        while (x < static_cast<int32_t>(row.size()) && row[x] == '#') ++x;
        runs.push_back({v, x});
    }
    return runs;
}

class CoreTest : public ::testing::Test {
protected:
    CoreTest() : state_(std::make_unique<CoreState>()), s(*state_), form(s) {
        s.channelCount = 1;
        s.channelTable[1] = {0, 100000, 500};
        setLimits(s, 1, Limits{});
    }

    // Places raw runs in currentLine as the line reader does.
    void placeRaw(const std::vector<Seg>& runs) {
        for (size_t k = 0; k < runs.size(); ++k) {
            s.currentLine()[k + 1].v = runs[k].v;
            s.currentLine()[k + 1].h = runs[k].h;
        }
    }

    // Runs one scan line through segmentation and pairing; returns the objects closed on it.
    std::vector<tskepna> feed(const std::vector<Seg>& runs) {
        placeRaw(runs);
        filterSegments(s, static_cast<int32_t>(runs.size()));
        const tlokid& closed = form.porun();
        return {closed.begin() + 1, closed.begin() + 1 + s.closedCount};
    }

    // Runs a picture, one row per scan line, then one empty line so that every object ends;
    // returns all closed objects in order.
    std::vector<tskepna> feedPicture(const std::vector<std::string_view>& rows) {
        std::vector<tskepna> all;
        for (std::string_view row : rows) {
            for (const tskepna& t : feed(runsOf(row))) all.push_back(t);
        }
        for (const tskepna& t : feed({})) all.push_back(t);
        return all;
    }

    // The live objects after the latest line.
    std::vector<tskepna> live() const {
        return {s.previousLine().begin() + 1, s.previousLine().begin() + 1 + s.previousCount};
    }

    // Sets the live objects directly, as if earlier lines had left them.
    void setLive(const std::vector<tskepna>& objects) {
        for (size_t k = 0; k < objects.size(); ++k) s.previousLine()[k + 1] = objects[k];
        s.previousCount = static_cast<int32_t>(objects.size());
    }

    std::unique_ptr<CoreState> state_;
    CoreState& s;
    TForm2 form;
};

// A live object as an earlier line would have left it: plain, with own length and area equal
// to its length and area.
inline tskepna object(int32_t v, int32_t h, int32_t lengd, int32_t flatarmal) {
    tskepna t;
    t.v = v;
    t.h = h;
    t.xv = v;
    t.xh = h;
    t.lengd = lengd;
    t.sjalfs_lengd = lengd;
    t.breidd = h - v;
    t.flatarmal = flatarmal;
    t.sjalfs_flat = flatarmal;
    return t;
}

}  // namespace velkor::testing
