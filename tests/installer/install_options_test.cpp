// The installer's command line, natively: every switch, quoting, case,
// blanks, unknown and malformed switches; and how a given folder is taken.
#include <gtest/gtest.h>

#include <string>

#include "install_options.h"
#include "path_text.h"

namespace {

const std::string LONG_VALUE = "D:\\" + std::string(1000, 'v');

TEST(ParseInstallOptions, Table)
{
    const struct { std::string line; bool understood; InstallMode mode; bool usage; const char *dir, *game, *log; } rows[] = {
        {"", true, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/SILENT", true, INSTALL_SILENT, false, nullptr, nullptr, nullptr},
        {"/verysilent", true, INSTALL_VERYSILENT, false, nullptr, nullptr, nullptr},
        {"/VerySilent /silent", true, INSTALL_VERYSILENT, false, nullptr, nullptr, nullptr},
        {" \t/Silent\t /dir=D:\\V  ", true, INSTALL_SILENT, false, "D:\\V", nullptr, nullptr},
        {"/DIR=\"D:\\Program Files\\Velari\" /GAMEDIR=\"D:\\My Games\\\" /LOG=\"D:\\a log.txt\"", true,
         INSTALL_WIZARD, false, "D:\\Program Files\\Velari", "D:\\My Games\\", "D:\\a log.txt"},
        {"/log=x.log /GameDir=E:\\G /Dir=C:\\ /VERYSILENT", true, INSTALL_VERYSILENT, false, "C:\\", "E:\\G", "x.log"},
        {"/DIR=D:\\a /DIR=\"E:\\b\"", true, INSTALL_WIZARD, false, "E:\\b", nullptr, nullptr},
        {"/DIR=" + LONG_VALUE, true, INSTALL_WIZARD, false, LONG_VALUE.c_str(), nullptr, nullptr},
        {"/?", true, INSTALL_WIZARD, true, nullptr, nullptr, nullptr},
        // Not understood; /VERYSILENT among the rest still keeps the box away.
        {"/FOO", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"SILENT", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/SILENTLY", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/SILENT=1", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/DIR", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/DIR= /VERYSILENT", false, INSTALL_VERYSILENT, false, nullptr, nullptr, nullptr},
        {"/DIR=\"\"", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/LOG=\"D:\\a log.txt", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/GAMEDIR=\"D:\\a\"b", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/GAMEDIR=D:\\\"a b\"", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"\"/DIR=D:\\a\"", false, INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/? /VERYSILENT /X", false, INSTALL_VERYSILENT, true, nullptr, nullptr, nullptr},
    };
    for (const auto& row : rows) {
        std::string line = row.line;
        InstallOptions options;
        EXPECT_EQ(ParseInstallOptions(&line[0], &options), row.understood) << row.line;
        EXPECT_EQ(options.mode, row.mode) << row.line;
        EXPECT_EQ(options.showUsage, row.usage) << row.line;
        if (!row.understood)
            continue;
        for (auto value : {std::make_pair(options.targetFolder, row.dir), std::make_pair(options.gameFolder, row.game),
                           std::make_pair(options.logFile, row.log)})
            EXPECT_EQ(std::string(value.first ? value.first : "<none>"), value.second ? value.second : "<none>") << row.line;
    }
}

// A given folder, as one typed in the folder chooser, gets its backslash
// (a bare drive thus becomes its root) and must then fit; a silent target
// must name a drive.
TEST(FolderFromTyped, BackslashFitAndDrive)
{
    const struct { std::string given, taken; bool driveRoot; } rows[] = {
        {"D:", "D:\\", true}, {"d:\\Velari\\", "d:\\Velari\\", true}, {"D:\\Program Files\\Velari", "D:\\Program Files\\Velari\\", true},
        {"Velari", "Velari\\", false}, {"\\\\server\\share", "\\\\server\\share\\", false}, {"1:\\V", "1:\\V\\", false},
        {"D:\\" + std::string(255, 'v'), "D:\\" + std::string(255, 'v') + "\\", true},
        {"D:\\" + std::string(256, 'v'), "", false}, {LONG_VALUE, "", false},
    };
    for (const auto& row : rows) {
        char out[261];
        out[260] = 'x';
        EXPECT_EQ(FolderFromTyped(out, 260, row.given.c_str()), !row.taken.empty()) << row.given;
        EXPECT_EQ(std::string(out), row.taken) << row.given;
        EXPECT_EQ(HasDriveRoot(out), row.driveRoot) << row.given;
        EXPECT_EQ(out[260], 'x');
    }
}

// The numbers are what scripts test for: fixed, and listed by /? as logged.
TEST(ExitCodes, NumbersAndTheirMeaningsInTheBox)
{
    const struct { int code, number; } rows[] = {
        {EXIT_INSTALLED, 0}, {EXIT_BAD_COMMAND_LINE, 1}, {EXIT_CANCELLED, 2}, {EXIT_FOLDER_REFUSED, 3}, {EXIT_INCOMPLETE, 4},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.code, row.number);
        EXPECT_NE(std::string(USAGE_TEXT).find(std::to_string(row.number) + " " + ExitCodeMeaning(row.code)),
                  std::string::npos) << row.number;
    }
}

}  // namespace
