// Tsett, the settings set: every value the counter keeps between runs, with its built-in value,
// and the load (Read_Registry) and save (Write_Registry) with their defaults, clamps and presets.
// The storage is a SettingsBackend: the registry or a file through QSettings in the program, an
// in-memory map in tests and headless tools.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/core_state.h"
#include "io/counter_constants.h"

namespace velkor {

// Text values by name; names match without regard to case. A value that is not text reads as
// missing (std::nullopt).
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    virtual std::optional<std::string> readText(const std::string& name) const = 0;
    virtual void writeText(const std::string& name, const std::string& value) = 0;
};

// A backend that keeps its values in memory.
class MemorySettingsBackend : public SettingsBackend {
public:
    std::optional<std::string> readText(const std::string& name) const override;
    void writeText(const std::string& name, const std::string& value) override;
    std::map<std::string, std::string> values;  // keys stored lower-case
};

// Stored values by kind. An integer is the text as parseProfileInteger reads it, else
// `fallback`; a boolean is an integer read with default 1 or 0, any non-zero integer true; a
// text is the stored text when the value exists, else `fallback`.
int32_t readStoredInteger(const SettingsBackend& store, const std::string& name, int32_t fallback);
bool readStoredBool(const SettingsBackend& store, const std::string& name, bool fallback);
std::string readStoredText(const SettingsBackend& store, const std::string& name,
                           const std::string& fallback);

// Item lists of the set's choices.
inline constexpr int32_t fishTypeItemCount = 3;  // "Salmon/Trout", "Sea Bream", "Sea Bass"
inline constexpr int32_t sensitivityItemCount = 6;
inline constexpr int32_t countertypeItemCount = 16;
// Captions of the counter models: channels x counter width; four empty items, then the app.
extern const std::array<std::string_view, countertypeItemCount> countertypeCaptions;

class Tsett {
public:
    static constexpr int32_t ProgramVersion = 402;

    // Counting-area and channel values (the viewer's analysis values).
    int32_t scanLeftEdge = 0;
    int32_t scanRightEdge = 511;
    std::array<int32_t, 5> sizeGroup{0, 0, 0, 0, 0};  // entries 1..4
    int32_t Channelwidth = 0;                         // item index, -1 = none
    int32_t counterWidthMm = 500;
    int32_t countertype = -1;  // item index, -1 = none selected
    int32_t Nrch = 1;          // "Number of Channels", 1..4
    int32_t channelCount = 0;
    ChannelArray<ChannelBounds> channelTable{};
    bool Enablemulti = true;
    bool EnablemultiEnabled = true;
    std::string rememberedFolder;  // "lastfolderopend"

    // Values only saved and loaded here; they serve the live counting window.
    std::string CounterName = "asdf";
    int32_t Total = 0;
    bool ForcedClamping = false;
    bool autosence = true;
    std::string Amplification = "CameraGain";
    std::string Reportpath;
    std::string dropboxfolder;
    std::string logoimagepath;
    std::string editoperator;  // operator or company name
    bool chk_savetodropbox = false;
    // Control port function: at most one of the four is selected.
    bool CtrlNone = true;
    bool CtrlOverload = false;
    bool CtrlBatchAlarm = false;
    bool CtrlBatchSplitter = false;
    int32_t Targetvalue = 100;   // 0..90000000
    int32_t FishtypeWeight = 0;  // item index
    int32_t WCSalmon = 0;
    int32_t WCBass = 0;
    int32_t WCBream = 0;
    ChannelArray<int32_t> Counters{};
    ChannelArray<int32_t> CountersT{};
    ChannelArray<int32_t> ProsentuC{};
    int32_t sensitivity = -1;   // item index, -1 = none selected
    int32_t Resolution = 1800;  // 1..5000
    ChannelArray<std::string> Countname{"", "Channel 1", "Channel 2", "Channel 3", "Channel 4"};
    int32_t Malanr = 1;  // language

    // Loads every value with its default, then applies the clamps, the control-function rule,
    // the channel check and the counter-type presets. Channels past 4 are never touched, even
    // when the stored "NrChannels" is larger.
    void Read_Registry(const SettingsBackend& store);
    // Saves every value in the counter's order (channels 1..channelCount, at most 4).
    void Write_Registry(SettingsBackend& store) const;
    // Saves only the remembered folder: opening a recording keeps every other stored value.
    void saveRememberedFolder(SettingsBackend& store) const;
};

}  // namespace velkor
