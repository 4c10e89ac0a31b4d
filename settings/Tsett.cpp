// Loading and saving the settings set, and the in-memory store.
#include "settings/Tsett.h"

#include <algorithm>

#include "settings/profile_ini.h"

namespace velkor {
namespace {

// An item index: below -1 is no item, beyond the list the last item.
int32_t clampItem(int32_t index, int32_t itemCount) {
    return std::clamp(index, -1, itemCount - 1);
}

std::string flag(bool value) {
    return value ? "1" : "0";
}

// Channels the per-channel values cover: the channel table has four entries.
int32_t storedChannels(int32_t channelCount) {
    return std::clamp(channelCount, 0, maxChannels);
}

}  // namespace

const std::array<std::string_view, countertypeItemCount> countertypeCaptions{"1 x 400 mm",
                                                                             "1 x 500 mm",
                                                                             "3 x 500 mm",
                                                                             "1 x 1000 mm",
                                                                             "4 x 1000 mm",
                                                                             "1 x 1400 mm",
                                                                             "3 x 1000 mm",
                                                                             "4 x 1200 mm",
                                                                             "1 x 2100 mm",
                                                                             "1 x 1200 mm",
                                                                             "2 x 2100 mm",
                                                                             "",
                                                                             "",
                                                                             "",
                                                                             "",
                                                                             "Mobile app"};

std::optional<std::string> MemorySettingsBackend::readText(const std::string& name) const {
    const auto it = values.find(asciiLower(name));
    if (it == values.end()) return std::nullopt;
    return it->second;
}

void MemorySettingsBackend::writeText(const std::string& name, const std::string& value) {
    values[asciiLower(name)] = value;
}

int32_t readStoredInteger(const SettingsBackend& store, const std::string& name, int32_t fallback) {
    const auto text = store.readText(name);
    if (!text) return fallback;
    return parseProfileInteger(*text).value_or(fallback);
}

bool readStoredBool(const SettingsBackend& store, const std::string& name, bool fallback) {
    return readStoredInteger(store, name, fallback ? 1 : 0) != 0;
}

std::string readStoredText(const SettingsBackend& store, const std::string& name,
                           const std::string& fallback) {
    auto text = store.readText(name);
    return text ? std::move(*text) : fallback;
}

void Tsett::Read_Registry(const SettingsBackend& store) {
    const auto integer = [&](const std::string& name, int32_t fallback) {
        return readStoredInteger(store, name, fallback);
    };
    const auto boolean = [&](const std::string& name, bool fallback) {
        return readStoredBool(store, name, fallback);
    };
    const auto text = [&](const std::string& name, const std::string& fallback) {
        return readStoredText(store, name, fallback);
    };

    // 1. Counting area.
    scanLeftEdge = integer("ByrjunX", 0);
    scanRightEdge = integer("ByrjunY", 511);
    if (scanLeftEdge >= scanRightEdge) {
        scanLeftEdge = 0;
        scanRightEdge = 511;
    }

    // 2.
    CounterName = text("CounterName", "");
    Total = integer("Total", 0);
    for (int32_t n = 1; n <= maxChannels; ++n) {
        sizeGroup[n] = integer(numbered("Size Group", n), 2);
    }
    ForcedClamping = boolean("Threshold", false);
    autosence = true;

    // 3.
    Amplification = text("Amplification", "500");
    rememberedFolder = text("lastfolderopend", "");
    Reportpath = text("Reportpath", "C:\\Reports\\");
    dropboxfolder = text("dropboxfolder", "C:\\Dropbox\\");
    chk_savetodropbox = boolean("SavetoDropbox", false);
    logoimagepath = text("logoImagepath", "");
    editoperator = text("Companyname", "");

    // 4. One group of choices: true selects (clearing the others), false clears only itself.
    bool* const group[] = {&CtrlNone, &CtrlOverload, &CtrlBatchAlarm, &CtrlBatchSplitter};
    const std::pair<const char*, bool> stored[] = {{"CtrlNone", false},
                                                   {"CtrlOverload", false},
                                                   {"CtrlBatchAlarm", true},
                                                   {"CtrlBatchSplitter", true}};
    for (size_t i = 0; i < 4; ++i) {
        if (boolean(stored[i].first, stored[i].second)) {
            for (bool* choice : group) *choice = false;
            *group[i] = true;
        } else {
            *group[i] = false;
        }
    }

    // 5.
    Targetvalue = std::clamp(integer("targetvalue", 100), 0, 90000000);
    Channelwidth = clampItem(integer("channelwidth", 1), counterWidthsMm.size());
    FishtypeWeight = clampItem(integer("Fish type", 0), fishTypeItemCount);
    WCSalmon = integer("WCSalmon", 128);
    WCBass = integer("WCBass", 100);
    WCBream = integer("WCBream", 100);

    // 6. The second reading is not clamped; steps 8 and 9 stop at channel 4 regardless.
    Nrch = std::clamp(integer("NrChannels", 1), 1, maxChannels);
    channelCount = integer("NrChannels", 1);

    // 7.
    countertype = clampItem(integer("Countertype", 1), countertypeItemCount);
    sensitivity = clampItem(integer("Sens", 1), sensitivityItemCount);
    Resolution = std::clamp(integer("ImageResolution", 1800), 1, 5000);
    Malanr = integer("Malanr", 1);

    // 8.
    const int32_t channels = storedChannels(channelCount);
    for (int32_t n = 1; n <= channels; ++n) {
        const std::string nr = std::to_string(n);
        channelTable[n].widthMm = integer("%width" + nr, 25);
        channelTable[n].leftEdge = integer("Multib" + nr, (n - 1) * 500 + 10);
        channelTable[n].rightEdge = integer("Multie" + nr, n * 500);
        Counters[n] = integer("Counters" + nr, 0);
        ProsentuC[n] = integer("ProsentuC" + nr, 0);
        CountersT[n] = integer("CountersT" + nr, 0);
    }

    // 9. One channel in the wrong order sends every channel back to its defaults.
    bool wrongOrder = false;
    for (int32_t n = 1; n <= channels; ++n) {
        wrongOrder = wrongOrder || channelTable[n].leftEdge >= channelTable[n].rightEdge;
    }
    if (wrongOrder) {
        for (int32_t n = 1; n <= channels; ++n) {
            channelTable[n] = {(n - 1) * 500 + 10, n * 500, 25};
        }
    }

    // 10.
    Enablemulti = boolean("Enablemulti", false);
    for (int32_t n = 1; n <= maxChannels; ++n) {
        const std::string nr = std::to_string(n);
        Countname[n] = text("Countname" + nr, "Counter " + nr);
    }

    // 11. Counter-type presets: channels and counter width of each model.
    static constexpr std::pair<int32_t, int32_t> presets[] = {
        {1, 3}, {1, 0}, {3, 0}, {1, 1}, {4, 1}, {1, 2}, {3, 1}, {4, 4}, {1, 5}, {1, 4}, {2, 5}};
    if (countertype >= 0 && countertype < static_cast<int32_t>(std::size(presets))) {
        Nrch = presets[countertype].first;
        Channelwidth = presets[countertype].second;
    }

    // 12. No width item selected: the first item's 500 mm.
    counterWidthMm = Channelwidth >= 0 ? counterWidthsMm[Channelwidth] : counterWidthsMm[0];
    channelCount = Nrch;

    // 13.
    EnablemultiEnabled = Nrch != 1;
    if (Nrch == 1) Enablemulti = false;
}

void Tsett::Write_Registry(SettingsBackend& store) const {
    const auto integer = [&](const std::string& name, int64_t value) {
        store.writeText(name, std::to_string(value));
    };
    integer("ProgramVersion", ProgramVersion);
    integer("ByrjunX", scanLeftEdge);
    integer("ByrjunY", scanRightEdge);
    integer("Total", Total);
    for (int32_t n = 1; n <= maxChannels; ++n) integer(numbered("Size Group", n), sizeGroup[n]);
    store.writeText("Threshold", flag(ForcedClamping));
    store.writeText("autosence", flag(autosence));
    store.writeText("Amplification", Amplification);
    store.writeText("lastfolderopend", rememberedFolder);
    store.writeText("Reportpath", Reportpath);
    store.writeText("Dropboxfolder", dropboxfolder);
    store.writeText("Logoimagepath", logoimagepath);
    store.writeText("Companyname", editoperator);
    store.writeText("SaveToDropbox", flag(chk_savetodropbox));
    store.writeText("CtrlNone", flag(CtrlNone));
    store.writeText("CtrlOverload", flag(CtrlOverload));
    store.writeText("CtrlBatchAlarm", flag(CtrlBatchAlarm));
    store.writeText("CtrlBatchSplitter", flag(CtrlBatchSplitter));
    integer("targetvalue", Targetvalue);
    integer("channelwidth", Channelwidth);
    integer("Fish type", FishtypeWeight);
    integer("WCSalmon", WCSalmon);
    integer("WCBass", WCBass);
    integer("WCBream", WCBream);
    integer("Countertype", countertype);
    for (int32_t n = 1; n <= storedChannels(channelCount); ++n) {
        const std::string nr = std::to_string(n);
        integer("%width" + nr, channelTable[n].widthMm);
        integer("Multib" + nr, channelTable[n].leftEdge);
        integer("Multie" + nr, channelTable[n].rightEdge);
        integer("Counters" + nr, Counters[n]);
        integer("CountersT" + nr, CountersT[n]);
        integer("ProsentuC" + nr, ProsentuC[n]);
    }
    integer("NrChannels", Nrch);
    integer("Sens", sensitivity);
    integer("ImageResolution", Resolution);
    store.writeText("EnableMulti", flag(Enablemulti));
    for (int32_t n = 1; n <= maxChannels; ++n) {
        store.writeText(numbered("Countname", n), Countname[n]);
    }
    integer("Malanr", Malanr);
}

void Tsett::saveRememberedFolder(SettingsBackend& store) const {
    store.writeText("lastfolderopend", rememberedFolder);
}

}  // namespace velkor
