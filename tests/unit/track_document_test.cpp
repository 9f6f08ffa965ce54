// Loading, saving and the unsaved-changes prompt, checked against the bytes
// on disk and what the user is shown.
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "display_recorder.h"
#include "track_document.h"
#include "track_edits.h"
#include "track_test_support.h"

namespace {

TrackFileContents ContentsWithPieces(int count)
{
    TrackFileContents contents;
    contents.count = static_cast<int16_t>(count);
    contents.pieces = VariedPieces(count);
    return contents;
}

bool ForceSave()
{
    trackDocument.isDirty = 1;
    return SaveTrack();
}

class TrackDocumentTest : public TrackTest {};

TEST_F(TrackDocumentTest, UnchangedTrackIsWrittenBackByteForByte)
{
    for (int count : {0, 1, 5, 2000}) {
        SCOPED_TRACE(count);
        std::string bytes = TrackFileBytes(ContentsWithPieces(count));
        ASSERT_TRUE(LoadBytes("round.tra", bytes));
        EXPECT_EQ(display.fields[FIELD_PIECE_COUNT], std::to_string(count - 1));
        EXPECT_EQ(display.pieceLines.size(), static_cast<size_t>(count > 0 ? count - 1 : 0));
        ASSERT_TRUE(ForceSave());
        EXPECT_EQ(ReadFileBytes(PathInFolder("round.tra")), bytes);
        EXPECT_FALSE(trackDocument.isDirty);
    }
}

TEST_F(TrackDocumentTest, MatterhornToggleChangesByteThreeAlone)
{
    for (uint8_t stored : {0, 1, 7}) {
        SCOPED_TRACE(stored);
        TrackFileContents contents = ContentsWithPieces(5);
        contents.matterhorn = stored;
        std::string bytes = TrackFileBytes(contents);
        ASSERT_TRUE(LoadBytes("flag.tra", bytes));
        EXPECT_EQ(display.matterhornChecked, stored != 0);
        ToggleMatterhornSetting();
        EXPECT_TRUE(trackDocument.isDirty);
        EXPECT_FALSE(trackDocument.editState.editPending);
        ASSERT_TRUE(SaveTrack());
        std::string expected = bytes;
        expected[3] = stored == 0 ? 1 : 0;
        EXPECT_EQ(ReadFileBytes(PathInFolder("flag.tra")), expected);
    }
}

TEST_F(TrackDocumentTest, LastRecordIsCarriedButNotListed)
{
    TrackFileContents contents = ContentsWithPieces(5);
    std::string bytes = TrackFileBytes(contents);
    ASSERT_TRUE(LoadBytes("five.tra", bytes));
    EXPECT_EQ(display.pieceLines.size(), 4u);
    EXPECT_EQ(display.fields[FIELD_PIECE_COUNT], "4");
    EXPECT_FALSE(SaveTrack());  // nothing changed: nothing written

    ChoosePiece(1);
    SetPieceAttribute(0);
    ASSERT_TRUE(SaveTrack());
    ChoosePiece(2);
    SetPieceAttribute(2);
    ASSERT_TRUE(SaveTrack());
    std::string written = ReadFileBytes(PathInFolder("five.tra"));
    ASSERT_EQ(written.size(), bytes.size());
    EXPECT_EQ(written.substr(49, 2), bytes.substr(49, 2));
    EXPECT_EQ(written.substr(82 + 4 * 3), bytes.substr(82 + 4 * 3));
    EXPECT_EQ(static_cast<uint8_t>(written[82 + 3]), contents.pieces[1].code & 0x3F);
    EXPECT_EQ(static_cast<uint8_t>(written[82 + 6]), (contents.pieces[2].code & 0x3F) | 0x80);
}

TEST_F(TrackDocumentTest, SingleRecordIsPieceZeroAndItsEditsAreSaved)
{
    TrackFileContents contents = ContentsWithPieces(1);
    ASSERT_TRUE(LoadBytes("one.tra", TrackFileBytes(contents)));
    EXPECT_TRUE(display.pieceLines.empty());
    EXPECT_EQ(display.fields[FIELD_PIECE_COUNT], "0");
    EXPECT_EQ(display.fields[FIELD_CURRENT_PIECE], "1");
    ReadBackBank(-3, false);
    ASSERT_TRUE(SaveTrack());
    EXPECT_EQ(static_cast<int8_t>(ReadFileBytes(PathInFolder("one.tra"))[82 + 1]), -3);
}

TEST_F(TrackDocumentTest, LoadShowsTrackThenTitle)
{
    TrackFileContents contents = ContentsWithPieces(3);
    contents.trackName = "Loop The Loop";
    contents.designerName = std::string(21, 'D');  // fills the field, no zero byte
    ASSERT_TRUE(LoadBytes("shown.tra", TrackFileBytes(contents)));
    EXPECT_EQ(display.title, "Velari - " + PathInFolder("shown.tra"));
    EXPECT_EQ(display.fields[FIELD_TRACK_NAME], "Loop The Loop");
    EXPECT_EQ(display.fields[FIELD_DESIGNER_NAME], std::string(21, 'D'));
    EXPECT_EQ(display.events.back(), "title Velari - " + PathInFolder("shown.tra"));
    EXPECT_TRUE(trackDocument.isLoaded);
    EXPECT_FALSE(trackDocument.isDirty);
    EXPECT_TRUE(display.messages.empty());
}

struct RefusedFile {
    const char* name;
    std::string bytes;
    bool showsMessage;
};

std::vector<RefusedFile> RefusedFiles()
{
    std::string good = TrackFileBytes(ContentsWithPieces(3));
    auto withCount = [&](uint8_t low, uint8_t high) {
        std::string bytes = good;
        bytes[49] = static_cast<char>(low);
        bytes[50] = static_cast<char>(high);
        return bytes;
    };
    std::string tooMany = TrackFileBytes(ContentsWithPieces(2001));
    std::string badFirst = good, badSecond = good;
    badFirst[0] = 'r';
    badSecond[1] = 'X';
    return {
        {"header of 81 bytes", good.substr(0, 81), false},
        {"empty file", "", false},
        {"first signature byte", badFirst, true},
        {"second signature byte", badSecond, true},
        {"count 2001", tooMany, true},
        {"count -1", withCount(0xFF, 0xFF), true},
        {"count -32768", withCount(0x00, 0x80), true},
        {"count 4 with 3 records", withCount(4, 0), true},
        {"last record cut short", good.substr(0, good.size() - 1), true},
    };
}

TEST_F(TrackDocumentTest, RefusedFileLeavesDocumentAsItWas)
{
    std::string keptPath = PathInFolder("kept.tra");
    std::string keptBytes = TrackFileBytes(ContentsWithPieces(6));
    ASSERT_TRUE(LoadBytes("kept.tra", keptBytes));
    ChoosePiece(2);
    SetPieceLength(3);
    std::string titleBefore = display.title;

    for (const RefusedFile& refused : RefusedFiles()) {
        SCOPED_TRACE(refused.name);
        TrackDocument before = trackDocument;
        display.messages.clear();
        EXPECT_FALSE(LoadBytes("refused.tra", refused.bytes));
        EXPECT_EQ(std::memcmp(&before, &trackDocument, sizeof before), 0);
        EXPECT_STREQ(trackDocument.path, keptPath.c_str());
        EXPECT_EQ(display.title, titleBefore);
        if (refused.showsMessage) {
            ASSERT_EQ(display.messages.size(), 1u);
            EXPECT_EQ(display.messages[0], "Error!|This is an invalid track file!");
        } else {
            EXPECT_TRUE(display.messages.empty());
        }
    }
    // The next save writes the kept track to its own file, refused files untouched.
    ASSERT_TRUE(SaveTrack());
    std::string saved = ReadFileBytes(keptPath);
    EXPECT_EQ(saved.size(), keptBytes.size());
    EXPECT_EQ(ReadFileBytes(PathInFolder("refused.tra")), RefusedFiles().back().bytes);
}

TEST_F(TrackDocumentTest, MissingFileOnStartLeavesPathEmpty)
{
    ASSERT_TRUE(SetTrackPath(PathInFolder("absent.tra").c_str()));
    EXPECT_FALSE(LoadTrack());
    EXPECT_STREQ(trackDocument.path, "");
    ASSERT_TRUE(SetTrackPath("\"quoted.tra\""));
    EXPECT_FALSE(LoadTrack());
    EXPECT_STREQ(trackDocument.path, "");
    EXPECT_TRUE(display.messages.empty());
    EXPECT_FALSE(trackDocument.isLoaded);
}

TEST_F(TrackDocumentTest, PathThatDoesNotFitIsRefused)
{
    std::string fits(259, 'a'), tooLong(260, 'a');
    EXPECT_TRUE(SetTrackPath(fits.c_str()));
    EXPECT_FALSE(SetTrackPath(tooLong.c_str()));
    EXPECT_STREQ(trackDocument.path, fits.c_str());
}

TEST_F(TrackDocumentTest, FailedSaveKeepsOldFileAndDirtyAndSaysSo)
{
    std::string path = PathInFolder("held.tra");
    std::string bytes = TrackFileBytes(ContentsWithPieces(4));
    ASSERT_TRUE(LoadBytes("held.tra", bytes));
    ReadBackPitch(42, false);
    // The new file cannot be made where it would go.
    ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0700), 0);

    EXPECT_FALSE(SaveTrack());
    EXPECT_TRUE(trackDocument.isDirty);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    ASSERT_EQ(display.messages.size(), 1u);
    EXPECT_EQ(display.messages[0].rfind("Error!|", 0), 0u);
    EXPECT_NE(display.messages[0].find(path), std::string::npos);

    rmdir((path + ".tmp").c_str());
    EXPECT_TRUE(SaveTrack());
    EXPECT_EQ(static_cast<int8_t>(ReadFileBytes(path)[82 + 2]), 42);
}

