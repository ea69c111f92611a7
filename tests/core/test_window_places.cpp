#include "core/window_places.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

using namespace quintor;
using quintor::testing::TempFolder;

TEST(WindowPlaces, SurviveTheFileAndAnotherLetterCase) {
    TempFolder folder;
    const WindowPlaces places{{"mainFrame", {-8, 0, 1920, 1050, true}},
                              {"systemWindow", {24, 48, 990, 690, false}}};
    ASSERT_TRUE(saveWindowPlaces(folder.path(), places));
    std::filesystem::rename(folder.path() / windowPlacesName, folder.path() / "FINESTRE.CFG");
    EXPECT_EQ(loadWindowPlaces(folder.path()), places);
    // Saving again replaces that file rather than adding a second one beside it.
    ASSERT_TRUE(saveWindowPlaces(folder.path(), {}));
    EXPECT_TRUE(loadWindowPlaces(folder.path()).empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(WindowPlaces, DamagedLinesAreLeftOutAndTheOthersKept) {
    const WindowPlace good{10, 20, 300, 200, false};
    for (const char* damaged : {"bad 10 20 0 200 0", "bad 10 20 300 -5 0", "bad 10 20 300 200 2",
                                "bad 10 20 300 200", "bad 10 20 300 200 0 7", "bad x 20 300 200 0",
                                "bad 10 20 300 99999999999 0", "bad 10 20 3e2 200 0", ""}) {
        const WindowPlaces read =
            parseWindowPlaces(std::string("good 10 20 300 200 0\r\n") + damaged + "\n");
        EXPECT_EQ(read, (WindowPlaces{{"good", good}})) << damaged;
    }
}
