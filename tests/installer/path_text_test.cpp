// The installer's path rules, natively: bounded joins, the drive of the
// start folder, and the longest target folder the installation can use.
#include <gtest/gtest.h>

#include <string>

#include "path_text.h"

// 259 characters as Windows counts them (UTF-16 units), in up to three bytes each.
TEST(JoinPath, FitsExactlyOrRefusesAndLeavesEmpty)
{
    const struct { size_t first, second; const char* letter; bool fits; } rows[] = {
        {3, 4, "a", true}, {255, 4, "a", true}, {256, 4, "a", false}, {259, 0, "a", true},
        {258, 1, "\u03A9", true}, {259, 1, "\u03A9", false},      // Greek: two bytes
        {259, 0, "\u8DEF", true}, {260, 0, "\u8DEF", false},      // three bytes
        {129, 1, "\U0001F3CE", true}, {129, 2, "\U0001F3CE", false},  // four bytes, two characters
    };
    for (const auto& row : rows) {
        std::string first;
        for (size_t i = 0; i < row.first; ++i)
            first += row.letter;
        const std::string second(row.second, 'b');
        char out[PATH_SIZE + 1];
        out[PATH_SIZE] = 'x';  // one past the bytes given: never written
        EXPECT_EQ(JoinPath(out, PATH_SIZE, first.c_str(), second.c_str()), row.fits) << row.first;
        EXPECT_EQ(std::string(out), row.fits ? first + second : "") << row.first;
        EXPECT_EQ(out[PATH_SIZE], 'x');
    }
    char small[8];
    EXPECT_FALSE(JoinPath(small, sizeof small, "\u03A9\u03A9\u03A9", "\u03A9"));  // four characters, eight bytes
}

TEST(DriveNumberOfDirectory, LetterInEitherCaseElseDriveC)
{
    const struct { const char* directory; int drive; } rows[] = {
        {"D:\\SETUP", 3}, {"d:\\setup", 3}, {"A:\\", 0}, {"z:\\", 25},
        {"\\\\server\\share\\setup", 2}, {"", 2}, {"@:\\", 2}, {"[:\\", 2},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DriveNumberOfDirectory(row.directory), row.drive) << row.directory;
}

// The quoted open command is the longest text made from the folder.
TEST(TargetFolderFits, LongestFolderStillMakesTheOpenCommand)
{
    const std::string longest = "C:\\" + std::string(MAX_TARGET_FOLDER_LENGTH - 4, 'v') + "\\";
    const std::string command = "\"" + longest + "Velari.exe\" %1";
    EXPECT_TRUE(TargetFolderFits(longest.c_str()));
    EXPECT_EQ(command.size() + 1, 260u);
    EXPECT_FALSE(TargetFolderFits((longest + "x").c_str()));
    std::string greek = "C:\\";
    for (size_t i = 0; i < MAX_TARGET_FOLDER_LENGTH - 4; ++i)
        greek += "\u03A9";
    EXPECT_TRUE(TargetFolderFits((greek + "\\").c_str()));
    EXPECT_FALSE(TargetFolderFits((greek + "\u03A9\\").c_str()));
}

// The folder chooser's tree: the chain of folders from the root, and
// collapsing an item of that chain.
TEST(FolderChooserRules, ChainAndCut)
{
    // "!": no item at that level (past the deepest, or a name too long for the item's 16 bytes).
    const struct { const char* folder; const char* chain; int cut; const char* cutTo; } rows[] = {
        {"D:\\", "D:\\|!", 1, "D:\\"},
        {"D:\\Program Files\\Velari\\Alpha\\", "D:\\|Program Files|Velari|Alpha|!", 3, "D:\\Program Files\\Velari\\"},
        {"C:\\A\\SixteenLetters16\\B\\", "C:\\|A|!|B|!", 1, "C:\\"},
        {"C:\\A\\B\\", "C:\\|A|B|!", 2, "C:\\A\\"},
    };
    for (const auto& row : rows) {
        std::string chain;
        char name[16];
        for (int level = 1; level <= FolderLevels(row.folder) + 1; ++level)
            chain += std::string(level > 1 ? "|" : "") + (FolderLevelName(row.folder, level, name, sizeof name) ? name : "!");
        EXPECT_EQ(chain, row.chain);
        char folder[64];
        JoinPath(folder, sizeof folder, row.folder, nullptr);
        CutFolderToLevel(folder, row.cut);
        EXPECT_EQ(std::string(folder), row.cutTo);
    }
}
