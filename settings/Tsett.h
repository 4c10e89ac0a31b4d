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

#include "core/core_state.h"

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

class Tsett {
  public:
    // Counting-area and channel values (the viewer's analysis values).
    int32_t scanLeftEdge = 0;
    int32_t scanRightEdge = 511;
    std::array<int32_t, 5> sizeGroup{0, 0, 0, 0, 0};
    int32_t Channelwidth = 0;  // item index, -1 = none
    int32_t counterWidthMm = 500;
    int32_t countertype = -1;  // item index, -1 = none selected
    int32_t Nrch = 1;
    int32_t channelCount = 0;
    ChannelArray<ChannelBounds> channelTable{};
    bool Enablemulti = true;
    bool EnablemultiEnabled = true;
    std::string rememberedFolder;  // "lastfolderopend"
    // ... every other value of the set, with its built-in value (owned by the implementation).

    void Read_Registry(const SettingsBackend& store);
    void Write_Registry(SettingsBackend& store) const;
    // Saves only the remembered folder: opening a recording keeps every other stored value.
    void saveRememberedFolder(SettingsBackend& store) const;
};

}  // namespace velkor
