#include <gtest/gtest.h>

#include <string>

#include "removal_rules.h"
#include "removal_text.h"

namespace {

// What the first process passes its copy: only what FormatFinishArguments makes parses.
TEST(FinishArguments, ParseTakesWhatFormatMakesOnly)
{
    const struct { const char* arguments; bool parsed; uint32_t first = 0, second = 0; const char* folder = nullptr; } rows[] = {
        {"/finish 124 0 D:\\Program Files\\", true, 124, 0, "D:\\Program Files\\"},
        {"/finish 4294967295 88 C:\\", true, 4294967295u, 88, "C:\\"},
        {"", false}, {"/finish", false}, {"/finish 12 0", false}, {"/finish 12 D:\\", false}, {"/finish x 0 D:\\", false},
        {"/finish 12 0 D:\\Velari", false}, {"/finish 4294967296 0 C:\\", false}, {"/finishing 12 0 C:\\", false},
        {"/finish 12 0 D:\\a folder too long\\", false},
    };
    for (const auto& row : rows) {
        uint32_t handles[2] = {};
        char folder[20] = "unchanged";
        EXPECT_EQ(ParseFinishArguments(row.arguments, FINISH_SWITCH, handles, folder, sizeof folder), row.parsed) << row.arguments;
        if (row.parsed) {
            EXPECT_EQ(handles[0], row.first);
            EXPECT_EQ(handles[1], row.second);
            EXPECT_STREQ(folder, row.folder);
        }
    }
}

// Each switch parses as its own only.
TEST(FinishArguments, FormatRoundTripsAndRefusesWhatDoesNotFit)
{
    char arguments[40], folder[40];
    uint32_t handles[2] = {};
    ASSERT_TRUE(FormatFinishArguments(arguments, sizeof arguments, TIDY_SWITCH, {7, 9}, "D:\\a b\\"));
    EXPECT_FALSE(ParseFinishArguments(arguments, FINISH_SWITCH, handles, folder, sizeof folder));
    EXPECT_TRUE(ParseFinishArguments(arguments, TIDY_SWITCH, handles, folder, sizeof folder));
    EXPECT_EQ(handles[0] * 10 + handles[1], 79u);
    EXPECT_STREQ(folder, "D:\\a b\\");
    EXPECT_FALSE(FormatFinishArguments(arguments, 14, FINISH_SWITCH, {7, 9}, "D:\\a b\\"));
    EXPECT_STREQ(arguments, "");
}

// The quiet removal, and the first process's id after a restart with administrator rights.
TEST(RemovalSwitches, SilentInAnyCaseAndTheFirstProcess)
{
    const struct { const char* arguments; bool parsed, quiet; uint32_t first; } rows[] = {
        {"/SILENT", true, true, 0}, {" /silent\t", true, true, 0}, {"", true, false, 0},
        {"/SILENT /FIRST=4242", true, true, 4242}, {"/first=17", true, false, 17}, {"/FIRST=17 /Silent ", true, true, 17},
        {"/SILENTLY", false, false, 0}, {"/SILENT /x", false, false, 0}, {"SILENT", false, false, 0},
        {"/FIRST=", false, false, 0}, {"/FIRST=12x /SILENT", false, false, 0}, {"/FIRST=4294967296", false, false, 0},
        {"/finish 12 0 D:\\", false, false, 0},
    };
    for (const auto& row : rows) {
        bool quiet = true;
        uint32_t first = 1;
        EXPECT_EQ(ParseRemovalSwitches(row.arguments, &quiet, &first), row.parsed) << row.arguments;
        EXPECT_EQ(quiet, row.quiet) << row.arguments;
        EXPECT_EQ(first, row.first) << row.arguments;
    }
}

TEST(FolderOfPath, KeepsTheBackslashAndRefusesWhatDoesNotFit)
{
    char folder[12];
    EXPECT_TRUE(FolderOfPath(folder, sizeof folder, "D:\\V\\Removal.exe"));
    EXPECT_STREQ(folder, "D:\\V\\");
    EXPECT_FALSE(FolderOfPath(folder, sizeof folder, "Removal.exe"));
    EXPECT_FALSE(FolderOfPath(folder, sizeof folder, "D:\\01234567\\x"));  // no room for the zero
    EXPECT_STREQ(folder, "");
}

// The closing message and the quiet removal's exit code, which a tool that
// waits reads: 0 only when something was installed and nothing stays.
TEST(RemovalReport, MessageAndExitCodeNameWhatStays)
{
    RemovalReport report;
    char message[sizeof report.names + sizeof report.keptFolder + 200];
    StartReport(&report);
    ComposeClosingMessage(report, message, sizeof message);
    EXPECT_STREQ(message, "Velari was removed.");
    EXPECT_EQ(QuietRemovalExitCode(true, report), 0);
    EXPECT_EQ(QuietRemovalExitCode(false, report), 4);
    NoteKeptFolder(&report, "D:\\V\\");  // for a person's files: named, and no failure
    ComposeClosingMessage(report, message, sizeof message);
    EXPECT_STREQ(message, "Velari was removed. Its folder D:\\V\\ was kept because it still holds other files.");
    EXPECT_EQ(QuietRemovalExitCode(true, report), 0);
    AddFailure(&report, "D:\\V\\Velari.cnt");
    AddFailure(&report, "HKEY_CLASSES_ROOT\\velari");
    EXPECT_EQ(QuietRemovalExitCode(true, report), 4);
    ComposeClosingMessage(report, message, sizeof message);
    EXPECT_STREQ(message, "Velari was removed, except for these, which could not be removed:\n\n"
                          "D:\\V\\Velari.cnt\nHKEY_CLASSES_ROOT\\velari\n\nIts folder D:\\V\\ was kept because it still holds other files.");
    const std::string longName(300, 'x');
    for (int i = 0; i < 10; ++i)
        AddFailure(&report, longName.c_str());
    ComposeClosingMessage(report, message, sizeof message);
    const std::string text = message;
    EXPECT_NE(text.find("...\n\nIts folder D:\\V\\ was kept"), std::string::npos);  // after a full list too
    EXPECT_LT(text.size(), sizeof message);
}

// A key that goes only when empty: a check that fails keeps it (and is
// said), as does anything below it; only an empty one is deleted.
TEST(DecideEmptyKey, AFailedCheckKeepsTheKey)
{
    const long NOT_FOUND = 2, DENIED = 5, MORE_DATA = 234;
    const struct { long opened, queried; unsigned long subkeys, values; EmptyKeyStep step; } rows[] = {
        {DENIED, DENIED, 0, 0, EMPTY_KEY_UNCHECKED}, {0, MORE_DATA, 0, 0, EMPTY_KEY_UNCHECKED},
        {0, DENIED, 0, 0, EMPTY_KEY_UNCHECKED}, {NOT_FOUND, NOT_FOUND, 0, 0, EMPTY_KEY_GONE},
        {0, 0, 1, 0, EMPTY_KEY_IN_USE}, {0, 0, 0, 1, EMPTY_KEY_IN_USE}, {0, 0, 0, 0, EMPTY_KEY_DELETE},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DecideEmptyKey(row.opened, row.queried, row.subkeys, row.values), row.step)
            << row.opened << " " << row.queried << " " << row.subkeys << " " << row.values;
}

// The program an association's open command starts, so that a removal takes
// only an association into its own folder.
TEST(ProgramOfCommand, QuotedOrUpToItsArgument)
{
    const std::string tooLong = "D:\\" + std::string(300, 'v') + "\\Velari.exe";
    const struct { std::string command; const char* program; } rows[] = {
        {"", ""}, {"\"", ""}, {"\"\" %1", ""}, {"\"D:\\V\\Velari.exe %1", ""}, {"\"" + tooLong + "\" %1", ""},
        {"\"D:\\Velari Test\\Velari.exe\" %1", "D:\\Velari Test\\Velari.exe"},
        {"D:\\Velari Test\\Velari.exe %1", "D:\\Velari Test\\Velari.exe"},
        {"C:\\PROGRA~2\\Velari\\Velari.exe", "C:\\PROGRA~2\\Velari\\Velari.exe"},
    };
    for (const auto& row : rows) {
        char program[PATH_SIZE];
        EXPECT_EQ(ProgramOfCommand(row.command.c_str(), program, sizeof program), row.program[0] != '\0') << row.command;
        EXPECT_STREQ(program, row.program);
    }
}

}  // namespace
