// The track logic against a recording stand-in for the main window: loading,
// saving and the unsaved-changes prompt checked against the bytes on disk, and
// the piece codec and the edits against what the user is shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "chosen_piece_edits.h"
#include "edit_history.h"
#include "kept_changes.h"
#include "kept_changes_platform.h"
#include "piece_rows.h"
#include "piece_selection.h"
#include "piece_edit_state.h"
#include "replace_stand_in.h"
#include "track_display.h"
#include "track_document.h"
#include "track_edits.h"
#include "track_name_text.h"
#include "track_bytes.h"

namespace fs = std::filesystem;

static struct DisplayRecorder {
    std::vector<std::string> messages;     // "caption|text"
    MessageAnswer answer = ANSWER_CANCEL;  // to the save question; errors get OK
    std::string title, fields[6];
    std::vector<std::string> pieceLines;
    int selectedLine = -1, choice[3] = {-1, -1, -1};
    std::set<int> chosenLines;
    bool matterhornChecked = false;
} display;

MessageAnswer ShowTrackMessage(const char* text, const char* caption, MessageKind kind)
{
    display.messages.push_back(std::string(caption) + "|" + text);
    return kind == MESSAGE_ERROR ? ANSWER_OK : display.answer;
}
void ShowWindowTitle(const char* title) { display.title = title; }
// The pitch and bank fields report their change before the text call returns;
// beyond its range the up-down control reports its old position (0 here).
void ShowFieldText(TrackField field, const char* text)
{
    display.fields[field] = text;
    int value = std::atoi(text);
    int limit = field == FIELD_PIECE_PITCH ? PITCH_ARROW_LIMIT : BANK_ARROW_LIMIT;
    bool outOfRange = value < -limit || value > limit || !*text;
    if (field == FIELD_PIECE_PITCH)
        ReadBackPitch(outOfRange ? 0 : value, outOfRange);
    if (field == FIELD_PIECE_BANK)
        ReadBackBank(outOfRange ? 0 : value, outOfRange);
}
void ShowMatterhornCheck(bool checked) { display.matterhornChecked = checked; }
void BeginPieceList(int)
{
    display.pieceLines.clear();
    display.selectedLine = -1;
    display.chosenLines.clear();
}
void AddPieceListLine(const char* text) { display.pieceLines.push_back(text); }
void EndPieceList() {}
void SelectPieceListLine(int line)
{
    display.selectedLine = line;
    display.chosenLines.clear();
    if (line >= 0)
        display.chosenLines.insert(line);
}
void SelectPieceListRange(int first, int last)
{
    for (int line = first; line <= last; ++line)
        display.chosenLines.insert(line);
}
void SelectChoice(PieceChoiceList list, int index) { display.choice[list] = index; }
// The window's parts of keeping: its timer, counted, and the other editors' tracks.
static int keepingsScheduled;
static std::set<std::string> otherEditorsTracks;
void ScheduleTrackKeeping() { ++keepingsScheduled; }
bool TrackOpenInOtherEditor(const char* path) { return otherEditorsTracks.count(path) > 0; }
// The platform's decoding, for a code page the track logic has no table of: marks what it was given.
bool DecodeCodePageText(unsigned codePage, const char* bytes, size_t length, char* text, size_t size)
{
    return std::snprintf(text, size, "%u:%.*s", codePage, static_cast<int>(length), bytes) > 0;
}

namespace {

// A header listing count, with reserved bytes that are not zero, a name in Windows-1252 and a designer's
// name without a zero byte; then `records` records (count unless given) of varied codes and values.
std::string Track(int count, int records = -1)
{
    static const uint8_t codes[] = {0x02, 0x44, 0x8A, 0x12, 0x5C, 0xA2, 0x24, 0x66, 0x28, 0xC4, 0x23};
    std::vector<TrackPiece> pieces;
    for (int i = 0; i < (records < 0 ? count : records); ++i)
        pieces.push_back({codes[i % sizeof codes], static_cast<int8_t>(i * 37 % 256), static_cast<int8_t>(i * 13 % 256)});
    return TrackBytes("Caf\xE9 \x80\x9F \x81 Ride", std::string(TRACK_NAME_SIZE, 'D'), 0xA3, pieces, true, count);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TrackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTrackDocument();
        display = DisplayRecorder();
        char pattern[] = "/tmp/velari-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        keptFolder = folder + ".kept";
        fs::create_directory(keptFolder);
        setenv("VELARI_KEPT_FOLDER", keptFolder.c_str(), 1);
    }
    void TearDown() override
    {
        ResetTrackDocument();
        fs::remove_all(folder);
        fs::remove_all(keptFolder);
    }
    std::string In(const std::string& name) const { return folder + "/" + name; }
    // Writes the file and loads it as the command line would; only this load's messages are kept.
    bool LoadBytes(const std::string& name, const std::string& bytes)
    {
        display.messages.clear();
        std::ofstream(In(name), std::ios::binary) << bytes;
        return SetTrackPath(In(name).c_str()) && LoadTrack();
    }
    // A track of three listed pieces whose piece 1, the given one, is chosen.
    void LoadWithPiece(TrackPiece piece)
    {
        std::string bytes = Track(4);
        std::memcpy(&bytes[ByteOfPiece(1, CODE_BYTE)], &piece, sizeof piece);
        ASSERT_TRUE(LoadBytes("piece.tra", bytes));
        ChoosePiece(1);
    }

    std::string folder, keptFolder;
    std::string Kept(const std::string& name) const { return keptFolder + "/" + name; }
};

