// One JSON line of velkor-count's output, built in a fixed buffer so a trace of millions of
// records is written without allocating, and the fields of an object record as the trace writes
// them.
#pragma once

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <utility>

#include "core/tskepna.h"
#include "tools/velkor-count/output_sink.h"

namespace velkor {

// Appends formatted text to a fixed line buffer.
class LineBuilder {
public:
    void clear() { length_ = 0; }
    void text(const char* s) {
        while (*s != 0 && length_ < sizeof line_) line_[length_++] = *s++;
    }
    void number(int64_t v) { format("%" PRId64, v); }
    // 17 significant digits: the double read back is the one written.
    void real(double v) { format("%.17g", v); }
    void flag(bool b) { text(b ? "true" : "false"); }
    // `, "name": value`
    void field(const char* name, int64_t value) {
        text(", \"");
        text(name);
        text("\": ");
        number(value);
    }
    void writeTo(OutputSink& out) { out.write(line_, length_); }
    std::string str() const { return std::string(line_, length_); }

private:
    template <typename T>
    void format(const char* pattern, T v) {
        const int n = std::snprintf(line_ + length_, sizeof line_ - length_, pattern, v);
        if (n > 0) length_ = std::min(sizeof line_ - 1, length_ + static_cast<size_t>(n));
    }
    char line_[8192];
    size_t length_ = 0;
};

// The 16 fields of an object record, each as `, "name": value`, in the record's order.
inline void objectFields(LineBuilder& b, const tskepna& o) {
    const std::pair<const char*, int32_t> fields[] = {{"lengd", o.lengd},
                                                      {"v", o.v},
                                                      {"h", o.h},
                                                      {"breidd", o.breidd},
                                                      {"xv", o.xv},
                                                      {"xh", o.xh},
                                                      {"flatarmal", o.flatarmal},
                                                      {"litur", o.litur},
                                                      {"sjalfs_lengd", o.sjalfs_lengd},
                                                      {"sjalfs_flat", o.sjalfs_flat},
                                                      {"klofinn", o.klofinn},
                                                      {"vsn", o.vsn},
                                                      {"hsn", o.hsn},
                                                      {"inte", o.inte},
                                                      {"astand", o.astand}};
    for (const auto& [name, value] : fields) b.field(name, value);
    b.text(", \"K_sami_fiskur\": ");
    b.flag(o.K_sami_fiskur);
}

}  // namespace velkor
