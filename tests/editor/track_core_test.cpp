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
#include <set>
#include <iterator>
#include <string>
#include <vector>

#include "edit_history.h"
#include "kept_changes.h"
#include "kept_changes_platform.h"
#include "piece_edit_state.h"
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
    bool outOfRange = value < -limit || value > limit;
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
}
void AddPieceListLine(const char* text) { display.pieceLines.push_back(text); }
void EndPieceList() {}
void SelectPieceListLine(int line) { display.selectedLine = line; }
void SelectChoice(PieceChoiceList list, int index) { display.choice[list] = index; }
// The platform's decoding, for a code page the track logic has no table of: marks what it was given.
// The window's parts of keeping: its timer, counted, and the other editors' tracks.
static int keepingsScheduled;
static std::set<std::string> otherEditorsTracks;
void ScheduleTrackKeeping() { ++keepingsScheduled; }
bool TrackOpenInOtherEditor(const char* path) { return otherEditorsTracks.count(path) > 0; }
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