TEST_F(TrackDocumentTest, SaveIntoVanishedFolderFails)
{
    std::string subfolder = PathInFolder("gone");
    ASSERT_EQ(mkdir(subfolder.c_str(), 0700), 0);
    WriteFileBytes(subfolder + "/t.tra", TrackFileBytes(ContentsWithPieces(2)));
    ASSERT_TRUE(SetTrackPath((subfolder + "/t.tra").c_str()));
    ASSERT_TRUE(LoadTrack());
    std::filesystem::remove_all(subfolder);

    EXPECT_FALSE(ForceSave());
    EXPECT_TRUE(trackDocument.isDirty);
    EXPECT_EQ(display.messages.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(subfolder));
}

TEST_F(TrackDocumentTest, SaveBeforeLoadWritesNothing)
{
    ASSERT_TRUE(SetTrackPath(PathInFolder("never.tra").c_str()));
    trackDocument.isDirty = 1;
    EXPECT_FALSE(SaveTrack());
    EXPECT_FALSE(SaveTrackAs(PathInFolder("never.tra").c_str()));
    EXPECT_FALSE(std::filesystem::exists(PathInFolder("never.tra")));
    EXPECT_TRUE(display.messages.empty());
}

struct PromptCase {
    const char* name;
    bool dirty;
    std::vector<MessageAnswer> answers;
    bool saveFails;
    bool expectedResult;
    bool expectedDirty;
    size_t expectedMessages;
};

