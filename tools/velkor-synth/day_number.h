// Session start times: "YYYY-MM-DD HH:MM:SS" turned into the day numbers of session reports
// (days since 30 December 1899, the fraction being the time of day).
#pragma once

#include <optional>
#include <string>

namespace velkor::synth {

// The day number of a date and time in the form "YYYY-MM-DD HH:MM:SS", or nothing when the text
// is not such a date (or not a real one: month 13, 30 February, 24:00:00).
std::optional<double> parseDateTime(const std::string& text);

}  // namespace velkor::synth
