// Which running programs are an installation's, and who opens a closed
// editor again: the rules natively, with the system's answers as data.
#include <gtest/gtest.h>

#include <string>

#include "running_program_rules.h"

// A window is the target's editor when its process's program is the
// target's Velari.exe, case aside; its title gives the track.
TEST(RunningPrograms, TheTargetsEditorAndItsTrack)
{
    const struct { const char *program, *folder; bool is; } programs[] = {
        {"D:\\Velari Test\\Velari.exe", "D:\\Velari Test\\", true}, {"d:\\velari test\\VELARI.EXE", "D:\\Velari Test\\", true},
        {"D:\\Velari Test\\Sub\\Velari.exe", "D:\\Velari Test\\", false}, {"D:\\Velari\\Velari.exe", "D:\\Velari Test\\", false},
        {"D:\\Velari Test\\Velari.exe.bak", "D:\\Velari Test\\", false}, {"D:\\Velari Test\\Velari.ex", "D:\\Velari Test\\", false},
        {"D:\\Velari TestVelari.exe", "D:\\Velari Test", false}, {"Velari.exe", "", false},
    };
    for (const auto& row : programs)
        EXPECT_EQ(IsFileOfFolder(row.program, row.folder, EDITOR_FILE), row.is) << row.program << " " << row.folder;
    const std::string longest = "D:\\" + std::string(PATH_CHARACTERS - 3, 't');
    const struct { std::string title; bool editor; std::string track; } titles[] = {
        {"Velari", true, ""}, {"*Velari - D:\\a b\\x.tra", true, "D:\\a b\\x.tra"}, {"Velari - D:\\x.tra", true, "D:\\x.tra"},
        {"Velari - " + longest, true, longest}, {"Velari - " + longest + "t", false, ""},
        {"Velari - ", false, ""}, {"Velari Help", false, ""}, {"**Velari - D:\\x.tra", false, ""}, {"", false, ""},
    };
    for (const auto& row : titles) {
        char track[PATH_SIZE] = "x";
        EXPECT_EQ(TrackOfEditorTitle(row.title.c_str(), track, sizeof track), row.editor) << row.title;
        EXPECT_EQ(track, row.track) << row.title;
    }
}

// Never with rights the editor did not have; the first process, which has
// the person's own, where it waits; else the editor's next start.
TEST(RunningPrograms, WhoOpensTheEditorAgain)
{
    const struct { bool asked, installerElevated, editorElevated, firstWaits; ReopenWay way; } rows[] = {
        {false, false, false, false, REOPEN_NOT_ASKED}, {true, false, false, false, REOPEN_HERE},
        {true, false, true, true, REOPEN_HERE}, {true, true, true, false, REOPEN_HERE},
        {true, true, false, true, REOPEN_BY_FIRST_PROCESS}, {true, true, false, false, REOPEN_AT_NEXT_START},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ChooseReopenWay({row.asked, row.installerElevated, row.editorElevated, row.firstWaits}), row.way)
            << row.asked << row.installerElevated << row.editorElevated << row.firstWaits;
    // The hand-over: each line one editor; a line that is no pair is passed over.
    char line[2 * PATH_SIZE + 2];
    ASSERT_TRUE(ComposeReopenLine(line, sizeof line, "D:\\V\\Velari.exe", "D:\\a b\\x.tra"));
    EXPECT_FALSE(ComposeReopenLine(line, 20, "D:\\V\\Velari.exe", "D:\\x.tra"));
    const std::string list = std::string("D:\\V\\Velari.exe\tD:\\a b\\x.tra\n") + "no tab\n\tD:\\x.tra\n" +
                             "D:\\V\\Velari.exe\t" + std::string(PATH_CHARACTERS + 1, 't') + "\nD:\\V\\Velari.exe\t";
    std::string taken;
    char program[PATH_SIZE], track[PATH_SIZE];
    for (const char* at = list.c_str(); *at;)
        taken += TakeReopenLine(&at, program, track) ? std::string(program) + "|" + track + ";" : "-;";
    EXPECT_EQ(taken, "D:\\V\\Velari.exe|D:\\a b\\x.tra;-;-;-;D:\\V\\Velari.exe|;");
}
