// The records of velkor-count --trace and the engine callbacks that make them.
#include "tools/velkor-count/trace_records.h"

#include <utility>

#include "tools/velkor-count/explain_records.h"

namespace velkor {

namespace {

void traceObject(LineBuilder& b, int32_t frame, int32_t line, int32_t channel, const tskepna& o) {
    b.clear();
    b.text("{\"closed\": {\"frame\": ");
    b.number(frame);
    b.text(", \"line\": ");
    b.number(line);
    b.text(", \"channel\": ");
    b.number(channel);
    objectFields(b, o);
    b.text("}}\n");
}

void traceFrame(LineBuilder& b, const ReplayEngine& engine, int32_t frame) {
    const CoreState& s = engine.core();
    const int32_t channels = s.channelCount;
    b.clear();
    b.text("{\"frame\": ");
    b.number(frame);
    b.text(", \"totals\": [");
    for (int32_t c = 1; c <= channels; ++c) {
        if (c > 1) b.text(", ");
        b.number(engine.channelTotal(c));
    }
    b.text("], \"capacity\": [");
    for (int32_t c = 1; c <= channels; ++c) {
        if (c > 1) b.text(", ");
        b.number(engine.frameCapacity(c));
    }
    b.text("], \"params\": [");
    for (int32_t c = 1; c <= channels; ++c) {
        b.text(c > 1 ? ", {" : "{");
        const std::pair<const char*, int32_t> ints[] = {{"minSegmentWidth", s.minSegmentWidth[c]},
                                                        {"mergeGap", s.mergeGap[c]},
                                                        {"minLength", s.minLength[c]},
                                                        {"maxLength", s.maxLength[c]},
                                                        {"minWidth", s.minWidth[c]},
                                                        {"maxWidth", s.maxWidth[c]},
                                                        {"minArea", s.minArea[c]},
                                                        {"maxArea", s.maxArea[c]},
                                                        {"edgeAngleWeight", s.edgeAngleWeight[c]}};
        bool first = true;
        for (const auto& [name, value] : ints) {
            b.text(first ? "\"" : ", \"");
            first = false;
            b.text(name);
            b.text("\": ");
            b.number(value);
        }
        const std::pair<const char*, double> reals[] = {
            {"avgLength", s.avgLength[c]}, {"avgWidth", s.avgWidth[c]}, {"avgArea", s.avgArea[c]}};
        for (const auto& [name, value] : reals) {
            b.text(", \"");
            b.text(name);
            b.text("\": ");
            b.real(value);
        }
        b.text("}");
    }
    b.text("]}\n");
}

}  // namespace

void hookTrace(ReplayEngine& engine, bool explain, LineBuilder& line,
               std::function<void(int32_t frame)> emit) {
    if (explain) {
        engine.setExplaining(true);
        engine.onObjectEnded = [&line, emit](int32_t frame, const EndedObject& ended) {
            endedRecord(line, frame, ended);
            emit(frame);
        };
    }
    engine.onObjectCounted = [&line, emit](int32_t frame, int32_t lineNumber, int32_t channel,
                                           const tskepna& object) {
        traceObject(line, frame, lineNumber, channel, object);
        emit(frame);
    };
    engine.onFrameRead = [&engine, &line, emit](int32_t frame) {
        traceFrame(line, engine, frame);
        emit(frame);
    };
}

}  // namespace velkor
