// Splits and merges of the pairing walk: one object continuing into several segments becomes a
// split group of pieces; several objects meeting one segment are joined or divide the segment;
// a piece that ends uncounted hands its area to the other live pieces of its group.
#include <algorithm>
#include <bitset>

#include "core/TForm2.h"
#include "core/checked_math.h"

namespace velkor {

void TForm2::splitObject() {
    CoreState& s = s_;
    const int32_t ch = s.channelCursor;
    tskepna& p = prevLine()[i_];
    const int32_t pieces = lastJ_ - j_ + 1;
    const int32_t group = p.klofinn != 0 ? p.klofinn : freeGroupNumber();

    // A steeply widening object that is long enough splits into pieces of one fish.
    if (checkedSub(p.hsn, p.vsn, "edge angle") > 110 && p.lengd >= s.minLength[ch]) {
        p.K_sami_fiskur = true;
    }
    const int32_t share = p.flatarmal / pieces;
    const int32_t length = checkedAdd(p.lengd, 1, "object length");
    for (int32_t k = j_; k <= lastJ_; ++k) {
        tskepna& e = curLine()[k];
        e.lengd = length;
        e.breidd = p.breidd;
        e.xv = p.xv;
        e.xh = p.xh;
        e.flatarmal = share;  // this line's width is not added
        e.litur = 0;
        e.sjalfs_lengd = 1;
        e.sjalfs_flat = checkedSub(e.h, e.v, "segment width");
        e.klofinn = group;
        e.vsn = p.vsn;
        e.hsn = p.hsn;
        e.inte = p.inte;
        e.astand = p.astand;
        e.K_sami_fiskur = p.K_sami_fiskur;
    }
    // The outer pieces keep the outer edges' angles only.
    curLine()[j_].hsn = 0;
    curLine()[lastJ_].vsn = 0;
    j_ = lastJ_ + 1;
}

int32_t TForm2::freeGroupNumber() const {
    // The numbers in use are among at most 2 * lineCapacity objects, so the smallest free one
    // is at most 2 * lineCapacity + 1.
    constexpr int32_t limit = 2 * lineCapacity + 2;
    std::bitset<limit> used;
    const int32_t handled = std::min(j_, s_.currentCount);
    for (int32_t k = 1; k <= handled; ++k) {
        const int32_t g = curLine()[k].klofinn;
        if (g > 0 && g < limit) used.set(g);
    }
    for (int32_t k = i_; k <= s_.previousCount; ++k) {
        const int32_t g = prevLine()[k].klofinn;
        if (g > 0 && g < limit) used.set(g);
    }
    int32_t g = 1;
    while (used.test(g)) ++g;
    return g;
}

bool TForm2::isBigEnough(int32_t k) const {
    const tskepna& q = prevLine()[k];
    const int32_t ch = s_.channelCursor;
    const int32_t minLength = s_.minLength[ch];
    const int32_t minArea = s_.minArea[ch];
    return (q.sjalfs_flat >= minArea / 2 &&
            q.sjalfs_lengd > checkedAdd(minLength, 1, "length limit") / 2) ||
           (q.flatarmal >= minArea && q.lengd > checkedAdd(minLength, 1, "length limit"));
}

void TForm2::mergeObjects() {
    CoreState& s = s_;
    LineArray& cur = curLine();
    LineArray& prev = prevLine();
    const int32_t ch = s.channelCursor;

    // Neighbours stay apart only when both are big enough and their facing edges do not run
    // steeply toward each other.
    int32_t k = i_;
    while (k < lastI_) {
        const int32_t facing = checkedSub(prev[k].hsn, prev[k + 1].vsn, "edge angle");
        if (isBigEnough(k) && isBigEnough(k + 1) && facing < 115) {
            ++k;
        } else {
            absorbNeighbour(k);
        }
    }
    // Dividing the segment adds one entry per extra object: join the rightmost ones first
    // while the line would otherwise outgrow its array.
    while (s.currentCount + (lastI_ - i_) > lineCapacity) absorbNeighbour(lastI_ - 1);

    const int32_t extra = lastI_ - i_;
    if (extra == 0) {
        // The joined object takes the segment's place, spanning the previous line's extent.
        cur[j_] = prev[i_];
    } else {
        const tskepna segment = cur[j_];
        const int32_t pieceWidth = checkedSub(segment.h, segment.v, "segment width") / (extra + 1);
        const int32_t margin = s.mergeGap[ch] / 2;
        const int32_t base = segment.v;

        const int32_t oldCount = s.currentCount;
        s.currentCount += extra;
        std::copy_backward(cur.begin() + j_ + 1, cur.begin() + oldCount + 1,
                           cur.begin() + s.currentCount + 1);

        for (int32_t t = 0; t <= extra; ++t) {
            tskepna& e = cur[j_ + t];
            const tskepna& q = prev[i_ + t];
            e.v = checkedAdd(
                checkedAdd(base, checkedMul(t, pieceWidth, "piece position"), "piece position"),
                margin, "piece position");
            e.h = checkedSub(
                checkedAdd(base, checkedMul(t + 1, pieceWidth, "piece position"), "piece position"),
                margin, "piece position");
            const int32_t w = checkedSub(e.h, e.v, "segment width");
            e.flatarmal = checkedAdd(q.flatarmal, w, "object area");
            e.sjalfs_flat = checkedAdd(q.sjalfs_flat, w, "object area");
            e.lengd = checkedAdd(q.lengd, 1, "object length");
            e.sjalfs_lengd = checkedAdd(q.sjalfs_lengd, 1, "object length");
            e.breidd = q.breidd;
            e.litur = q.litur;
            e.klofinn = q.klofinn;
            e.astand = q.astand;
            e.xv = q.xv;
            e.xh = q.xh;
            e.vsn = 0;
            e.hsn = 0;
            e.K_sami_fiskur = true;
            e.inte = 0;
        }
        // The outer pieces keep the outer objects' outer edge angles.
        cur[j_].vsn = prev[i_].vsn;
        cur[j_ + extra].hsn = prev[i_ + extra].hsn;
        j_ += extra;
    }
    i_ = lastI_;
    if (j_ <= s.currentCount) ++j_;
}

void TForm2::absorbNeighbour(int32_t k) {
    CoreState& s = s_;
    tskepna& q = prevLine()[k];
    const tskepna& r = prevLine()[k + 1];
    if (r.astand > q.astand) {
        q.astand = r.astand;
        q.inte = r.inte;
    }
    q.lengd = checkedAdd(std::max(q.lengd, r.lengd), 1, "object length");
    q.h = r.h;
    q.breidd = checkedSub(q.h, q.v, "object width");  // the span replaces the widest segment
    q.xh = r.xh;
    if (r.klofinn > 0) {
        // A piece's area goes to its own split group, not to the object that absorbs it.
        shareWithSiblings(k + 1);
    } else {
        q.flatarmal = checkedAdd(q.flatarmal, r.flatarmal, "object area");
        q.sjalfs_flat = checkedAdd(q.sjalfs_flat, r.sjalfs_flat, "object area");
        q.sjalfs_lengd = std::max(q.sjalfs_lengd, r.sjalfs_lengd);
    }
    std::copy(prevLine().begin() + k + 2, prevLine().begin() + s.previousCount + 1,
              prevLine().begin() + k + 1);
    s.previousCount -= 1;
    lastI_ -= 1;
}

void TForm2::shareWithSiblings(int32_t a) {
    CoreState& s = s_;
    tskepna& p = prevLine()[a];
    const int32_t group = p.klofinn;
    if (group == 0) return;
    // Siblings: objects already built on this line and objects of the previous line still to be
    // handled right of the piece. Entries from j on are raw segments, outside every group.
    const int32_t handled = std::min(j_, s.currentCount);
    auto forEachSibling = [&](auto&& visit) {
        for (int32_t k = 1; k <= handled; ++k) {
            if (curLine()[k].klofinn == group) visit(curLine()[k]);
        }
        for (int32_t k = a + 1; k <= s.previousCount; ++k) {
            if (prevLine()[k].klofinn == group) visit(prevLine()[k]);
        }
    };

    int32_t siblings = 0;
    int32_t longest = 0;
    int32_t largest = 0;
    forEachSibling([&](const tskepna& x) {
        ++siblings;
        longest = std::max(longest, x.sjalfs_lengd);
        largest = std::max(largest, x.sjalfs_flat);
    });

    if (siblings == 1) {
        // The last sibling becomes an ordinary object holding both pieces' area.
        forEachSibling([&](tskepna& x) {
            x.klofinn = 0;
            x.flatarmal = checkedAdd(x.flatarmal, p.flatarmal, "object area");
            x.sjalfs_flat = x.flatarmal;
            x.sjalfs_lengd = x.lengd;
            x.xv = std::min(x.xv, p.xv);
            x.xh = std::max(x.xh, p.xh);
            x.K_sami_fiskur = false;
        });
    } else if (siblings >= 2) {
        const int32_t share = p.flatarmal / siblings;
        forEachSibling([&](tskepna& x) {
            x.flatarmal = checkedAdd(x.flatarmal, share, "object area");
            x.sjalfs_flat = largest;
            x.sjalfs_lengd = longest;
            x.K_sami_fiskur = false;
        });
    }
    p.klofinn = 0;
}

}  // namespace velkor
