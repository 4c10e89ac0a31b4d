// The "ended" records and the summary's verdicts of velkor-count --explain.
#include "tools/velkor-count/explain_records.h"

namespace velkor {

void endedRecord(LineBuilder& b, int32_t frame, const EndedObject& e) {
    const ObjectEnding& x = e.ending;
    b.clear();
    b.text("{\"ended\": {\"frame\": ");
    b.number(frame);
    b.field("line", e.line);
    b.field("channel", x.channel);
    b.text(", \"verdict\": \"");
    b.text(verdictText(x.verdict));
    b.text("\", \"cut\": ");
    b.flag(x.cut);
    objectFields(b, x.object);
    const ChannelLimits& l = x.limits;
    b.text(", \"limits\": {\"minLength\": ");
    b.number(l.minLength);
    b.field("maxLength", l.maxLength);
    b.field("minWidth", l.minWidth);
    b.field("maxWidth", l.maxWidth);
    b.field("minArea", l.minArea);
    b.field("maxArea", l.maxArea);
    b.text("}}}\n");
}

void verdictsField(LineBuilder& b, const VerdictTally& tally, int32_t channels) {
    b.text(", \"verdicts\": [");
    for (int32_t c = 1; c <= channels && c <= maxChannels; ++c) {
        b.text(c > 1 ? ", {" : "{");
        for (int v = 0; v < endingVerdictCount; ++v) {
            b.text(v > 0 ? ", \"" : "\"");
            b.text(verdictText(static_cast<EndingVerdict>(v)));
            b.text("\": ");
            b.number(tally[c][v]);
        }
        b.text("}");
    }
    b.text("]");
}

}  // namespace velkor
