// The installer's rules, natively: bounded joins, the longest target folder
// the installation can use, the folder chooser's rules, the game's
// executable; the default target folder; and the command line: every
// switch, quoting, case, blanks, unknown and malformed switches, and how a
// given folder is taken.
#include <gtest/gtest.h>

#include <string>

#include "default_target.h"
#include "folder_rights.h"
#include "install_options.h"
#include "install_scope.h"
#include "path_text.h"
#include "same_folder.h"
#include "payload_check.h"
#include "sha256.h"

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
        {"/NOCLOSEAPPLICATIONS=1", "Unknown switch: /NOCLOSEAPPLICATIONS=1", INSTALL_WIZARD, false, nullptr, nullptr, nullptr},
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

// The elevated start is the same run for all users, which never gets /LOG's
// path but the name of the log it hands over.
TEST(InstallScope, ElevatedStart)
{
    const char* const NAME = "0123456789abcdef";
    const struct { std::string line; size_t size; const char *handover, *arguments; } rows[] = {
        {"", 100, nullptr, "/ALLUSERS"},
        {"/CURRENTUSER /VERYSILENT /LOG=\"D:\\a log.txt\" /DIR=\"D:\\My Games\\\" /GAMEDIR=E:\\G", 100, NAME,
         "/ALLUSERS /VERYSILENT \"/DIR=D:\\My Games\\\" \"/GAMEDIR=E:\\G\" \"/ELEVATEDLOG=0123456789abcdef\""},
        {"/SILENT /DIR=D:\\V", 30, nullptr, "/ALLUSERS /SILENT \"/DIR=D:\\V\""}, {"/SILENT /DIR=D:\\V", 29, nullptr, ""},
        {"/norestartapplications /NoCloseApplications", 100, NAME,
         "/ALLUSERS /NOCLOSEAPPLICATIONS /NORESTARTAPPLICATIONS \"/ELEVATEDLOG=0123456789abcdef\""},
    };
    for (const auto& row : rows) {
        std::string line = row.line;
        InstallOptions options;
        ParseInstallOptions(&line[0], &options);
        char out[100];
        EXPECT_EQ(ComposeElevatedArguments(out, row.size, options, row.handover), row.arguments[0] != '\0') << row.line;
        EXPECT_STREQ(out, row.arguments);
    }
}
// The digests the release's files are checked against: padding that fits the
// last block, and padding that needs another (56 bytes), added in pieces.
TEST(Sha256, KnownDigests)
{
    const struct { const char* text; const char* digest; } rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    };
    for (const auto& row : rows) {
        Sha256 sha;
        Sha256Start(&sha);
        for (const char* c = row.text; *c; ++c)
            Sha256Add(&sha, c, 1);
        unsigned char digest[SHA256_SIZE];
        Sha256Finish(&sha, digest);
        char text[2 * SHA256_SIZE + 1];
        Sha256Text(digest, text);
        EXPECT_STREQ(text, row.digest) << '"' << row.text << '"';
    }
}

// A release's file against the digests built in: whole; a byte changed, cut
// short, or a name the release doesn't have: damaged. What the person is told.
TEST(PayloadCheck, VerdictsAndMessages)
{
    const std::string release = "SZDD\x88\xf0\x27\x33" + std::string(300, 'v');
    auto digestOf = [](const std::string& bytes, char (&text)[2 * SHA256_SIZE + 1], unsigned char (&digest)[SHA256_SIZE]) {
        Sha256 sha;
        Sha256Start(&sha);
        Sha256Add(&sha, bytes.data(), bytes.size());
        Sha256Finish(&sha, digest);
        Sha256Text(digest, text);
    };
    char text[2 * SHA256_SIZE + 1];
    unsigned char digest[SHA256_SIZE];
    digestOf(release, text, digest);
    const PayloadDigest table[] = {{"Removal.ex_", "00"}, {"Velari.ex_", text}};
    std::string changed = release;
    changed[200] ^= 1;
    const struct { std::string bytes; const char* name; PayloadVerdict verdict; } rows[] = {
        {release, "Velari.ex_", PAYLOAD_WHOLE}, {changed, "Velari.ex_", PAYLOAD_DAMAGED},
        {release.substr(0, 299), "Velari.ex_", PAYLOAD_DAMAGED}, {release, "Velari.hl_", PAYLOAD_DAMAGED},
    };
    for (const auto& row : rows) {
        char other[2 * SHA256_SIZE + 1];
        unsigned char bytesDigest[SHA256_SIZE];
        digestOf(row.bytes, other, bytesDigest);
        EXPECT_EQ(JudgePayloadFile(row.name, bytesDigest, table, 2), row.verdict) << row.name << " " << row.bytes.size();
    }
    const struct { PayloadVerdict verdict; const char* says; } messages[] = {
        {PAYLOAD_MISSING, "can't find the file Velari.ex_ in D:\\Z\\, so nothing was installed.\n\nUnpack the whole zip"},
        {PAYLOAD_UNREADABLE, "can't read the file Velari.ex_ in D:\\Z\\"},
        {PAYLOAD_DAMAGED, "The file Velari.ex_ in D:\\Z\\ is damaged or not from this release of Velari, so nothing was "
                          "installed.\n\nPlease download Velari again."},
    };
    for (const auto& row : messages) {
        char message[400];
        ComposePayloadMessage(row.verdict, "D:\\Z\\", "Velari.ex_", message, sizeof message);
        EXPECT_NE(std::string(message).find(row.says), std::string::npos) << message;
    }
}

