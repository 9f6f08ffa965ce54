// The installer's rules, natively: bounded joins, the longest target folder
// the installation can use, the folder chooser's rules, the game's
// executable; the default target folder; and the command line: every
// switch, quoting, case, blanks, unknown and malformed switches, and how a
// given folder is taken.
#include <gtest/gtest.h>

#include <string>

#include "default_target.h"
#include "install_options.h"
#include "install_scope.h"
#include "path_text.h"
#include "same_folder.h"

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

// The quoted open command is the longest text made from the folder; its
// characters count, not its bytes (the ASCII limit is a given folder's row).
TEST(TargetFolderFits, CountsCharacters)
{
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

// What the search finds and the game page asks about when it is missing.
TEST(IsGameExecutable, AFileShownByAnyCaseOfItsName)
{
    const struct { const char* name; bool folder, hidden, game; } rows[] = {
        {"gravion.exe", false, false, true}, {"GRAVION.EXE", false, false, true}, {"gravion.exe", true, false, false},
        {"gravion.exe", false, true, false}, {"gravion.ex", false, false, false}, {"gravion.exe.lnk", false, false, false}};
    for (const auto& row : rows)
        EXPECT_EQ(IsGameExecutable(row.name, row.folder, row.hidden), row.game) << row.name << row.folder << row.hidden;
}

namespace {

const std::string LONG_VALUE = "D:\\" + std::string(1000, 'v');

// Arguments split as Windows programs split them (a backslash before a
// quote stays a backslash); problem: the first switch not understood.
TEST(ParseInstallOptions, Table)
{
    const struct { std::string line; const char* problem; InstallMode mode; bool usage; const char *dir, *game, *log; } rows[] = {
        {"", "", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/SILENT", "", INSTALL_SILENT, false, nullptr, nullptr, nullptr},
        {"/verysilent", "", INSTALL_VERYSILENT, false, nullptr, nullptr, nullptr},
        {"/VerySilent /silent", "", INSTALL_VERYSILENT, false, nullptr, nullptr, nullptr},
        {" \t/Silent\t /dir=D:\\V  ", "", INSTALL_SILENT, false, "D:\\V", nullptr, nullptr},
        {"/DIR=\"D:\\Program Files\\Velari\" /GAMEDIR=\"D:\\My Games\\\" /LOG=\"D:\\a log.txt\"", "",
         INSTALL_WIZARD, false, "D:\\Program Files\\Velari", "D:\\My Games\\", "D:\\a log.txt"},
        {"\"/DIR=D:\\a b\"", "", INSTALL_WIZARD, false, "D:\\a b", nullptr, nullptr},
        {"/DIR=D:\\\"a b\" /GAMEDIR=\"D:\\a\"b", "", INSTALL_WIZARD, false, "D:\\a b", "D:\\ab", nullptr},
        {"\"/VERYSILENT\" \"/DIR=D:\\Velari Test\" \"/LOG=D:\\v.log\"", "", INSTALL_VERYSILENT, false, "D:\\Velari Test", nullptr, "D:\\v.log"},
        {"/log=x.log /GameDir=E:\\G /Dir=C:\\ /VERYSILENT", "", INSTALL_VERYSILENT, false, "C:\\", "E:\\G", "x.log"},
        {"/DIR=D:\\a /DIR=\"E:\\b\"", "", INSTALL_WIZARD, false, "E:\\b", nullptr, nullptr},
        {"/DIR=" + LONG_VALUE, "", INSTALL_WIZARD, false, LONG_VALUE.c_str(), nullptr, nullptr},
        {"/?", "", INSTALL_WIZARD, true, nullptr, nullptr, nullptr},
        // Not understood; /VERYSILENT among the rest still keeps the box away, and /LOG still logs.
        {"/FOO /BAR", "Unknown switch: /FOO", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"SILENT", "Unknown switch: SILENT", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/SILENTLY", "Unknown switch: /SILENTLY", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/SILENT=1", "Unknown switch: /SILENT=1", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/DIRECTORY=D:\\a", "Unknown switch: /DIRECTORY=D:\\a", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/DIR", "/DIR needs a folder", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/DIR= /VERYSILENT /LOG=x.log", "/DIR needs a folder", INSTALL_VERYSILENT, false, nullptr, nullptr, "x.log"},
        {"/GAMEDIR=\"\"", "/GAMEDIR needs a folder", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/log", "/LOG needs a file", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/LOG=\"D:\\a log.txt", "A quote is left open: /LOG=D:\\a log.txt", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
        {"/? /VERYSILENT /X", "Unknown switch: /X", INSTALL_VERYSILENT, true, nullptr, nullptr, nullptr},
    };
    for (const auto& row : rows) {
        std::string line = row.line;
        InstallOptions options;
        EXPECT_EQ(ParseInstallOptions(&line[0], &options), !row.problem[0]) << row.line;
        EXPECT_STREQ(options.problem, row.problem) << row.line;
        EXPECT_EQ(options.mode, row.mode) << row.line;
        EXPECT_EQ(options.showUsage, row.usage) << row.line;
        for (auto value : {std::make_pair(options.targetFolder, row.dir), std::make_pair(options.gameFolder, row.game),
                           std::make_pair(options.logFile, row.log)})
            EXPECT_EQ(std::string(value.first ? value.first : "<none>"), value.second ? value.second : "<none>") << row.line;
    }
}

// The platform's answers as data: an installation there wins; then, off the
// system's drive, the drive's Program Files where it can be written; else
// the system's of this width ("Program Files (x86)" for 32 bits on 64).
TEST(ChooseDefaultTarget, Table)
{
    const std::string longSystem = "C:\\" + std::string(240, 'p');
    const struct { const char *current; bool driveUsable; std::string system; const char *installed, *folder; TargetDefaultKind kind; } rows[] = {
        {"D:\\SETUP", true, "C:\\Program Files (x86)", "", "D:\\Program Files\\Velari\\", DEFAULT_DRIVE},
        {"d:\\", true, "C:\\Program Files (x86)", "", "D:\\Program Files\\Velari\\", DEFAULT_DRIVE},
        {"D:\\SETUP", false, "C:\\Program Files (x86)", "", "C:\\Program Files (x86)\\Velari\\", DEFAULT_SYSTEM},
        {"\\\\server\\share", true, "C:\\Program Files\\", "", "C:\\Program Files\\Velari\\", DEFAULT_SYSTEM},
        {"E:\\", false, "", "", "E:\\Program Files\\Velari\\", DEFAULT_DRIVE},
        {"D:\\SETUP", false, longSystem, "", "D:\\Program Files\\Velari\\", DEFAULT_DRIVE},
        {"D:\\SETUP", true, "C:\\Program Files (x86)", "E:\\Tools\\Velari", "E:\\Tools\\Velari\\", DEFAULT_INSTALLED},
        // On the system's drive its folder of this width, though "Program Files" there takes files too.
        {"c:\\SETUP", true, "C:\\Program Files (x86)", "", "C:\\Program Files (x86)\\Velari\\", DEFAULT_SYSTEM},
        {"C:\\", true, "C:\\Program Files", "", "C:\\Program Files\\Velari\\", DEFAULT_SYSTEM},
    };
    for (const auto& row : rows) {
        char folder[PATH_SIZE];
        EXPECT_EQ(ChooseDefaultTarget({row.current, row.driveUsable, row.system.c_str(), row.installed}, folder, sizeof folder), row.kind) << row.folder;
        EXPECT_STREQ(folder, row.folder);
    }
}

// The target's one form, as far as the text decides it: a folder without a
// drive's root is refused (and kept as given by the caller); the platform's
// long names and the comparison are the Wine table's (wizard_test).
TEST(CanonicalFolderText, SlashesDotsAndTheBackslash)
{
    const std::string deep = "C:\\" + std::string(250, 'v');
    const struct { std::string given, canonical; } rows[] = {
        {"Velari", ""}, {"\\\\server\\share\\Velari", ""}, {"D:Velari", ""},
        {deep + "\\" + std::string(10, 'w'), ""},  // too long
        {"C:/Program Files (x86)/Velari", "C:\\Program Files (x86)\\Velari\\"},
        {"c:\\Program Files (x86)\\.\\Velari\\", "C:\\Program Files (x86)\\Velari\\"},
        {"C:\\Program Files\\..\\Program Files (x86)\\Velari\\Sub\\..", "C:\\Program Files (x86)\\Velari\\"},
        {"C:\\..\\..\\Velari//\\", "C:\\Velari\\"}, {"D:\\", "D:\\"}, {"d:/", "D:\\"}, {"D:\\a\\..", "D:\\"},
        {deep, deep + "\\"},
    };
    for (const auto& row : rows) {
        char out[PATH_SIZE + 1];
        out[PATH_SIZE] = 'x';
        EXPECT_EQ(CanonicalFolderText(row.given.c_str(), out, PATH_SIZE), !row.canonical.empty()) << row.given;
        EXPECT_EQ(std::string(out), row.canonical) << row.given;
        EXPECT_EQ(out[PATH_SIZE], 'x');
    }
}

// A given folder, as one typed in the folder chooser, gets its backslash
// (a bare drive thus becomes its root) and must then fit; a silent target
// must name a drive and fit the installation.
TEST(FolderFromTyped, BackslashFitAndTheSilentTarget)
{
    const char *NO_DRIVE = "it names no drive", *TOO_LONG = "the name is too long";
    const std::string fits = "D:\\" + std::string(MAX_TARGET_FOLDER_LENGTH - 4, 'v');
    const struct { std::string given, taken; const char* refusal; } rows[] = {
        {"D:", "D:\\", nullptr}, {"d:\\Velari\\", "d:\\Velari\\", nullptr}, {"D:\\Program Files\\Velari", "D:\\Program Files\\Velari\\", nullptr},
        {"Velari", "Velari\\", NO_DRIVE}, {"\\\\server\\share", "\\\\server\\share\\", NO_DRIVE}, {"1:\\V", "1:\\V\\", NO_DRIVE},
        {fits, fits + "\\", nullptr}, {fits + "v", fits + "v\\", TOO_LONG},  // with the backslash 244 and 245 characters
        {"D:\\" + std::string(255, 'v'), "D:\\" + std::string(255, 'v') + "\\", TOO_LONG},
        {"D:\\" + std::string(256, 'v'), "", NO_DRIVE}, {LONG_VALUE, "", NO_DRIVE},
    };
    for (const auto& row : rows) {
        char out[PATH_SIZE + 1];
        out[PATH_SIZE] = 'x';
        EXPECT_EQ(FolderFromTyped(out, PATH_SIZE, row.given.c_str()), !row.taken.empty()) << row.given;
        EXPECT_EQ(std::string(out), row.taken) << row.given;
        EXPECT_STREQ(SilentTargetRefusal(out), row.refusal) << row.given;
        EXPECT_EQ(out[PATH_SIZE], 'x');
    }
}

}  // namespace

// Who the installation is for: a switch, else for the wizard the one scope
// installed, else the rights; and where each scope's keys and folders lie.
TEST(InstallScope, SwitchesChoiceAndPlaces)
{
    const struct { const char* line; const char* problem; InstallScope scope; } switches[] = {
        {"/VERYSILENT", "", SCOPE_NONE}, {"/allusers", "", SCOPE_ALL_USERS}, {"/CurrentUser /CURRENTUSER", "", SCOPE_CURRENT_USER},
        {"/CURRENTUSER /ALLUSERS", "/ALLUSERS and /CURRENTUSER can't both be given", SCOPE_ALL_USERS},
        {"/ALLUSERS=1", "Unknown switch: /ALLUSERS=1", SCOPE_NONE},
    };
    for (const auto& row : switches) {
        std::string line = row.line;
        InstallOptions options;
        EXPECT_EQ(ParseInstallOptions(&line[0], &options), !row.problem[0]) << row.line;
        EXPECT_STREQ(options.problem, row.problem);
        EXPECT_EQ(options.scope, row.scope) << row.line;
    }
    const InstallScope ALL = SCOPE_ALL_USERS, USER = SCOPE_CURRENT_USER, NONE = SCOPE_NONE;
    const struct { InstallScope given; bool elevated, wizard, all, user; InstallScope scope; bool restart; } choices[] = {
        {NONE, true, false, false, false, ALL, false}, {NONE, false, false, true, false, USER, false},
        {USER, true, true, true, false, USER, false}, {ALL, false, false, false, true, ALL, true},
        {NONE, false, true, true, false, ALL, true}, {NONE, true, true, false, true, USER, false},
        {NONE, false, true, true, true, USER, false},
    };
    for (const auto& row : choices) {
        const ScopeChoice choice = ChooseInstallScope({row.given, row.elevated, row.wizard, {row.all, row.user}});
        EXPECT_EQ(choice.scope, row.scope) << choice.reason;
        EXPECT_EQ(NeedsElevatedRestart(choice.scope, row.elevated), row.restart) << choice.reason;
    }
    // Root, association key (the machine's own classes, never through
    // HKEY_CLASSES_ROOT), Start menu, where the programs go.
    const struct { InstallScope scope; std::string places; } places[] = {
        {ALL, "HKEY_LOCAL_MACHINE|HKEY_LOCAL_MACHINE\\Software\\Classes\\.tra|23|38"},
        {USER, "HKEY_CURRENT_USER|HKEY_CURRENT_USER\\Software\\Classes\\.tra|2|28Programs\\"},
    };
    for (const auto& row : places) {
        const ScopePlaces& place = SCOPE_PLACES[row.scope];
        EXPECT_EQ(std::string(ROOT_NAMES[place.settingsRoot]) + "|" + ROOT_NAMES[place.classesRoot] + "\\" + place.classesKey +
                      TRACK_EXTENSION_KEY + "|" + std::to_string(place.startMenu) + "|" + std::to_string(place.programsBase) +
                      place.programsAfter, row.places);
    }
}

// The elevated start is the same run for all users.
TEST(InstallScope, ElevatedStart)
{
    const struct { std::string line; size_t size; const char* arguments; } rows[] = {
        {"", 100, "/ALLUSERS"},
        {"/CURRENTUSER /VERYSILENT /LOG=\"D:\\a log.txt\" /DIR=\"D:\\My Games\\\" /GAMEDIR=E:\\G", 100,
         "/ALLUSERS /VERYSILENT \"/DIR=D:\\My Games\\\" \"/GAMEDIR=E:\\G\" \"/LOG=D:\\a log.txt\""},
        {"/SILENT /DIR=D:\\V", 30, "/ALLUSERS /SILENT \"/DIR=D:\\V\""}, {"/SILENT /DIR=D:\\V", 29, ""},
    };
    for (const auto& row : rows) {
        std::string line = row.line;
        InstallOptions options;
        ParseInstallOptions(&line[0], &options);
        char out[100];
        EXPECT_EQ(ComposeElevatedArguments(out, row.size, options), row.arguments[0] != '\0') << row.line;
        EXPECT_STREQ(out, row.arguments);
    }
}
