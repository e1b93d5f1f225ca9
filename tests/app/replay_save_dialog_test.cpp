// The name the replay save dialog offers: the stage's name with the replay extension and the
// first of the numbers 00 to 88 that no file in "user_data\rpl4" has.
#include <gtest/gtest.h>

#include <string>

#include "app/replay_save_dialog.h"
#include "tests/support/temp_folder.h"

TEST(ReplaySaveDialog, OffersTheFirstFreeOfTheEightyOneNumberedNames)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    EXPECT_EQ(DefaultReplayName(""), "");
    EXPECT_EQ(DefaultReplayName(nullptr), "");
    struct Case { const char* stage; const char* offered; } cases[] = {
        {"data\\stg4\\Meadow.stg4_001", "Meadow_00.rpl4_692"},
        {"草原.stg4_001", "草原_00.rpl4_692"},
        {"NoExtension", "NoExtension_00.rpl4_692"},
    };
    for (const Case& c : cases) EXPECT_EQ(DefaultReplayName(c.stage), c.offered) << c.stage;

    // Taken names are passed over in the order 00, 01, ... 08, 10, ...: never a 9.
    std::string last;
    for (int i = 0; i <= 8; ++i) {
        for (int j = 0; j <= 8; ++j) {
            const std::string expected = "Meadow_" + std::to_string(i) + std::to_string(j) + ".rpl4_692";
            last = DefaultReplayName("Meadow.stg4_001");
            ASSERT_EQ(last, expected);
            folder.WriteFile("user_data/rpl4/" + expected, "taken");
        }
    }
    // With all 81 taken the last one is offered, though it exists.
    EXPECT_EQ(DefaultReplayName("Meadow.stg4_001"), "Meadow_88.rpl4_692");
}
