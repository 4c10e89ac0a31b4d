// velkor-fuzz-seeds OUTDIR: writes the seed corpus of every fuzz target into OUTDIR/<target>/,
// made by the project's own generator: synthetic sessions (recording, compressed recording and
// report), report variants written by the report writer, and the same scenes encoded in the
// input layout each target reads. Generated at build time, never committed.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "io/counter_constants.h"
#include "settings/report_writer.h"
#include "tools/velkor-synth/scene_generator.h"
#include "tools/velkor-synth/session_writer.h"

namespace fs = std::filesystem;
using namespace velkor;

namespace {

using Bytes = std::vector<uint8_t>;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void save(const fs::path& folder, const std::string& name, const Bytes& bytes) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes bytesOf(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// The values a target takes with FuzzedDataProvider from the end of its input, in the order it
// takes them; tail() gives the bytes to append so that each value reads back exactly.
class ProviderTail {
public:
    void value(int64_t v, int64_t min, int64_t max) {
        uint64_t range = static_cast<uint64_t>(max - min);
        uint64_t offset = static_cast<uint64_t>(v - min);
        std::vector<uint8_t> msbFirst;
        for (int shift = 0; shift < 64 && (range >> shift) > 0; shift += 8) msbFirst.push_back(0);
        for (size_t k = msbFirst.size(); k-- > 0;) {
            msbFirst[k] = static_cast<uint8_t>(offset & 0xff);
            offset >>= 8;
        }
        consumed_.insert(consumed_.end(), msbFirst.begin(), msbFirst.end());
    }
    Bytes tail() const { return Bytes(consumed_.rbegin(), consumed_.rend()); }

private:
    std::vector<uint8_t> consumed_;  // in the order the provider reads them (from the end)
};

void append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

void putWord(Bytes& out, int32_t w) {
    out.push_back(static_cast<uint8_t>(w & 0xff));
    out.push_back(static_cast<uint8_t>((w >> 8) & 0xff));
}

synth::SceneOptions scene(uint64_t seed, int64_t lines, int channels) {
    synth::SceneOptions o;
    o.seed = seed;
    o.lines = lines;
    o.channels.clear();
    for (int c = 0; c < channels; ++c) {
        synth::SynthChannel ch;
        ch.left = 10 + c * 500;
        ch.right = 500 + c * 500;
        ch.sizeGroup = (2 + 3 * c) % 10;
        o.channels.push_back(ch);
    }
    o.counterWidthMm = channels == 1 ? 500 : 1000;
    o.density = 6.0;
    return o;
}

// A scene's lines in the layout of the fuzz line stream: an op byte whose low four bits give the
// run count (at most 15 runs), then a gap and a width byte per run.
Bytes lineStream(const synth::SceneOptions& options, int32_t leftEdge) {
    synth::SceneGenerator generator(options);
    std::vector<synth::PixelRun> runs;
    Bytes out;
    while (!generator.done()) {
        generator.nextLine(runs);
        const size_t n = std::min<size_t>(runs.size(), 15);
        out.push_back(static_cast<uint8_t>(n));
        int32_t x = leftEdge;
        for (size_t k = 0; k < n; ++k) {
            int32_t gap = runs[k].left - x - (k == 0 ? 0 : 1);
            gap = std::clamp(gap, 0, 255);
            const int32_t width = std::clamp(runs[k].right - runs[k].left, 0, 255);
            out.push_back(static_cast<uint8_t>(gap));
            out.push_back(static_cast<uint8_t>(width));
            x += gap + (k == 0 ? 0 : 1) + width + 1;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velkor-fuzz-seeds OUTDIR\n";
        return 2;
    }
    const fs::path outDir = argv[1];
    const fs::path work = outDir / "sessions";
    fs::create_directories(work);

    // Whole sessions from the synthetic generator: recordings, compressed forms and reports.
    struct Made {
        std::string blb, blc, mse;
    };
    std::vector<Made> sessions;
    for (int k = 0; k < 4; ++k) {
        synth::SessionOptions o;
        o.scene = scene(100 + k, 300 + 400 * k, 1 + k);
        o.compressed = true;
        o.force = true;
        o.tank = k == 2 ? "Kví 7 – Ørn" : "Tank " + std::to_string(k);
        o.decimalSeparator = k % 2 ? ',' : '.';
        o.out = (work / ("session" + std::to_string(k))).string();
        synth::writeSession(o);
        sessions.push_back({readAll(synth::recordingName(o.out)),
                            readAll(synth::compressedName(o.out)),
                            readAll(synth::reportName(o.out))});
    }

    // Record reader: the recording, then the seeks (int16 each), their number and the mode.
    for (size_t k = 0; k < sessions.size(); ++k) {
        for (int mode : {0, 1}) {
            Bytes input = bytesOf(sessions[k].blb);
            ProviderTail t;
            t.value(mode, 0, 255);
            t.value(4, 0, 12);
            for (int s : {1, 7, -3, 200}) t.value(s, -32768, 32767);
            append(input, t.tail());
            save(outDir / "reader", "session" + std::to_string(k) + "-mode" + std::to_string(mode),
                 input);
        }
    }
    {
        // Damage the reader must meet: a negative count, a count above the capacity, a line cut
        // inside a pair, an odd final byte.
        Bytes damaged;
        putWord(damaged, 0);
        putWord(damaged, 511);
        for (int w : {1, 10, 20, -5, 0, 600, 3, 4, 2, 30, 40, 50}) putWord(damaged, w);
        damaged.push_back(7);
        ProviderTail t;
        t.value(0, 0, 255);
        t.value(0, 0, 12);
        append(damaged, t.tail());
        save(outDir / "reader", "damaged", damaged);
    }

    // Unpacking: the flag byte (an older .blb exists), then the compressed recording.
    for (size_t k = 0; k < sessions.size(); ++k) {
        Bytes input{static_cast<uint8_t>(k & 1)};
        append(input, bytesOf(sessions[k].blc));
        save(outDir / "unpack", "session" + std::to_string(k), input);
        input.resize(input.size() / 2);
        save(outDir / "unpack", "truncated" + std::to_string(k), input);
    }

    // Report reader: the synthetic sessions' reports and variants from the report writer.
    for (size_t k = 0; k < sessions.size(); ++k)
        save(outDir / "report", "session" + std::to_string(k), bytesOf(sessions[k].mse));
    {
        ReportContent r;
        r.tank = "Cage 7";
        r.dateTime = 45292.75;
        r.lasting = 1.0 / 24;
        r.comments = {"first line", "second = line"};
        r.channels.resize(3);
        for (auto& ch : r.channels) ch.throughput = {0, 12.5, 30, 18, 6, 0};
        r.channels[1].distribution =
            ReportDistribution{20, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 55, 12, 40};
        r.decimalSeparator = ',';
        r.curveStart = 45292.70;
        Tini_files ini;
        buildSessionReport(r, ini);
        std::string text;
        for (const auto& line : ini.lines()) text += line + "\r\n";
        save(outDir / "report", "written", bytesOf(text));
        save(outDir / "report", "no-sections", bytesOf("Ledge=5\r\nRedge=9\r\n"));
    }

    // Core: the line stream, then the layout and parameters the target takes from the end.
    for (int k = 0; k < 3; ++k) {
        const int channels = 1 + k;
        const auto options = scene(200 + k, 2500, channels);
        Bytes input = lineStream(options, 10);
        ProviderTail t;
        t.value(channels, 1, 4);
        t.value(10, 0, 1000);
        t.value(500 * channels - 10, 1, 4000);
        t.value(channels == 1 ? 0 : 1, 0, 5);
        for (int c = 1; c <= channels; ++c) {
            if (c < channels) t.value(490, 0, 500 * channels - 10 - (c - 1) * 500);
            t.value(500, 1, 2100);
            t.value(options.channels[c - 1].sizeGroup, -2, 11);
        }
        t.value(linesPerSecond, 1, maxFrameWidth);
        t.value(0, 0, 255);  // the class parameters as the size class sets them
        append(input, t.tail());
        save(outDir / "core", "scene" + std::to_string(k), input);
    }

    // Engine: the same layout with a session of lines and a few moves.
    for (int k = 0; k < 4; ++k) {
        const int channels = 1 + k % 3;
        const auto options = scene(300 + k, 600, channels);
        Bytes input = lineStream(options, 10);
        ProviderTail t;
        t.value(k == 3 ? 3 : 0, 0, 255);
        t.value(40, 1, 48);
        t.value(channels, 1, 4);
        t.value(10, 0, 600);
        t.value(500 * channels - 10, 1, 3000);
        for (int c = 1; c <= channels; ++c) {
            if (c < channels) t.value(490, 0, 500 * channels - 10 - (c - 1) * 500);
            t.value(500, 1, 2100);
        }
        for (int c = 1; c <= 4; ++c)
            t.value(c < (int)options.channels.size() + 1 ? options.channels[c - 1].sizeGroup : 2, 0,
                    9);
        t.value(channels == 1 ? 0 : 1, -1, 5);
        t.value(k & 1, 0, 255);
        const int moves[][2] = {{2, 0}, {2, 0},  {6, 0}, {2, 0}, {2, 0}, {6, 0},
                                {1, 0}, {5, 50}, {7, 3}, {4, 0}, {0, 0}};
        t.value(std::size(moves), 0, 24);
        for (const auto& m : moves) {
            t.value(m[0], 0, 255);
            t.value(m[1], -2, 200);
        }
        append(input, t.tail());
        save(outDir / "engine", "session" + std::to_string(k), input);
    }
    fs::remove_all(work);
    return 0;
}
