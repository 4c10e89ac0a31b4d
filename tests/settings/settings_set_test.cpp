// The settings set: the load's defaults, clamps, control-function rule, channel check and
// counter-type presets, the save's order, and a save followed by a load.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "settings/Tsett.h"

namespace velkor {
namespace {

MemorySettingsBackend storeWith(std::initializer_list<std::pair<const char*, const char*>> values) {
    MemorySettingsBackend store;
    for (const auto& [name, value] : values) store.writeText(name, value);
    return store;
}

Tsett loaded(const SettingsBackend& store) {
    Tsett set;
    set.Read_Registry(store);
    return set;
}

int selectedControl(const Tsett& s) {
    const bool choices[] = {s.CtrlNone, s.CtrlOverload, s.CtrlBatchAlarm, s.CtrlBatchSplitter};
    int selected = -1;
    for (int i = 0; i < 4; ++i) {
        if (choices[i]) {
            EXPECT_EQ(selected, -1) << "two control functions selected";
            selected = i;
        }
    }
    return selected;
}

TEST(SettingsSet, EmptyStoreGivesTheLoadDefaults) {
    const Tsett s = loaded(MemorySettingsBackend{});
    EXPECT_EQ(s.scanLeftEdge, 0);
    EXPECT_EQ(s.scanRightEdge, 511);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(s.sizeGroup[n], 2);
        EXPECT_EQ(s.Countname[n], "Counter " + std::to_string(n));
    }
    EXPECT_EQ(s.Reportpath, "C:\\Reports\\");
    EXPECT_EQ(s.dropboxfolder, "C:\\Dropbox\\");
    EXPECT_EQ(s.Amplification, "500");
    EXPECT_EQ(s.CounterName, "");
    EXPECT_EQ(s.Targetvalue, 100);
    EXPECT_EQ(s.countertype, 1);  // its preset: one channel of 500 mm
    EXPECT_EQ(s.Nrch, 1);
    EXPECT_EQ(s.channelCount, 1);
    EXPECT_EQ(s.Channelwidth, 0);
    EXPECT_EQ(s.counterWidthMm, 500);
    EXPECT_EQ(s.channelTable[1].widthMm, 25);
    EXPECT_EQ(s.channelTable[1].leftEdge, 10);
    EXPECT_EQ(s.channelTable[1].rightEdge, 500);
    EXPECT_EQ(s.sensitivity, 1);
    EXPECT_EQ(s.Resolution, 1800);
    EXPECT_EQ(s.WCSalmon, 128);
    EXPECT_EQ(s.WCBass, 100);
    EXPECT_EQ(s.WCBream, 100);
    EXPECT_EQ(selectedControl(s), 3);  // Batch Alarm and Batch Splitter default true: the last wins
    EXPECT_TRUE(s.autosence);
    EXPECT_FALSE(s.Enablemulti);
    EXPECT_FALSE(s.EnablemultiEnabled);
}

TEST(SettingsSet, LoadRules) {
    const struct {
        const char* what;
        MemorySettingsBackend store;
        std::function<void(const Tsett&)> check;
    } cases[] = {
        {"edges in the wrong order", storeWith({{"ByrjunX", "300"}, {"ByrjunY", "200"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.scanLeftEdge, 0);
             EXPECT_EQ(s.scanRightEdge, 511);
         }},
        {"equal edges count as the wrong order",
         storeWith({{"ByrjunX", "300"}, {"ByrjunY", "300"}, {"Multib1", "40"}, {"Multie1", "40"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.scanLeftEdge, 0);
             EXPECT_EQ(s.scanRightEdge, 511);
             EXPECT_EQ(s.channelTable[1].leftEdge, 10);
             EXPECT_EQ(s.channelTable[1].rightEdge, 500);
         }},
        {"one channel in the wrong order resets all",
         storeWith({{"NrChannels", "2"},
                    {"Countertype", "11"},
                    {"Multib1", "0"},
                    {"Multie1", "300"},
                    {"%width1", "40"},
                    {"Multib2", "900"},
                    {"Multie2", "800"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.channelCount, 2);
             for (int n = 1; n <= 2; ++n) EXPECT_EQ(s.channelTable[n].widthMm, 25);
             EXPECT_EQ(s.channelTable[1].leftEdge, 10);
             EXPECT_EQ(s.channelTable[1].rightEdge, 500);
             EXPECT_EQ(s.channelTable[2].leftEdge, 510);
             EXPECT_EQ(s.channelTable[2].rightEdge, 1000);
             EXPECT_TRUE(s.EnablemultiEnabled);
         }},
        {"None and Batch Splitter stored: Batch Splitter",
         storeWith({{"CtrlNone", "1"}, {"CtrlBatchSplitter", "1"}}),
         [](const Tsett& s) { EXPECT_EQ(selectedControl(s), 3); }},
        {"only None true",
         storeWith({{"CtrlNone", "1"}, {"CtrlBatchAlarm", "0"}, {"CtrlBatchSplitter", "0"}}),
         [](const Tsett& s) { EXPECT_EQ(selectedControl(s), 0); }},
        {"none true: none selected",
         storeWith({{"CtrlBatchAlarm", "0"}, {"CtrlBatchSplitter", "0"}}),
         [](const Tsett& s) { EXPECT_EQ(selectedControl(s), -1); }},
        {"width item 9 without a preset: the last item",
         storeWith({{"channelwidth", "9"}, {"Countertype", "12"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.Channelwidth, 5);
             EXPECT_EQ(s.counterWidthMm, 2100);
         }},
        {"width item 9 under counter type 1: the preset's 500 mm",
         storeWith({{"channelwidth", "9"}, {"Countertype", "1"}}),
         [](const Tsett& s) { EXPECT_EQ(s.counterWidthMm, 500); }},
        {"no width item and no preset: 500 mm",
         storeWith({{"channelwidth", "-7"}, {"Countertype", "40"}, {"Fish type", "-3"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.countertype, 15);
             EXPECT_EQ(s.Channelwidth, -1);
             EXPECT_EQ(s.counterWidthMm, 500);
             EXPECT_EQ(s.FishtypeWeight, -1);
         }},
        {"booleans: \"2\" is true, \"yes\" the default",
         storeWith({{"Threshold", "2"},
                    {"SavetoDropbox", "yes"},
                    {"CtrlBatchAlarm", "yes"},
                    {"CtrlBatchSplitter", "0"}}),
         [](const Tsett& s) {
             EXPECT_TRUE(s.ForcedClamping);
             EXPECT_FALSE(s.chk_savetodropbox);
             EXPECT_EQ(selectedControl(s), 2);
         }},
        {"spin ranges",
         storeWith({{"targetvalue", "100000000"}, {"ImageResolution", "0"}, {"Sens", "6"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.Targetvalue, 90000000);
             EXPECT_EQ(s.Resolution, 1);
             EXPECT_EQ(s.sensitivity, 5);
         }},
        {"spin ranges, other ends", storeWith({{"targetvalue", "-5"}, {"ImageResolution", "9000"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.Targetvalue, 0);
             EXPECT_EQ(s.Resolution, 5000);
         }},
        {"unclamped channel count stops at channel 4; preset 7 gives 4 x 1200 mm",
         storeWith({{"NrChannels", "9"},
                    {"Countertype", "7"},
                    {"Multib4", "1510"},
                    {"Multie4", "2000"},
                    {"Multib5", "1"},
                    {"Enablemulti", "1"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.Nrch, 4);
             EXPECT_EQ(s.channelCount, 4);
             EXPECT_EQ(s.channelTable[4].leftEdge, 1510);
             EXPECT_EQ(s.counterWidthMm, 1200);
             EXPECT_TRUE(s.Enablemulti);
             EXPECT_TRUE(s.EnablemultiEnabled);
         }},
        {"names in any case, hexadecimal integers",
         storeWith({{"BYRJUNX", "$10"}, {"byrjuny", "0x200"}, {"COUNTNAME2", "Left"}}),
         [](const Tsett& s) {
             EXPECT_EQ(s.scanLeftEdge, 16);
             EXPECT_EQ(s.scanRightEdge, 512);
             EXPECT_EQ(s.Countname[2], "Left");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.check(loaded(c.store));
    }
}

TEST(SettingsSet, CounterTypePresetsGiveChannelsAndWidth) {
    // Counter type: channels and width item (mm) of its model; others keep the stored values.
    const int32_t presets[][4] = {
        {0, 1, 3, 400},  {1, 1, 0, 500},  {2, 3, 0, 500},   {3, 1, 1, 1000},
        {4, 4, 1, 1000}, {5, 1, 2, 1400}, {6, 3, 1, 1000},  {7, 4, 4, 1200},
        {8, 1, 5, 2100}, {9, 1, 4, 1200}, {10, 2, 5, 2100}, {11, 2, -1, 500},
    };
    for (const auto& [type, channels, item, mm] : presets) {
        const std::string stored = std::to_string(type);
        const Tsett s = loaded(storeWith(
            {{"Countertype", stored.c_str()}, {"NrChannels", "2"}, {"channelwidth", "-1"}}));
        EXPECT_EQ(s.Nrch, channels) << type;
        EXPECT_EQ(s.channelCount, channels) << type;
        EXPECT_EQ(s.Channelwidth, item) << type;
        EXPECT_EQ(s.counterWidthMm, mm) << type;
    }
}

// Records the names in the order they are written.
class LoggingBackend : public MemorySettingsBackend {
  public:
    void writeText(const std::string& name, const std::string& value) override {
        order += name + "|";
        MemorySettingsBackend::writeText(name, value);
    }
    std::string order;
};

TEST(SettingsSet, SaveWritesEveryValueInOrder) {
    Tsett s;
    s.channelCount = 2;
    LoggingBackend store;
    s.Write_Registry(store);
    EXPECT_EQ(store.order,
              "ProgramVersion|ByrjunX|ByrjunY|Total|Size Group1|Size Group2|Size Group3|"
              "Size Group4|Threshold|autosence|Amplification|lastfolderopend|Reportpath|"
              "Dropboxfolder|Logoimagepath|Companyname|SaveToDropbox|CtrlNone|CtrlOverload|"
              "CtrlBatchAlarm|CtrlBatchSplitter|targetvalue|channelwidth|Fish type|WCSalmon|"
              "WCBass|WCBream|Countertype|%width1|Multib1|Multie1|Counters1|CountersT1|"
              "ProsentuC1|%width2|Multib2|Multie2|Counters2|CountersT2|ProsentuC2|NrChannels|"
              "Sens|ImageResolution|EnableMulti|Countname1|Countname2|Countname3|Countname4|"
              "Malanr|");
    EXPECT_EQ(store.readText("ProgramVersion"), "402");
    EXPECT_EQ(store.readText("Countertype"), "-1");  // no selection is saved as -1
    EXPECT_EQ(store.readText("CtrlNone"), "1");

    LoggingBackend folderOnly;
    s.rememberedFolder = "/data/sessions/";
    s.saveRememberedFolder(folderOnly);
    EXPECT_EQ(folderOnly.order, "lastfolderopend|");
    EXPECT_EQ(folderOnly.readText("LastFolderOpend"), "/data/sessions/");
}

TEST(SettingsSet, SaveThenLoadReproducesTheSet) {
    Tsett s;
    s.scanLeftEdge = 12;
    s.scanRightEdge = 2000;
    s.CounterName = "not saved";
    s.Total = 123456;
    s.sizeGroup = {0, 1, 5, 9, 0};
    s.ForcedClamping = true;
    s.autosence = false;
    s.Amplification = "12 dB";
    s.rememberedFolder = "C:\\Reports\\2024\\";
    s.Reportpath = "D:\\R\\";
    s.dropboxfolder = "D:\\Box\\";
    s.logoimagepath = "logo.png";
    s.editoperator = "Hatchery";
    s.chk_savetodropbox = true;
    s.CtrlNone = false;
    s.CtrlOverload = true;
    s.Targetvalue = 5000;
    s.FishtypeWeight = 2;
    s.WCSalmon = 130;
    s.WCBass = 90;
    s.WCBream = 95;
    s.countertype = 4;  // its preset: 4 x 1000 mm, as set below
    s.Nrch = 4;
    s.channelCount = 4;
    s.Channelwidth = 1;
    s.counterWidthMm = 1000;
    for (int n = 1; n <= 4; ++n) {
        s.channelTable[n] = {(n - 1) * 480 + 20, n * 480, 250};
        s.Counters[n] = 100 * n;
        s.CountersT[n] = 1000 * n;
        s.ProsentuC[n] = n;
        s.Countname[n] = "Ch " + std::to_string(n);
    }
    s.sensitivity = 4;
    s.Resolution = 2500;
    s.Enablemulti = true;
    s.Malanr = 3;

    MemorySettingsBackend store;
    s.Write_Registry(store);
    Tsett back;
    back.Read_Registry(store);

    EXPECT_EQ(back.CounterName, "");  // never saved
    EXPECT_TRUE(back.autosence);      // the load sets it
    back.CounterName = s.CounterName;
    back.autosence = s.autosence;
    const auto fields = [](const Tsett& t) {
        return std::make_tuple(
            t.scanLeftEdge, t.scanRightEdge, t.sizeGroup, t.Channelwidth, t.counterWidthMm,
            t.countertype, t.Nrch, t.channelCount, t.Enablemulti, t.EnablemultiEnabled,
            t.rememberedFolder, t.CounterName, t.Total, t.ForcedClamping, t.autosence,
            t.Amplification, t.Reportpath, t.dropboxfolder, t.logoimagepath, t.editoperator,
            t.chk_savetodropbox, t.CtrlNone, t.CtrlOverload, t.CtrlBatchAlarm, t.CtrlBatchSplitter,
            t.Targetvalue, t.FishtypeWeight, t.WCSalmon, t.WCBass, t.WCBream, t.Counters,
            t.CountersT, t.ProsentuC, t.sensitivity, t.Resolution, t.Countname, t.Malanr);
    };
    EXPECT_TRUE(fields(back) == fields(s));
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(back.channelTable[n].leftEdge, s.channelTable[n].leftEdge);
        EXPECT_EQ(back.channelTable[n].rightEdge, s.channelTable[n].rightEdge);
        EXPECT_EQ(back.channelTable[n].widthMm, s.channelTable[n].widthMm);
    }
}

}  // namespace
}  // namespace velkor
