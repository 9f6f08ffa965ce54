// The setup program's rules, natively: the payload table against the bytes
// it describes, the folder's name and descriptor, the command line passed on.
#include <gtest/gtest.h>

#include <string>

#include "payload_table.h"
#include "unpack_rules.h"

namespace {

const std::string INSTALLER = "MZ installer", ZIPPED = "SZDD compressed";

std::string Digest(const std::string& bytes)
{
    Sha256 sha;
    Sha256Start(&sha);
    Sha256Add(&sha, bytes.data(), bytes.size());
    unsigned char digest[SHA256_SIZE];
    char text[2 * SHA256_SIZE + 1];
    Sha256Finish(&sha, digest);
    Sha256Text(digest, text);
    return text;
}

std::string Line(const std::string& bytes, const std::string& name, size_t size = std::string::npos)
{
    return Digest(bytes) + " " + std::to_string(size == std::string::npos ? bytes.size() : size) + " " + name + "\n";
}

const std::string HEADING = std::string(PAYLOAD_TABLE_HEADING) + "\n",
                  GOOD = HEADING + Line(INSTALLER, "install.exe") + Line(ZIPPED, "Velari.ex_");

}  // namespace

TEST(PayloadTable, RefusesWhatDoesNotDescribeThePayload)
{
    const size_t size = INSTALLER.size() + ZIPPED.size();
    std::string many = HEADING;
    for (int i = 0; i <= PAYLOAD_MAX_FILES; ++i)
        many += Line("", "f" + std::to_string(i));
    const struct { const char* what; std::string table; size_t payloadSize; const char* reason; } rows[] = {
        {"another form", "Velari setup payload 2\n" + GOOD.substr(HEADING.size()), size, "not of a known form"},
        {"cut off in a line", GOOD.substr(0, GOOD.size() - 1), size, "ends in the middle of a line"},
        {"an entry running past the end", HEADING + Line(INSTALLER, "install.exe") + Line(ZIPPED, "Velari.ex_", ZIPPED.size() + 1),
         size, "Velari.ex_ runs past the end of the files"},
        {"bytes no entry names", GOOD, size + 1, "the files are longer than the table says"},
        {"a digest in capitals", HEADING + "A" + Line(INSTALLER, "install.exe").substr(1), INSTALLER.size(), "line 2 "},
        {"a size without digits", HEADING + Digest("") + "  install.exe\n", 0, "line 2 "},
        {"a size of sixteen digits", HEADING + Digest("") + " 0000000000000000 install.exe\n", 0, "line 2 "},
        {"a name with a folder", HEADING + Line(INSTALLER, "sub\\install.exe"), INSTALLER.size(), "line 2 "},
        {"a name with a drive", HEADING + Line(INSTALLER, "C:install.exe"), INSTALLER.size(), "line 2 "},
        {"a hidden name", HEADING + Line(INSTALLER, ".install.exe"), INSTALLER.size(), "line 2 "},
        {"no name", HEADING + Line(INSTALLER, ""), INSTALLER.size(), "line 2 "},
        {"a name of 32 letters", HEADING + Line(INSTALLER, std::string(32, 'a')), INSTALLER.size(), "line 2 "},
        {"a name twice, in two cases", GOOD + Line("", "VELARI.EX_"), size, "names VELARI.EX_ twice"},
        {"no installer", HEADING + Line(ZIPPED, "Velari.ex_"), ZIPPED.size(), "names no install.exe"},
        {"too many files", many, 0, "too many files"},
        {"as made", GOOD, size, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        PayloadTable table;
        const char* reason = ReadPayloadTable(row.table.data(), row.table.size(), row.payloadSize, &table);
        EXPECT_NE(std::string(reason ? reason : "<none>").find(row.reason ? row.reason : "<none>"), std::string::npos)
            << (reason ? reason : "<none>");
    }
}

TEST(PayloadTable, EachFileAgainstItsDigest)
{
    PayloadTable table;
    ASSERT_EQ(ReadPayloadTable(GOOD.data(), GOOD.size(), INSTALLER.size() + ZIPPED.size(), &table), nullptr);
    ASSERT_EQ(table.count, 2);
    std::string payload = INSTALLER + ZIPPED;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(payload.data());
    EXPECT_EQ(CheckPayloadDigests(table, bytes), nullptr);
    payload.back() ^= 1;  // the last byte of the last file only
    EXPECT_STREQ(CheckPayloadDigests(table, bytes), "Velari.ex_ does not match its SHA-256");
}

namespace {

uint32_t drawn;
uint32_t NextNumber() { return ++drawn; }
unsigned long tried, taken, otherError;  // taken: how many names are taken before one is free
unsigned long Make(const char*)
{
    return ++tried <= taken ? static_cast<unsigned long>(FOLDER_NAME_TAKEN) : otherError;
}

}  // namespace

// A name that an earlier run left is passed over, never used; another
// error ends the attempts; so does the tenth name taken.
TEST(UnpackRules, AFreshFolderOnly)
{
    const struct { unsigned long taken, otherError, result, tries; const char* folder; } rows[] = {
        {0, 0, 0, 1, "T\\Velari-setup-00000007-0000000000000009-00000001\\"},
        {2, 0, 0, 3, "T\\Velari-setup-00000007-0000000000000009-00000003\\"},
        {0, 5, 5, 1, ""},
        {UNPACK_FOLDER_ATTEMPTS, 0, FOLDER_NAME_TAKEN, UNPACK_FOLDER_ATTEMPTS, ""},
    };
    for (const auto& row : rows) {
        drawn = tried = 0;
        taken = row.taken;
        otherError = row.otherError;
        char out[80];
        EXPECT_EQ(MakeFreshUnpackFolder(out, sizeof out, "T\\", 7, 9, NextNumber, Make), row.result);
        EXPECT_EQ(tried, row.tries);
        EXPECT_STREQ(out, row.folder);
    }
}

TEST(UnpackRules, FolderDescriptorAndCommand)
{
    char out[120];
    EXPECT_TRUE(ComposeUnpackFolder(out, sizeof out, "C:\\Temp", 0x1a, 0x1d9b2c3, 0xffffffff));
    EXPECT_STREQ(out, "C:\\Temp\\Velari-setup-0000001a-0000000001d9b2c3-ffffffff\\");
    EXPECT_FALSE(ComposeUnpackFolder(out, sizeof out, "", 1, 2, 3));
    EXPECT_FALSE(ComposeUnpackFolder(out, sizeof out, std::string(80, 'a').c_str(), 1, 2, 3));
    EXPECT_STREQ(out, "");

    ASSERT_TRUE(ComposeUserOnlyDescriptor(out, sizeof out, "S-1-5-21-7-1001"));
    EXPECT_STREQ(out, "O:S-1-5-21-7-1001D:P(A;OICI;FA;;;S-1-5-21-7-1001)(A;OICI;FRFX;;;SY)(A;OICI;FRFX;;;BA)");
    for (const char* sid : {"S-1-5-21)(A;OICI;FA;;;WD", "S-1-", "S-1-5-", "S-1-5--7", "WD"})
        EXPECT_FALSE(ComposeUserOnlyDescriptor(out, sizeof out, sid)) << sid;
    EXPECT_FALSE(ComposeUserOnlyDescriptor(out, 40, "S-1-5-21-7-1001"));

    const struct { const char* line; const char* arguments; } lines[] = {
        {"\"D:\\My Downloads\\setup.exe\" /VERYSILENT \"/DIR=D:\\a b\"", "/VERYSILENT \"/DIR=D:\\a b\""},
        {"setup.exe \t/?", "/?"}, {"setup.exe", ""}, {"\"setup.exe", ""}, {"\"setup.exe\"/LOG=x", "/LOG=x"}};
    for (const auto& line : lines)
        EXPECT_STREQ(ArgumentsAfterProgram(line.line), line.arguments) << line.line;
    ASSERT_TRUE(ComposeInstallerCommand(out, sizeof out, "C:\\T\\V\\", "install.exe", "/SILENT \"/LOG=a b\""));
    EXPECT_STREQ(out, "\"C:\\T\\V\\install.exe\" /SILENT \"/LOG=a b\"");
    ASSERT_TRUE(ComposeInstallerCommand(out, sizeof out, "C:\\T\\V\\", "install.exe", ""));
    EXPECT_STREQ(out, "\"C:\\T\\V\\install.exe\"");
    EXPECT_FALSE(ComposeInstallerCommand(out, 20, "C:\\T\\V\\", "install.exe", ""));
}