TEST_F(TrackTest, AcceptedTrackIsShownAndWrittenBackByteForByte)
{
    const struct { int count; uint8_t matterhorn; } rows[] = {{0, 0}, {1, 1}, {5, 0xA3}, {2000, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.count);
        std::string bytes = WithByte(Track(row.count), MATTERHORN_BYTE, row.matterhorn), path = In("t.tra"), copy = In("copy.tra");
        ASSERT_TRUE(LoadBytes("t.tra", bytes));
        // The last record is carried but not listed.
        EXPECT_EQ(display.fields[FIELD_PIECE_COUNT], std::to_string(row.count - 1));
        EXPECT_EQ(display.pieceLines.size(), static_cast<size_t>(std::max(row.count - 1, 0)));
        EXPECT_EQ(display.fields[FIELD_TRACK_NAME], "Café €Ÿ \u0081 Ride");
        EXPECT_EQ(display.fields[FIELD_DESIGNER_NAME], std::string(21, 'D'));
        EXPECT_EQ(display.fields[FIELD_CURRENT_PIECE], row.count > 0 ? "1" : "");
        EXPECT_EQ(display.matterhornChecked, row.matterhorn != 0);
        EXPECT_EQ(display.title, "Velari - " + path);
        EXPECT_FALSE(trackDocument.isDirty);
        EXPECT_FALSE(SaveTrack());  // nothing changed, nothing written

        // Save As writes the track, changed or not, and names the new file.
        ASSERT_TRUE(SaveTrackAs(copy.c_str()));
        EXPECT_EQ(ReadBytes(copy), bytes);
        EXPECT_EQ(display.title, "Velari - " + copy);
        EXPECT_FALSE(trackDocument.isDirty);

        // The check box is its byte alone; the first record is edited even when none is listed.
        ToggleMatterhornSetting();
        ReadBackBank(-3, false);
        ASSERT_TRUE(SaveTrack());  // to the new file
        EXPECT_EQ(ReadBytes(path), bytes);
        bytes[MATTERHORN_BYTE] = row.matterhorn ? 0 : 1;
        if (row.count > 0)
            bytes[ByteOfPiece(0, BANK_BYTE)] = -3;
        EXPECT_EQ(ReadBytes(copy), bytes);
    }
}

TEST_F(TrackTest, RefusedFileLeavesDocumentAsItWas)
{
    const std::string good = Track(3);
    auto with = [&](size_t at, std::string part) { return std::string(good).replace(at, part.size(), part); };
    const std::string invalid = "Error!|This is an invalid track file!";
    const struct { const char* name; std::string bytes, message; } rows[] = {
        {"no such file: said, with the system's reason", "",
         "Error!|The track could not be read from " + In("absent/t.tra") + ".\n\nNo such file or directory"},
        {"header a byte short, count 0", with(COUNT_BYTES, std::string(2, '\0')).substr(0, TRACK_HEADER_SIZE - 1), invalid},
        {"first signature byte", with(0, "r"), invalid},
        {"second signature byte", with(1, "X"), invalid},
        {"count 2001", Track(MAX_TRACK_PIECES + 1), invalid},
        {"count -1", with(COUNT_BYTES, "\xFF\xFF"), invalid},
        {"count 4 with 3 records", Track(4, 3), invalid},
        {"last record cut short", good.substr(0, good.size() - 1), invalid},
    };
    ASSERT_TRUE(LoadBytes("kept.tra", Track(6)));
    ChoosePiece(2);
    SetPieceLength(3);
    const TrackDocument before = trackDocument;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        bool missing = row.bytes.empty();  // nothing is written into a missing folder
        EXPECT_FALSE(LoadBytes(missing ? "absent/t.tra" : "t.tra", row.bytes));
        EXPECT_EQ(std::memcmp(&before, &trackDocument, sizeof before), 0);  // the path included
        EXPECT_EQ(display.messages, std::vector<std::string>{row.message});
    }
}

TEST_F(TrackTest, FailedSaveAsKeepsTheFileTheTrackCameFrom)
{
    ASSERT_TRUE(LoadBytes("held.tra", Track(4)));
    const std::string title = display.title, target = In("dir.tra");
    fs::create_directories(target + "/inner");  // a folder in the way: the replace fails
    EXPECT_FALSE(SaveTrackAs(target.c_str()));
    EXPECT_EQ(trackDocument.path, In("held.tra"));
    EXPECT_FALSE(trackDocument.isDirty);
    EXPECT_EQ(display.title, title);
    EXPECT_EQ(display.messages, std::vector<std::string>{"Error!|The track could not be saved to " + target +
                                                        ". The file on disk was not changed.\n\nIs a directory"});
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);  // no new file left behind
}

