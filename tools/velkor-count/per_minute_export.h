// File → Export per-minute table: the bytes `velkor-count --per-minute --csv` writes for a
// recording at a frame width, counter type and size classes, written to a file through the
// replacing writer, so that a count that fails, or a full disk, never leaves a half table over a
// good file.
#pragma once

#include <cstdint>
#include <string>

#include "core/core_state.h"
#include "tools/velkor-count/count_recording.h"

namespace velkor {

// `classes` as --class gives them (entry c: a class 0..9 for channel c, or -1 for the report's).
// Not ok, with one line per problem in `errors` naming its file, when the recording cannot be
// counted, `output` is the recording or its report, or `output` cannot be written; `usageError`
// when a class names a channel that the recording does not have. A table written may come with
// the note of the recording's damaged lines in `errors`.
CountResult exportPerMinuteTable(const std::string& recording, int32_t frameWidth,
                                 int32_t counterType, const ChannelArray<int32_t>& classes,
                                 const std::string& output);

}  // namespace velkor
