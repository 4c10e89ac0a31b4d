// The temporary file beside a target: its name is the target's with ".tmp-" and six letters or
// digits, drawn from all 36 of them and nothing else.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "io/replacing_file.h"
#include "tests/support/temp_dir.h"

namespace velkor {
namespace {

TEST(TemporaryNames, SixOfTheThirtySixLettersAndDigitsAfterTheTargetsName) {
    test::TempDir dir;
    const std::string target = dir.file("s.mse");
    std::set<char> used;
    // 1200 draws: the chance that one of the 36 never comes up is below 1e-12.
    for (int i = 0; i < 200; ++i) {
        ReplacingFile file(target);
        const std::string& name = file.temporaryName();
        ASSERT_EQ(name.size(), target.size() + 11) << name;
        ASSERT_EQ(name.substr(0, target.size() + 5), target + ".tmp-");
        for (const char c : name.substr(target.size() + 5)) {
            ASSERT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) << int(c);
            used.insert(c);
        }
    }
    EXPECT_EQ(used.size(), 36u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace velkor