// Which log a process writes: the restart with administrator rights only
// its own, whatever /LOG says; a name that could be a path is refused.
TEST(LogPlace, TheRestartNeverWritesTheCallersPath)
{
    const struct { const char* line; bool understood; LogPlace place; } rows[] = {
        {"", true, LOG_NONE}, {"/LOG=D:\\v.log", true, LOG_GIVEN_FILE},
        {"/ALLUSERS /ELEVATEDLOG=0123456789abcdef", true, LOG_HANDOVER},
        {"/LOG=C:\\windows\\x.dll /ELEVATEDLOG=0123456789abcdef", true, LOG_HANDOVER},
        {"/LOG=D:\\v.log /ELEVATEDLOG=..\\..\\x", false, LOG_NONE}, {"/ELEVATEDLOG=0123456789ABCDEF", false, LOG_NONE},
        {"/ELEVATEDLOG=0123456789abcde", false, LOG_NONE}, {"/ELEVATEDLOG=0123456789abcdef0", false, LOG_NONE},
    };
    for (const auto& row : rows) {
        std::string line = row.line;
        InstallOptions options;
        EXPECT_EQ(ParseInstallOptions(&line[0], &options), row.understood) << row.line;
        EXPECT_EQ(ChooseLogPlace(options), row.place) << row.line;
    }
}

// An exception's code is a crash, a failure; a refusal is a cancel; any
// code the restart chose is passed on.
TEST(ElevatedEnd, ACrashIsNoRefusal)
{
    const struct { bool started, cancelled; uint32_t code; ElevatedEnd end; int exitCode; } rows[] = {
        {true, false, 0, ELEVATED_EXITED, 0}, {true, false, 4, ELEVATED_EXITED, 4},
        {true, false, 0xBFFFFFFF, ELEVATED_EXITED, static_cast<int>(0xBFFFFFFF)},
        {true, false, 0xC0000000, ELEVATED_CRASHED, 4}, {true, false, 0xC0000005, ELEVATED_CRASHED, 4},
        {true, false, 0xFFFFFFFF, ELEVATED_CRASHED, 4}, {false, true, 0, ELEVATED_DECLINED, 2},
        {false, false, 0, ELEVATED_NOT_STARTED, 4},
    };
    for (const auto& row : rows) {
        const ElevatedEnd end = ClassifyElevatedEnd(row.started, row.cancelled, row.code);
        EXPECT_EQ(end, row.end) << std::hex << row.code;
        EXPECT_EQ(ExitCodeAfterElevated(end, row.code), row.exitCode) << std::hex << row.code;
    }
}

// A folder made for all users outside Program Files gets Program Files'
// rights; below Program Files and for one user it inherits.
TEST(FolderRights, NewFolderForAllUsersOutsideProgramFiles)
{
    const char* const programFiles[] = {"C:\\Program Files\\", "C:\\Program Files (x86)\\", ""};
    const struct { InstallScope scope; const char* folder; const char* rights; } rows[] = {
        {SCOPE_ALL_USERS, "D:\\Program Files\\Velari\\", PROGRAM_FOLDER_RIGHTS},
        {SCOPE_ALL_USERS, "C:\\Program Files Velari\\", PROGRAM_FOLDER_RIGHTS},
        {SCOPE_ALL_USERS, "c:\\program files (X86)\\Velari\\", nullptr},
        {SCOPE_CURRENT_USER, "D:\\Velari\\", nullptr},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RightsForNewFolder(row.scope, row.folder, programFiles, 3), row.rights) << row.folder;
    EXPECT_STREQ(PROGRAM_FOLDER_RIGHTS, "D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)");
}

// Who may change a folder found there, from its descriptor: a drive root's
// right for every signed-in user to change what is made below it, rights by
// name or number, no DACL, one not understood.
TEST(FolderRights, OthersMayChange)
{
    const char* const OWN = "S-1-5-21-1-2-3-1001";
    const struct { const char* sddl; bool others; } rows[] = {
        {PROGRAM_FOLDER_RIGHTS, false}, {HANDOVER_FOLDER_RIGHTS, true},  // users may delete it
        {"D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;0x1200a9;;;WD)", false},
        {"D:AI(A;OICIIO;GA;;;CO)(A;;FA;;;BA)(A;ID;0x1301bf;;;AU)", true},
        {"D:AI(A;OICIIOID;SDGXGWGR;;;AU)(A;OICIID;FA;;;BA)", true}, {"D:(A;;0x2;;;BU)", true},
        {"D:(A;;FR;;;BU)(A;;FX;;;WD)(D;;FA;;;AN)", false}, {"D:(A;;FA;;;S-1-5-21-1-2-3-1002)", true},
        {"D:NO_ACCESS_CONTROL", true}, {"O:BA", true}, {"D:(A;;ZZ;;;BU)", true}, {"D:(A;;FA;;;BU", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(OthersMayChange(row.sddl, OWN), row.others) << row.sddl;
}
