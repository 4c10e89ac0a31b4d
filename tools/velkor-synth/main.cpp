// velkor-synth: writes a synthetic session of fish fry crossing the counter's line-scan camera:
// NAME.blb (and NAME.blc), NAME.mse and NAME.truth.json.
#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "core/fish_classes.h"
#include "io/errors.h"
#include "io/program_start.h"
#include "tools/velkor-synth/session_writer.h"

#ifndef VELKOR_VERSION
#define VELKOR_VERSION "unknown"
#endif

namespace {

using namespace velkor::synth;
using velkor::linesPerSecond;

constexpr int usageExit = 2;
constexpr int fileExit = 1;

// "LEFT:RIGHT:CLASS[:WIDTHMM[:FISHCLASS]]" -> channel; raises OptionError naming the text. WIDTHMM
// may be left empty before a FISHCLASS ("10:500:3::7"): the channel's share of the counter width.
SynthChannel parseChannel(const std::string& text) {
    const OptionError bad("--channel \"" + text +
                          "\": expected LEFT:RIGHT:CLASS[:WIDTHMM[:FISHCLASS]]");
    std::vector<std::string> parts;
    for (size_t at = 0;;) {
        const size_t end = text.find(':', at);
        parts.push_back(text.substr(at, end == std::string::npos ? end : end - at));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    if (parts.size() < 3 || parts.size() > 5) throw bad;
    std::vector<int32_t> values;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty() && i == 3 && parts.size() == 5) {
            values.push_back(0);
            continue;
        }
        if (part.empty() || part.size() > 7 ||
            part.find_first_not_of("0123456789", part[0] == '-' ? 1 : 0) != std::string::npos ||
            part == "-")
            throw bad;
        values.push_back(std::stoi(part));
    }
    SynthChannel ch{values[0], values[1], values[2], 0};
    if (values.size() >= 4 && !parts[3].empty()) {
        if (values[3] < 1)
            throw OptionError("--channel \"" + text + "\": WIDTHMM must be at least 1, not " +
                              parts[3]);
        ch.widthMm = values[3];
    }
    if (values.size() == 5) {
        if (values[4] < 0 || values[4] >= velkor::fishClassCount)
            throw OptionError("--channel \"" + text + "\": FISHCLASS must be 0..9, not " +
                              parts[4]);
        ch.fishClass = values[4];
    }
    return ch;
}