// However the system's replace fails, a track stays on disk: the old one,
// the new one, or both under the names the message gives.
TEST_F(TrackTest, AFailedReplaceNeverCostsTheTrack)
{
    const std::string before = Track(3), after = WithByte(Track(3), ByteOfPiece(0, BANK_BYTE), 9);
    const struct { const char* what; ReplaceFailure failure; bool newFileHeld, movesFail, saved;
                   std::string inPlace; std::vector<std::string> aside; const char* message; } rows[] = {
        {"replaced", REPLACE_WORKS, false, false, true, after, {}, ""},
        {"1176, or another error: nothing moved", REPLACE_FAILS_MOVING_NOTHING, false, false, false, before, {},
         "The file on disk was not changed."},
        {"1177: the new file moved in after all", REPLACE_FAILS_WITH_TRACK_ASIDE, false, false, true, after, {}, ""},
        {"1177, the new file held: the old one back", REPLACE_FAILS_WITH_TRACK_ASIDE, true, false, false, before, {},
         "The file on disk was not changed."},
        {"1177, nothing moves: both kept and named", REPLACE_FAILS_WITH_TRACK_ASIDE, false, true, false, "",
         {before, after}, "The track as it was is now "},
        {"the old file gone: the new one moved in", REPLACE_FAILS_WITH_TRACK_GONE, false, false, true, after, {}, ""},
        {"the old file gone, the new one held: named", REPLACE_FAILS_WITH_TRACK_GONE, true, false, false, "",
         {after}, "The track as saved is "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(folder);
        fs::create_directories(folder);
        display.messages.clear();
        ASSERT_TRUE(LoadBytes("t.tra", before));
        ReadBackBank(9, false);
        replaceStandIn = ReplaceStandIn{row.failure, row.newFileHeld, row.movesFail, ""};
        EXPECT_EQ(SaveTrack(), row.saved);
        replaceStandIn = ReplaceStandIn{};
        EXPECT_EQ(static_cast<bool>(trackDocument.isDirty), !row.saved);
        EXPECT_EQ(fs::exists(In("t.tra")) ? ReadBytes(In("t.tra")) : "", row.inPlace);
        std::vector<std::string> aside, named;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path() != In("t.tra")) {
                aside.push_back(ReadBytes(entry.path().string()));
                named.push_back(entry.path().string());
            }
        std::sort(aside.begin(), aside.end());
        std::vector<std::string> expected = row.aside;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(aside, expected);
        ASSERT_EQ(display.messages.size(), row.saved ? 0u : 1u);
        for (const auto& message : display.messages) {
            EXPECT_NE(message.find(row.message), std::string::npos) << message;
            for (const auto& name : named)
                EXPECT_NE(message.find(name), std::string::npos) << message;
        }
    }
}

