// stillafiskiflokk and autofiskiflokkur: a channel's limits loaded from its size class, and
// derived again after every frame from the running means of the objects it counted, so they
// follow the fish actually passing.
#include <stdexcept>
#include <string>

#include "core/TForm2.h"
#include "core/checked_math.h"
#include "core/fish_classes.h"

namespace velkor {

namespace {

void checkChannel(int32_t tnr) {
    if (tnr < 1 || tnr > maxChannels) {
        throw std::out_of_range("channel " + std::to_string(tnr) + " is not 1.." +
                                std::to_string(maxChannels));
    }
}

}  // namespace

void TForm2::stillafiskiflokk(int32_t tnr) {
    checkChannel(tnr);
    CoreState& s = s_;
    const FishClass& fc = fishClassTable[clampSizeGroup(s.sizeGroup[tnr])];
    const int32_t span = checkedSub(s.scanRightEdge, s.scanLeftEdge, "scan span");

    s.minSegmentWidth[tnr] = fc.minSegmentWidth;
    s.mergeGap[tnr] = fc.mergeGap;
    s.avgLength[tnr] = fc.nominalLength;
    s.minLength[tnr] = checkedTruncateToInt32(
        static_cast<long double>(s.avgLength[tnr]) / s.lengthDivisor, "minLength");
    s.minLengthFloor[tnr] = fc.lengthFloor;
    s.maxLength[tnr] = checkedMul(50, s.minLength[tnr], "maxLength");
    s.avgWidth[tnr] = pixelWidth(span, fc.nominalWidthMm, s.counterWidthMm);
    s.minWidth[tnr] =
        checkedTruncateToInt32(static_cast<long double>(s.avgWidth[tnr]) / 4, "minWidth");
    s.minWidthFloor[tnr] = pixelWidth(span, fc.widthFloorMm, s.counterWidthMm);
    s.maxWidth[tnr] = checkedMul(20, s.minWidth[tnr], "maxWidth");
    s.minArea[tnr] =
        checkedMul(checkedMul(2, s.minWidth[tnr], "minArea"), s.minLength[tnr], "minArea");
    s.maxArea[tnr] = checkedMul(s.maxWidth[tnr], s.maxLength[tnr], "maxArea");
    s.avgArea[tnr] =
        static_cast<double>(static_cast<long double>(s.avgLength[tnr]) * s.avgWidth[tnr] / 2);
    s.edgeAngleWeight[tnr] = 33;
}

void TForm2::autofiskiflokkur(int32_t tnr) {
    checkChannel(tnr);
    CoreState& s = s_;
    int32_t minLength = checkedTruncateToInt32(
        static_cast<long double>(s.avgLength[tnr]) / s.lengthDivisor, "minLength");
    if (minLength < s.minLengthFloor[tnr]) minLength = s.minLengthFloor[tnr];
    int32_t minWidth =
        checkedTruncateToInt32(static_cast<long double>(s.avgWidth[tnr]) / 4, "minWidth");
    if (minWidth < s.minWidthFloor[tnr]) minWidth = s.minWidthFloor[tnr];
    s.minLength[tnr] = minLength;
    s.minWidth[tnr] = minWidth;
    s.maxWidth[tnr] = checkedMul(20, minWidth, "maxWidth");
    s.maxLength[tnr] = checkedMul(50, minLength, "maxLength");
    int32_t minArea = checkedMul(checkedMul(2, minWidth, "minArea"), minLength, "minArea");
    s.maxArea[tnr] = checkedMul(s.maxWidth[tnr], s.maxLength[tnr], "maxArea");
    if (minArea < 11) minArea = 11;
    s.minArea[tnr] = minArea;

    // Segment parameters and edge smoothing follow the size of the fish.
    if (const AdaptationRow* row = adaptationRowFor(minArea)) {
        s.minSegmentWidth[tnr] = row->minSegmentWidth;
        s.mergeGap[tnr] = row->mergeGap;
        s.edgeAngleWeight[tnr] = row->edgeAngleWeight;
        return;
    }
    // Very large fish keep their segment parameters, only kept from falling below 4.
    if (s.minSegmentWidth[tnr] < 4) s.minSegmentWidth[tnr] = 4;
    if (s.mergeGap[tnr] < 4) s.mergeGap[tnr] = 4;
}

}  // namespace velkor