TEST_F(TrackDocumentTest, ConfirmSaveChangesFollowsTheAnswer)
{
    const PromptCase cases[] = {
        {"clean track asks nothing", false, {}, false, true, false, 0},
        {"Cancel stops the caller", true, {ANSWER_CANCEL}, false, false, true, 1},
        {"No goes on unsaved", true, {ANSWER_NO}, false, true, true, 1},
        {"Yes saves", true, {ANSWER_YES}, false, true, false, 1},
        {"Yes with a failed save stops", true, {ANSWER_YES, ANSWER_OK}, true, false, true, 2},
    };
    for (const PromptCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetTrackDocument();
        display.Clear();
        std::string path = PathInFolder("prompt.tra");
        std::string bytes = TrackFileBytes(ContentsWithPieces(3));
        ASSERT_TRUE(LoadBytes("prompt.tra", bytes));
        if (c.dirty)
            SetPieceAttribute(1);  // pending, reaches the piece in the prompt
        if (c.saveFails)
            mkdir((path + ".tmp").c_str(), 0700);
        display.answers.assign(c.answers.begin(), c.answers.end());

        EXPECT_EQ(ConfirmSaveChanges(), c.expectedResult);
        EXPECT_EQ(static_cast<bool>(trackDocument.isDirty), c.expectedDirty);
        EXPECT_EQ(display.messages.size(), c.expectedMessages);
        if (c.expectedMessages > 0) {
            EXPECT_EQ(display.messages[0], "Save Track?|This Track Has Not Been Saved! Save Now?");
        }
        if (c.dirty) {
            EXPECT_EQ(trackDocument.pieces[0].code & 0xC0, 0x40);
        }
        bool saved = c.dirty && !c.expectedDirty;
        EXPECT_EQ(ReadFileBytes(path) == bytes, !saved);
        rmdir((path + ".tmp").c_str());
    }
}

TEST_F(TrackDocumentTest, SaveAsWritesNewFileAndNamesIt)
{
    std::string oldPath = PathInFolder("old.tra"), newPath = PathInFolder("new.tra");
    std::string bytes = TrackFileBytes(ContentsWithPieces(4));
    ASSERT_TRUE(LoadBytes("old.tra", bytes));

    ASSERT_TRUE(SaveTrackAs(newPath.c_str()));  // clean track: written all the same
    EXPECT_EQ(ReadFileBytes(newPath), bytes);
    EXPECT_EQ(display.title, "Velari - " + newPath);
    EXPECT_FALSE(trackDocument.isDirty);

    ReadBackPitch(-7, false);
    ASSERT_TRUE(SaveTrack());
    EXPECT_EQ(ReadFileBytes(oldPath), bytes);
    EXPECT_EQ(static_cast<int8_t>(ReadFileBytes(newPath)[82 + 2]), -7);
}

TEST_F(TrackDocumentTest, FailedSaveAsKeepsPathAndCleanState)
{
    std::string path = PathInFolder("stay.tra");
    ASSERT_TRUE(LoadBytes("stay.tra", TrackFileBytes(ContentsWithPieces(4))));
    std::string title = display.title;

    EXPECT_FALSE(SaveTrackAs(PathInFolder("no/such/folder.tra").c_str()));
    EXPECT_STREQ(trackDocument.path, path.c_str());
    EXPECT_FALSE(trackDocument.isDirty);
    EXPECT_EQ(display.title, title);
    EXPECT_EQ(display.messages.size(), 1u);
}

}  // namespace