void printSummary(const SessionOptions& o, const SessionResult& r) {
    const SceneOptions& s = o.scene;
    double seconds = static_cast<double>(s.lines) / linesPerSecond;
    std::printf("%s: %lld lines (%.1f s of recording), %.1f MB\n", recordingName(o.out).c_str(),
                static_cast<long long>(s.lines), seconds, r.recordBytes / 1e6);
    int64_t total = 0, recorded = 0;
    for (size_t c = 0; c < s.channels.size(); ++c) {
        const SynthChannel& ch = s.channels[c];
        std::string classes(velkor::fishClassName(ch.sizeGroup));
        if (fishClassOf(ch) != ch.sizeGroup)
            classes += ", fish of " + std::string(velkor::fishClassName(fishClassOf(ch)));
        std::printf("  channel %zu (%d:%d, %s): %lld fish, %lld touching pairs; recorded %lld\n",
                    c + 1, ch.left, ch.right, classes.c_str(),
                    static_cast<long long>(r.truth.fish[c]),
                    static_cast<long long>(r.truth.touchingPairs[c]),
                    static_cast<long long>(r.live.totals[c]));
        total += r.truth.fish[c];
        recorded += r.live.totals[c];
    }
    std::printf("  total: %lld fish, %lld noise specks; recorded %lld (the replay at %d lines)\n",
                static_cast<long long>(total), static_cast<long long>(r.truth.specks),
                static_cast<long long>(recorded), linesPerSecond);
    std::printf(
        "generated in %.2f s (%.1f million lines per second), counted in %.2f s; all files in "
        "%.2f s\n",
        r.generateSeconds, s.lines / 1e6 / std::max(r.generateSeconds, 1e-9), r.countSeconds,
        r.totalSeconds);
    for (const std::string& f : r.files) std::printf("wrote %s\n", f.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    velkor::writeStandardStreamsAsBytes();
    velkor::Utf8Arguments arguments(argc, argv);
    CLI::App app{
        "Writes a synthetic counting session: fish fry crossing the line-scan camera.\n"
        "Files: NAME.blb (and NAME.blc with --compressed), NAME.mse, NAME.truth.json.\n"
        "The report records what the counter would have counted live: the recording's replay\n"
        "at 1116 lines per frame. The truth file holds the number of fish drawn.",
        "velkor-synth"};
    SessionOptions o;
    int64_t lines = 0;
    double minutes = 0;
    std::vector<std::string> channelTexts;
    std::string separator = ".";

    app.add_option("--out", o.out, "Output path without extension")->required();
    app.add_option("--seed", o.scene.seed, "Seed: the same seed and options give the same files")
        ->capture_default_str();
    auto* linesOpt = app.add_option(
        "--lines", lines,
        "Duration in scan lines (" + std::to_string(linesPerSecond) + " per second)");
    auto* minutesOpt = app.add_option("--minutes", minutes, "Duration in minutes (default 1)");
    linesOpt->excludes(minutesOpt);
    app.add_option("--channel", channelTexts,
                   "Channel LEFT:RIGHT:CLASS[:WIDTHMM[:FISHCLASS]]: pixels, the size class 0..9 "
                   "the report names, the width in mm (empty: its share of the counter width) "
                   "and the class 0..9 of the fish drawn (default CLASS); 1 to 4 times "
                   "(default 10:500:2)")
        ->take_all();
    app.add_option("--counter-width", o.scene.counterWidthMm,
                   "Counter width in mm: 500, 1000, 1400, 400, 1200 or 2100")
        ->capture_default_str();
    app.add_option("--density", o.scene.density, "Mean fish per second per channel")
        ->capture_default_str();
    app.add_option("--touching", o.scene.touching,
                   "Share of arrivals that bring a second fish touching the first (0..1)")
        ->capture_default_str();
    app.add_option("--noise", o.scene.noise, "Noise specks (1-2 px) per second per channel")
        ->capture_default_str();
    app.add_option("--start", o.start, "Session start \"YYYY-MM-DD HH:MM:SS\"")
        ->capture_default_str();
    app.add_option("--tank", o.tank, "Tank name of the report")->capture_default_str();
    app.add_option("--decimal-separator", separator, "Decimal separator of the report: . or ,")
        ->capture_default_str();
    app.add_flag("--compressed", o.compressed, "Also write the compressed recording NAME.blc");
    app.add_flag("--force", o.force, "Replace files of that name that velkor-synth did not write");
    // "/name" is a file name on every system, never an option written the Windows way.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string("velkor-synth ") + VELKOR_VERSION);

    try {
        app.parse(arguments.argc(), arguments.argv());
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : usageExit;
    }

    try {
        if (*linesOpt) {
            o.scene.lines = lines;
        } else if (*minutesOpt) {
            if (!(minutes > 0 && minutes <= 24 * 60 * 20))
                throw OptionError("--minutes must be above 0 and at most 28800");
            o.scene.lines = std::max<int64_t>(1, std::llround(minutes * 60 * linesPerSecond));
        }
        if (!channelTexts.empty()) {
            o.scene.channels.clear();
            for (const std::string& t : channelTexts) o.scene.channels.push_back(parseChannel(t));
        }
        if (separator.size() != 1)
            throw OptionError("--decimal-separator must be \".\" or \",\", not \"" + separator +
                              "\"");
        o.decimalSeparator = separator[0];
        SessionResult r = writeSession(o);
        printSummary(o, r);
    } catch (const OptionError& e) {
        std::cerr << "velkor-synth: " << e.what() << "\n"
                  << "Run with --help for the options.\n";
        return usageExit;
    } catch (const velkor::VelkorError& e) {
        std::cerr << "velkor-synth: " << e.what() << "\n";
        return fileExit;
    } catch (const std::exception& e) {
        std::cerr << "velkor-synth: " << e.what() << "\n";
        return fileExit;
    }
    return 0;
}