// The new file has a name of its own in the track's folder, no longer than
// the path has room for; the old one is replaced only by a complete track.
TEST_F(TrackTest, SaveSparesTheFolderAndFitsTheLongestPath)
{
    const std::string deep = std::string(120, 'd') + "/" + std::string(90, 'e');  // 24 + 211 + 1 + 23 = 259
    const struct { const char* what; std::string name; } rows[] = {
        {"beside a person's keep.tra.tmp", "keep.tra"},
        {"a path of 259 characters", deep + "/abcdefghijklmnopqrs.tra"},
        {"259 characters, a name of two", deep + "/" + std::string(21, 'f') + "/x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string track = In(row.name), folderOfTrack = track.substr(0, track.rfind('/')), mine = folderOfTrack + "/keep.tra.tmp";
        ASSERT_LE(track.size(), size_t(PATH_CHARACTERS));
        fs::create_directories(folderOfTrack);
        std::ofstream(mine) << "mine";
        ASSERT_TRUE(LoadBytes(row.name, Track(3)));
        ReadBackBank(9, false);
        EXPECT_EQ(display.title, "*Velari - " + track);
        ASSERT_TRUE(SaveTrack());
        EXPECT_EQ(display.title, "Velari - " + track);
        EXPECT_EQ(ReadBytes(track), WithByte(Track(3), ByteOfPiece(0, BANK_BYTE), 9));
        EXPECT_EQ(ReadBytes(mine), "mine");
        EXPECT_EQ(std::distance(fs::directory_iterator(folderOfTrack), fs::directory_iterator()), 2);
        EXPECT_EQ(display.messages, std::vector<std::string>{});
    }
}

TEST_F(TrackTest, ConfirmSaveChangesFollowsTheAnswer)
{
    const struct { const char* name; bool dirty; MessageAnswer answer; bool saveFails, goesOn, saved; } rows[] = {
        {"clean track: no question", false, ANSWER_CANCEL, false, true, false},
        {"Cancel stops", true, ANSWER_CANCEL, false, false, false},
        {"No goes on unsaved", true, ANSWER_NO, false, true, false},
        {"Yes saves", true, ANSWER_YES, false, true, true},
        {"Yes and a failed save stops", true, ANSWER_YES, true, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = In("prompt.tra");
        ASSERT_TRUE(LoadBytes("prompt.tra", Track(3)));
        display.answer = row.answer;
        if (row.dirty)
            SetPieceAttribute(1);  // pending: it reaches piece 1 before the question
        if (row.saveFails) {  // a folder in the track's place
            fs::remove(path);
            fs::create_directories(path + "/in");
        }

        EXPECT_EQ(ConfirmSaveChanges(), row.goesOn);
        EXPECT_EQ(static_cast<bool>(trackDocument.isDirty), row.dirty && !row.saved);
        EXPECT_EQ(trackDocument.pieces[0].code, row.dirty ? 0x42 : 0x02);
        EXPECT_EQ(row.saveFails ? 0x02 : ReadBytes(path)[ByteOfPiece(0, CODE_BYTE)], row.saved ? 0x42 : 0x02);
        EXPECT_EQ(display.messages.size(), static_cast<size_t>(row.dirty + row.saveFails));
        fs::remove_all(path);
    }
}

TEST_F(TrackTest, EveryCodeIsShownAndKeptByAnEditOfPitch)
{
    struct Row { uint8_t code; const char* line; int shape, length, attribute; };
    // Codes that name no shape, or (bits 6 and 7 both set) no attribute.
    std::vector<Row> rows = {{0x7E, "Unknown", -1, -1, 1}, {0xC4, "Lift", 0, 1, -1}, {0xFF, "Unknown", -1, -1, -1}};
    for (uint8_t code : {0x00, 0x01, 0x03, 0x21, 0x23, 0x25, 0x27, 0x29, 0x2A})
        rows.push_back({code, "Unknown", -1, -1, 0});
    const struct { const char* line; std::vector<uint8_t> codes; } shapes[] = {
        {"Lift", {0x02, 0x04, 0x06, 0x08}}, {"Left Turn", {0x0A, 0x0C, 0x0E, 0x10}},
        {"Straight", {0x12, 0x14, 0x16, 0x18}}, {"Right Turn", {0x1A, 0x1C, 0x1E, 0x20}},
        {"Corkscrew", {0x22}}, {"Little Loop", {0x24}}, {"Big Loop", {0x26}}, {"Fake Tunnel", {0x28}}};
    const uint8_t attributeBits[] = {0x00, 0x40, 0x80};  // none, Brake, Accelerate
    for (int shape = 0; shape < 8; ++shape) {
        for (size_t length = 0; length < shapes[shape].codes.size(); ++length)
            for (int attribute = 0; attribute < 3; ++attribute)
                rows.push_back({static_cast<uint8_t>(shapes[shape].codes[length] | attributeBits[attribute]),
                                shapes[shape].line, shape, shape < 4 ? int(length) : -1, attribute});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << int(row.code));
        LoadWithPiece({row.code, -128, 100});  // beyond the arrows: shown as stored
        EXPECT_EQ(display.pieceLines[1], row.line);
        const std::vector<int> choices(display.choice, display.choice + 3);  // type, length, attributes
        EXPECT_EQ(choices, (std::vector<int>{row.shape, row.length, row.attribute}));
        EXPECT_EQ(display.fields[FIELD_PIECE_BANK] + " " + display.fields[FIELD_PIECE_PITCH], "-128 100");
        EXPECT_EQ(display.selectedLine, 1);
        EXPECT_FALSE(trackDocument.isDirty);

        ReadBackPitch(7, false);
        ChoosePiece(2);  // the edit reaches the piece
        EXPECT_EQ(trackDocument.pieces[1].code, row.code);
        EXPECT_EQ(trackDocument.pieces[1].pitch, 7);
    }
}

// What a person does, one step each, as the window reports it. The check box
// turns itself over when clicked, then tells the track logic.
using Step = std::function<void()>;
Step Piece(int line) { return [=] { ChoosePiece(line); }; }
Step Type(int entry) { return [=] { ChangePieceType(entry); }; }
Step Length(int entry) { return [=] { SetPieceLength(entry); }; }
Step Attribute(int entry) { return [=] { SetPieceAttribute(entry); }; }
const Step PITCH_UP = [] { ReadBackPitch(trackDocument.editState.pitch + 1, false); },
           PITCH_DOWN = [] { ReadBackPitch(trackDocument.editState.pitch - 1, false); },
           BANK_UP = [] { ReadBackBank(trackDocument.editState.bank + 1, false); },
           MATTERHORN = [] { display.matterhornChecked = !display.matterhornChecked; ToggleMatterhornSetting(); },
           UNDO = [] { UndoEdit(); }, REDO = [] { RedoEdit(); }, SAVE = [] { SaveTrack(); }, LOAD_AGAIN = [] { LoadTrack(); };

TEST_F(TrackTest, EditsReachThePieceInTheirOrder)
{
    // length: the entry of "Piece Length" the program last selected.
    const struct { const char* what; uint8_t code; std::vector<Step> steps; uint8_t atOnce; const char* line; uint8_t chosen; int length; } rows[] = {
        {"a Straight of length 4 becomes a Corkscrew, which has none", 0x18, {Type(4)}, 0x22, "Corkscrew", 0x22, 3},
        {"a Little Loop becomes a Straight of 12 Feet at once", 0x24, {Type(2)}, 0x12, "Straight", 0x12, 0},
        {"a Lift of 12 Feet at once, then its length", 0x22, {Type(0), Length(2)}, 0x02, "Lift", 0x06, 0},
        {"a new type takes the pending length at once", 0x0C, {Length(3), Type(3)}, 0x20, "Right Turn", 0x20, 1},
        {"length and attribute wait for the next piece", 0x04, {Length(0), Attribute(2)}, 0x04, "Lift", 0x82, 1},
        {"an attribute", 0x12, {Attribute(1)}, 0x12, "Straight", 0x52, 0},
        {"a changed code never names both attributes", 0xC4, {Type(2)}, 0x14, "Straight", 0x14, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        LoadWithPiece({row.code, 5, 6});
        for (const Step& step : row.steps)
            step();
        EXPECT_TRUE(trackDocument.isDirty);
        EXPECT_EQ(trackDocument.pieces[1].code, row.atOnce);
        EXPECT_EQ(display.pieceLines[1], row.line);
        EXPECT_EQ(display.selectedLine, 1);
        EXPECT_EQ(display.choice[CHOICE_PIECE_LENGTH], row.length);
        ChoosePiece(0);
        EXPECT_EQ(trackDocument.pieces[1].code, row.chosen);
    }
}

TEST_F(TrackTest, UndoAndRedoWalkTheStepsAndTheFileDecidesWhatIsUnsaved)
{
    const std::string loaded = Track(4);
    // The file a save writes: as loaded, or with one byte of a piece changed.
    auto changed = [&](int piece, PieceByte byte, int value) { return WithByte(loaded, ByteOfPiece(piece, byte), value); };
    const std::string pitchUp = changed(1, PITCH_BYTE, 14);  // piece 1's pitch of 13, one step up
    std::vector<Step> fullHistory = {BANK_UP};
    for (int i = 0; i < EDIT_HISTORY_CAPACITY / 2; ++i)
        fullHistory.insert(fullHistory.end(), {PITCH_UP, PITCH_DOWN});
    fullHistory.insert(fullHistory.end(), EDIT_HISTORY_CAPACITY + 1, UNDO);
    const struct { const char* what; std::vector<Step> steps; std::string saved; int current; bool dirty, canUndo, canRedo; } rows[] = {
        {"each change one step, the last undone first",
         {Piece(1), PITCH_UP, PITCH_UP, Piece(2), Attribute(1), MATTERHORN, UNDO, UNDO, UNDO}, pitchUp, 1, true, true, true},
        {"undone to the file: saved", {Piece(1), PITCH_UP, UNDO}, loaded, 1, false, false, true},
        {"redone: unsaved", {Piece(1), PITCH_UP, UNDO, REDO}, pitchUp, 1, true, true, false},
        {"a value shown is no step; nothing to undo", {Piece(1), Piece(2), UNDO, REDO}, loaded, 2, false, false, false},
        {"two steps back to the file: saved", {Piece(1), PITCH_UP, PITCH_DOWN}, loaded, 1, false, true, false},
        {"the pending change of the same piece stays", {Piece(1), PITCH_UP, BANK_UP, UNDO}, pitchUp, 1, true, true, true},
        {"Undo shows the step's piece, its line at once", {Piece(2), Type(3), Piece(0), UNDO}, loaded, 2, false, false, true},
        {"a Little Loop made a Straight of 12 Feet: one step", {Piece(1), Type(5), Piece(0), Piece(1), Type(2), UNDO},
         changed(1, CODE_BYTE, 0x64), 1, true, true, true},
        {"the track's flag leaves the piece", {MATTERHORN, Piece(2), UNDO}, loaded, 2, false, false, true},
        {"a change after Undo drops Redo", {Piece(1), PITCH_UP, PITCH_UP, UNDO, UNDO, BANK_UP, REDO},
         changed(1, BANK_BYTE, 38), 1, true, true, false},
        {"Undo past a save: unsaved", {Piece(1), PITCH_UP, SAVE, UNDO}, loaded, 1, true, false, true},
        {"Redo back to the save: saved", {Piece(1), PITCH_UP, SAVE, UNDO, REDO}, pitchUp, 1, false, true, false},
        {"Redo after a save: unsaved", {Piece(1), PITCH_UP, PITCH_UP, UNDO, SAVE, REDO}, changed(1, PITCH_BYTE, 15), 1, true, true, false},
        {"a load starts with no steps", {Piece(1), PITCH_UP, SAVE, LOAD_AGAIN, UNDO}, pitchUp, 0, false, false, false},
        {"a full history keeps the newest steps", fullHistory, changed(0, BANK_BYTE, 1), 0, true, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(LoadBytes("undo.tra", loaded));
        for (const Step& step : row.steps)
            step();
        EXPECT_EQ(static_cast<bool>(trackDocument.isDirty), row.dirty);
        EXPECT_EQ(CanUndoEdit(), row.canUndo);
        EXPECT_EQ(CanRedoEdit(), row.canRedo);
        EXPECT_EQ(trackDocument.currentPiece, row.current);
        EXPECT_EQ(display.selectedLine, row.current);
        EXPECT_EQ(display.fields[FIELD_CURRENT_PIECE], std::to_string(row.current + 1));
        std::vector<std::string> lines;
        for (int piece = 0; piece < 3; ++piece)
            lines.push_back(PieceListText(trackDocument.pieces[piece].code));
        EXPECT_EQ(display.pieceLines, lines);  // as held, at once
        EXPECT_EQ(display.matterhornChecked, trackDocument.header.matterhornSetting != 0);
        EXPECT_EQ(display.title, (row.dirty ? "*Velari - " : "Velari - ") + In("undo.tra"));
        ASSERT_TRUE(SaveTrackAs(In("saved.tra").c_str()));
        EXPECT_EQ(ReadBytes(In("saved.tra")), row.saved);
    }
}

TEST_F(TrackTest, NothingHappensWithoutATrackOrAnEntry)
{
    ASSERT_TRUE(SetTrackPath(In("never.tra").c_str()));  // but nothing loaded
    ChangePieceType(2);
    ToggleMatterhornSetting();
    EXPECT_FALSE(trackDocument.isDirty);  // or leaving would ask to save what cannot be saved
    trackDocument.isDirty = 1;
    EXPECT_FALSE(SaveTrack());

    LoadWithPiece({0x44, 0, 0});
    std::string greek;  // two bytes a character
    for (int i = 0; i < PATH_CHARACTERS; ++i)
        greek += "\u03A9";
    EXPECT_TRUE(SetTrackPath(greek.c_str()));
    EXPECT_FALSE(SetTrackPath((greek + "\u03A9").c_str()));
    EXPECT_EQ(trackDocument.path, greek);
    ChangePieceType(-1);  // a list with no entry selected
    ChoosePiece(-1);
    EXPECT_FALSE(trackDocument.isDirty);
    EXPECT_EQ(trackDocument.currentPiece, 1);
}

// Several pieces chosen: a track of a Lift of 48 Feet, a Straight of 36
// Feet braking, a Corkscrew accelerating, a Straight of 12 Feet and a
// Tunnel, each with a pitch and bank of its own but pieces 1 and 3 alike.
class ChosenPiecesTest : public TrackTest {
protected:
    void SetUp() override
    {
        TrackTest::SetUp();
        const std::vector<TrackPiece> pieces = {{0x08, 1, 2}, {0x56, 5, 5}, {0xA2, 1, -3}, {0x12, 5, 5}, {0x28, 0, 0}, {0x02, 0, 0}};
        ASSERT_TRUE(LoadBytes("five.tra", TrackBytes("Five", "Quorvane", 0, pieces)));
        loaded = ReadBytes(In("five.tra"));
    }
    void Choose(std::vector<int> lines, int anchor = 0) { ChoosePieceLines(lines.data(), int(lines.size()), anchor); }
    // What the window shows: Current Piece, the three lists' entries, pitch and bank, the chosen lines.
    std::string Shown() const
    {
        std::string lines;
        for (int line : display.chosenLines)
            lines += " " + std::to_string(line);
        return display.fields[FIELD_CURRENT_PIECE] + "|" + std::to_string(display.choice[0]) + " " +
               std::to_string(display.choice[1]) + " " + std::to_string(display.choice[2]) + "|" +
               display.fields[FIELD_PIECE_PITCH] + " " + display.fields[FIELD_PIECE_BANK] + "|" + lines;
    }
    // The five pieces as a save writes them, as code/bank/pitch.
    std::string Pieces() const
    {
        std::string pieces;
        for (int i = 0; i < 5; ++i) {
            const TrackPiece& piece = trackDocument.pieces[i];
            pieces += std::to_string(piece.code) + "/" + std::to_string(piece.bank) + "/" + std::to_string(piece.pitch) + " ";
        }
        return pieces;
    }
    std::string loaded;
};

TEST_F(ChosenPiecesTest, EachFieldShowsTheValueTheChosenPiecesShare)
{
    const struct { const char* what; std::vector<int> lines; std::string shown; bool pitchSteps; } rows[] = {
        {"two of a type, pitch and bank", {1, 3}, "2 pieces|2 -1 -1|5 5| 1 3", true},
        {"a run of three", {2, 0, 1}, "1-3|-1 -1 -1| | 0 1 2", false},
        {"the same type, not its length", {0, 3}, "2 pieces|-1 -1 0| | 0 3", false},
        {"one line is the piece alone", {3}, "4|2 0 0|5 5| 3", true},
        {"lines past the list are no pieces", {1, 5, 7}, "2|2 2 1|5 5| 1", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Choose(row.lines);
        if (row.lines.size() > 1 && row.lines[1] < 5)  // the list shows the user's choice itself
            ShowChosenPieces(true);
        EXPECT_EQ(Shown(), row.shown);
        EXPECT_EQ(PieceFieldCanStep(FIELD_PIECE_PITCH), row.pitchSteps);
        EXPECT_FALSE(trackDocument.isDirty);  // showing is no change
        EXPECT_FALSE(CanUndoEdit());
    }
}

TEST_F(ChosenPiecesTest, AChangeSetsThatFieldOnEachChosenPieceAsOneStep)
{
    const std::string asLoaded = "8/1/2 86/5/5 162/1/-3 18/5/5 40/0/0 ";
    const struct { const char* what; std::vector<int> lines; Step change; std::string pieces, shown; } rows[] = {
        {"a type keeps each piece's length, a Corkscrew takes 12 Feet", {0, 1, 2}, Type(1),
         "16/1/2 78/5/5 138/1/-3 18/5/5 40/0/0 ", "1-3|1 -1 -1| | 0 1 2"},
        {"a type without lengths", {0, 3}, Type(6), "38/1/2 86/5/5 162/1/-3 38/5/5 40/0/0 ", "2 pieces|6 -1 0| | 0 3"},
        {"a length where a type takes one", {1, 2, 3}, Length(0), "8/1/2 82/5/5 162/1/-3 18/5/5 40/0/0 ", "2-4|-1 -1 -1| | 1 2 3"},
        {"an attribute", {0, 1}, Attribute(2), "136/1/2 150/5/5 162/1/-3 18/5/5 40/0/0 ", "1-2|-1 -1 2| | 0 1"},
        {"a pitch typed into an empty field", {0, 4}, [] { ReadBackPitch(-85, false); },
         "8/1/-85 86/5/5 162/1/-3 18/5/5 40/0/-85 ", "2 pieces|-1 -1 0| | 0 4"},
        {"a bank stepped from the shared value", {1, 3}, [] { ReadBackBank(6, false); },
         "8/1/2 86/6/5 162/1/-3 18/6/5 40/0/0 ", "2 pieces|2 -1 -1|5 5| 1 3"},
        {"a text outside the arrows' range sets nothing", {1, 3}, [] { ReadBackBank(0, true); }, asLoaded, "2 pieces|2 -1 -1|5 5| 1 3"},
        {"the value they share already is no step", {1, 3}, [] { ReadBackPitch(5, false); }, asLoaded, "2 pieces|2 -1 -1|5 5| 1 3"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(LoadBytes("five.tra", loaded));
        Choose(row.lines);
        ShowChosenPieces(true);
        row.change();
        EXPECT_EQ(Pieces(), row.pieces);
        EXPECT_EQ(Shown(), row.shown);
        const bool changed = row.pieces != asLoaded;
        EXPECT_EQ(bool(trackDocument.isDirty), changed);
        EXPECT_EQ(display.title[0] == '*', changed);
        for (int line = 0; line < 5; ++line)
            EXPECT_EQ(display.pieceLines[line], PieceListText(trackDocument.pieces[line].code));
        // One step back whatever the count, the pieces shown chosen; and made again.
        ChoosePiece(4);
        EXPECT_EQ(UndoEdit(), changed);
        EXPECT_EQ(Pieces(), asLoaded);
        EXPECT_FALSE(CanUndoEdit());
        EXPECT_FALSE(trackDocument.isDirty);
        if (!changed)
            continue;
        std::set<int> undone;  // the pieces the step changed
        std::istringstream before(asLoaded), after(row.pieces);
        std::string was, is;
        for (int line = 0; before >> was && after >> is; ++line)
            if (was != is)
                undone.insert(line);
        EXPECT_EQ(display.chosenLines, undone);
        RedoEdit();
        EXPECT_EQ(Pieces(), row.pieces);
        EXPECT_EQ(display.pieceLines[0], PieceListText(trackDocument.pieces[0].code));
    }
}

TEST_F(ChosenPiecesTest, PasteChangesThePiecesFromTheFirstChosenOrNothing)
{
    const std::string asLoaded = "8/1/2 86/5/5 162/1/-3 18/5/5 40/0/0 ";
    const std::string rows2 = "\tLift\t12 Feet\tBrake\t1\t2\r\n\tTunnel\t\tNone\t3\t4\r\n";
    const struct { const char* what; std::vector<int> lines; std::string text, pieces, shown, message; } rows[] = {
        {"two rows over a pending edit's piece", {3}, rows2, "8/1/2 86/5/5 162/1/-3 66/2/1 40/4/3 ", "4-5|-1 -1 -1| | 3 4", ""},
        {"from the first of several chosen", {2, 0}, rows2, "66/2/1 40/4/3 162/1/-3 18/5/5 40/0/0 ", "1-2|-1 -1 -1| | 0 1", ""},
        {"one row", {1}, "1\tStraight\t36 Feet\tBrake\t5\t5", asLoaded, "2|2 2 1|5 5| 1", ""},
        {"one row past the end", {4}, rows2, asLoaded, "5|7 -1 0|0 0| 4",
         "Paste|Only 1 rows fit from piece 5 to the last piece; the clipboard holds 2."},
        {"a bad row after a good one", {0}, "\tLift\t12 Feet\tBrake\t1\t2\n\tLift\t12 Feet\tNone\t90\t0", asLoaded,
         "1|0 3 0|2 1| 0", "Paste|Line 2 has the pitch 90, outside -85 to 85."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(LoadBytes("five.tra", loaded));
        Choose(row.lines);
        ShowChosenPieces(true);
        if (row.lines.size() == 1) {
            ReadBackPitch(7, false);  // pending, then pasted over
            ReadBackPitch(trackDocument.pieces[row.lines[0]].pitch, false);
        }
        EXPECT_EQ(PastePieceRows(row.text.c_str()), row.message.empty());
        EXPECT_EQ(Pieces(), row.pieces);
        EXPECT_EQ(Shown(), row.shown);
        EXPECT_EQ(display.messages, row.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.message});
        if (row.pieces != asLoaded) {
            UndoEdit();
            EXPECT_EQ(Pieces(), asLoaded);
            EXPECT_FALSE(trackDocument.isDirty);
        }
    }
}

TEST_F(ChosenPiecesTest, CopyWritesTheChosenPiecesInOrderAndGoToTakesAListedNumber)
{
    Choose({3, 0});
    char text[4 * PIECE_ROW_SIZE];
    ASSERT_GT(CopyChosenPieceRows(text, sizeof text), 0u);
    EXPECT_STREQ(text, "1\tLift\t48 Feet\tNone\t2\t1\r\n4\tStraight\t12 Feet\tNone\t5\t5\r\n");
    EXPECT_EQ(CopyChosenPieceRows(text, 20), 0u);
    ChoosePiece(1);
    ReadBackPitch(-1, false);  // the pending edit is copied
    ASSERT_GT(CopyChosenPieceRows(text, sizeof text), 0u);
    EXPECT_STREQ(text, "2\tStraight\t36 Feet\tBrake\t-1\t5\r\n");

    const struct { const char* text; int piece; } numbers[] = {{"1", 0}, {" 5 ", 4}, {"0", -1}, {"6", -1}, {"-1", -1},
                                                              {"2x", -1}, {"", -1}, {"+3", -1}, {"99999999999", -1}};
    for (const auto& number : numbers) {
        SCOPED_TRACE(number.text);
        int piece = -1;
        char message[64] = "";
        EXPECT_EQ(ParsePieceNumber(number.text, piece, message, sizeof message), number.piece >= 0);
        EXPECT_EQ(piece, number.piece);
        EXPECT_STREQ(message, number.piece >= 0 ? "" : "Enter a piece number from 1 to 5.");
    }
    // A choice of all of them, and a history full of large changes forgets whole steps.
    ChooseAllPieces();
    EXPECT_EQ(display.fields[FIELD_CURRENT_PIECE], "1-5");
    Choose({0, 1, 2});  // three bytes a step, which the history's size does not divide by
    for (int i = 0; i < EDIT_HISTORY_CAPACITY / 3 + 10; ++i)
        ReadBackPitch(i % 2, false);
    int undone = 0;
    while (UndoEdit())
        ++undone;
    EXPECT_EQ(undone, EDIT_HISTORY_CAPACITY / 3);
    EXPECT_EQ(Pieces(), "8/1/1 86/5/1 162/1/1 18/5/5 40/0/0 ");
}


// The files in the folder of kept changes, each "name:bytes".
std::set<std::string> KeptFiles(const std::string& folder)
{
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.insert(entry.path().filename().string() + ":" + std::to_string(fs::file_size(entry.path())));
    return files;
}

std::string KeptName(const std::string& track, const char* ending = KEPT_FILE_ENDING)
{
    char name[KEPT_NAME_SIZE];
    KeptFileName(track.c_str(), ending, name);
    return name;
}

// Which file keeps the unsaved track, and when it goes; the keeping runs
// when the window's timer would, once per change that makes it due.
TEST_F(TrackTest, KeptFileFollowsTheUnsavedTrack)
{
    const std::string a = In("a.tra"), b = In("b.tra"), kept = KeptName(a) + ":" + std::to_string(8 + 2 + a.size() + 16 + 4 + 82 + 5 * 3 + 4);
    ASSERT_TRUE(LoadBytes("b.tra", Track(2)) && LoadBytes("a.tra", Track(5)));
    const struct { const char* what; std::function<void()> action; int scheduled; std::set<std::string> files; } rows[] = {
        {"an edit", [] { SetPieceLength(2); }, 1, {kept}},
        {"two more, one keeping", [] { ToggleMatterhornSetting(); ReadBackPitch(4, false); }, 1, {kept}},
        {"Undo back to the file", [] { UndoEdit(); UndoEdit(); UndoEdit(); }, 1, {}},
        {"Redo, then Save", [] { RedoEdit(); KeepDueTrack(); SaveTrack(); }, 1, {}},
        {"an edit, No to the question", [] { ReadBackBank(9, false); display.answer = ANSWER_NO; ConfirmSaveChanges(); }, 1, {}},
        {"the end of the session keeps it all the same", [] { KeepTrackNow(); }, 0, {kept}},
        {"another track replaces it", [&] { SetTrackPath(b.c_str()); LoadTrack(); }, 0, {}},
        {"Save As", [&] { ToggleMatterhornSetting(); KeepDueTrack(); SaveTrackAs(a.c_str()); }, 1, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        keepingsScheduled = 0;
        row.action();
        KeepDueTrack();
        EXPECT_EQ(keepingsScheduled, row.scheduled);
        EXPECT_EQ(KeptFiles(keptFolder), row.files);
    }
    fs::create_directory(Kept(KeptName(a)));  // a folder in the kept file's place: the move fails
    ToggleMatterhornSetting();
    EXPECT_FALSE(KeepDueTrack());
    EXPECT_FALSE(fs::exists(Kept(KeptName(a, NEW_KEPT_ENDING))));
}

// At start: which kept changes come back, exactly as they were left, and
// what is said once about a changed or a damaged file; a write cut off
// half-way leaves the good copy.
TEST_F(TrackTest, KeptChangesComeBackAtStart)
{
    const std::string a = In("a.tra"), b = In("b.tra"), keptA = Kept(KeptName(a)), keptB = Kept(KeptName(b));
    std::string kept[2];
    fs::file_time_type loaded[2];
    for (const std::string* track : {&a, &b}) {  // piece 2 made 48 feet long, the Matterhorn Setting switched
        ASSERT_TRUE(LoadBytes(track->substr(folder.size() + 1), Track(6)));
        ChoosePiece(2);
        SetPieceLength(3);
        ToggleMatterhornSetting();
        ASSERT_TRUE(KeepTrackNow());
        kept[track == &b] = ReadBytes(track == &b ? keptB : keptA);
        loaded[track == &b] = fs::last_write_time(*track);
    }
    const std::string changed = "Velari|The unsaved changes to " + a + " are back, but the file has changed on disk",
                      putAside = "Velari|Unsaved changes kept from before could not be brought back (1 file)";
    const struct { const char* what; std::function<void()> before; std::string requested, back, message; } rows[] = {
        {"none asked for: the most recent", [] {}, "", b, ""},
        {"that same track, though older", [] {}, a, a, ""},
        {"another track asked for: they wait", [] {}, In("c.tra"), "", ""},
        {"one open in another editor", [&] { otherEditorsTracks = {b}; }, "", a, ""},
        {"its file changed on disk", [&] { std::ofstream(a) << Track(7); }, a, a, changed},
        {"cut short", [&] { fs::resize_file(keptB, kept[1].size() - 1); }, "", a, putAside},
        {"not a kept file", [&] { std::ofstream(keptB) << Track(6); }, "", a, putAside},
        {"a byte altered", [&] { std::ofstream(keptB) << WithByte(kept[1], kept[1].size() - 9, 0x7F); }, "", a, putAside},
        {"its track gone", [&] { fs::remove(b); }, "", a, putAside},
        {"a write cut off: half a new file", [&] { std::ofstream(Kept(KeptName(b, NEW_KEPT_ENDING))) << kept[1].substr(0, 99); }, "", b, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ResetTrackDocument();
        fs::remove_all(keptFolder);
        fs::create_directory(keptFolder);
        for (const std::string* track : {&a, &b}) {
            std::ofstream(*track) << Track(6);
            fs::last_write_time(*track, loaded[track == &b]);
        }
        std::ofstream(keptA) << kept[0];
        std::ofstream(keptB) << kept[1];
        fs::last_write_time(keptB, fs::last_write_time(keptA) + std::chrono::seconds(1));
        otherEditorsTracks.clear();
        display.messages.clear();
        row.before();
        EXPECT_EQ(BringBackKeptChanges(row.requested.c_str()), !row.back.empty());
        EXPECT_EQ(display.messages.size(), row.message.empty() ? 0u : 1u);
        if (!row.message.empty() && !display.messages.empty()) {
            EXPECT_EQ(display.messages[0].substr(0, row.message.size()), row.message);
        }
        EXPECT_EQ(fs::exists(Kept(KeptName(b, DAMAGED_KEPT_ENDING))), row.message == putAside);
        if (row.back.empty()) {
            EXPECT_FALSE(trackDocument.isLoaded);
            continue;
        }
        EXPECT_EQ(display.title, "*Velari - " + row.back);
        EXPECT_EQ(display.fields[FIELD_CURRENT_PIECE], "3");
        EXPECT_EQ(ReadBytes(row.back), row.message == changed ? Track(7) : Track(6));  // untouched until saved
        ASSERT_TRUE(KeepTrackNow());  // kept again as it came back, save the file's new version
        if (row.message != changed) {
            EXPECT_EQ(ReadBytes(row.back == a ? keptA : keptB), kept[row.back == b]);
        }
    }
}

}  // namespace
