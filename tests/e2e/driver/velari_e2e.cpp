// The editor's end-to-end cases: Velari.exe runs under Wine beside this
// driver, which does what a person does with it and checks what they would
// see, and the bytes that reach the disk.
//
// Usage: velari_e2e.exe CASE...      run the named cases ("all": every one)
//        velari_e2e.exe --list       print the case names
//        velari_e2e.exe --check-list NAME...   the names must be every case
//
// Each case works in a fresh folder D:\cases\CASE.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "track_files.h"
#include "velari_app.h"
#include "win_driver.h"

using namespace e2e;

namespace {

std::string caseFolder;

const std::string& CaseFolder()
{
    return caseFolder;
}

std::string InCase(const char* name)
{
    return caseFolder + "\\" + name;
}

std::string WriteTrack(const char* name, const std::string& bytes)
{
    const std::string path = InCase(name);
    EXPECT(WriteBytes(path, bytes), "cannot write %s", path.c_str());
    return path;
}

void ExpectFile(const std::string& path, const std::string& expected, const char* what)
{
    std::string actual;
    if (!EXPECT(ReadBytes(path, &actual), "%s: cannot read %s", what, path.c_str()))
        return;
    std::string difference = DescribeDifference(expected, actual);
    EXPECT(difference.empty(), "%s: %s differs: %s", what, path.c_str(), difference.c_str());
}

void ExpectShown(const Velari& app, const ShownPiece& expected, const char* what)
{
    ShownPiece shown = app.Shown();
    bool same = shown.current == expected.current && shown.type == expected.type &&
                shown.length == expected.length && shown.attribute == expected.attribute &&
                shown.pitch == expected.pitch && shown.bank == expected.bank;
    EXPECT(same, "%s: shown %s, expected %s", what, Describe(shown).c_str(),
           Describe(expected).c_str());
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size() && i < 12; ++i)
        text += (i ? "|" : "") + lines[i];
    if (lines.size() > 12)
        text += "|...";
    return text;
}

void ExpectLines(const Velari& app, const std::vector<std::string>& expected, const char* what)
{
    std::vector<std::string> lines = app.Lines();
    if (lines == expected)
        return;
    size_t at = 0;
    while (at < lines.size() && at < expected.size() && lines[at] == expected[at])
        ++at;
    EXPECT(false, "%s: piece list [%s] (%u lines), expected [%s] (%u lines); first difference at line %u",
           what, Joined(lines).c_str(), static_cast<unsigned>(lines.size()), Joined(expected).c_str(),
           static_cast<unsigned>(expected.size()), static_cast<unsigned>(at));
}

void ExpectTitle(const Velari& app, const std::string& expected)
{
    const std::string title = app.Title();
    EXPECT(title == expected, "title \"%s\", expected \"%s\"", title.c_str(), expected.c_str());
}

std::string TitleFor(const std::string& path)
{
    return "Velari - " + path;
}

// Exit with nothing unsaved: no prompt, the program ends.
void ExitClean(Velari& app)
{
    if (!EXPECT(app.Running(), "the editor ended before it was asked to"))
        return;
    EXPECT(app.RequestClose(CLOSE_EXIT_BUTTON), "cannot click Exit");
    app.WaitExitWithoutDialog();
}

// A change to the current piece that a person makes with one click.
bool MakeEdit(Velari& app)
{
    return EXPECT(app.StepArrow(ID_PITCH_UPDOWN, true), "the pitch arrow did not answer");
}

std::string PathInFolder(const std::string& folder, const char* name)
{
    return folder + "\\" + name;
}

// ---- Start-up ------------------------------------------------------------------

void StartWithoutTrack()
{
    Velari app;
    if (!app.Start("", CaseFolder()))
        return;
    ExpectTitle(app, "Velari");
    EXPECT(app.Idle(), "a start without a track must show no message");
    EXPECT(app.Lines().empty(), "the piece list is not empty");
    const int emptyFields[] = {ID_TRACK_NAME, ID_DESIGNER_NAME, ID_PIECE_COUNT, ID_CURRENT_PIECE};
    for (int id : emptyFields)
        EXPECT(app.Field(id).empty(), "field %d shows \"%s\" without a track", id, app.Field(id).c_str());
    EXPECT(!app.MatterhornChecked(), "the Matterhorn box is checked without a track");

    struct ChoiceList {
        int id;
        std::vector<std::string> items;
    };
    const ChoiceList lists[] = {
        {ID_PIECE_TYPE,
         {"Lift", "Left Turn", "Straight", "Right Turn", "Corkscrew", "Little Loop", "Big Loop", "Tunnel"}},
        {ID_PIECE_LENGTH, {"12 Feet", "24 Feet", "36 Feet", "48 Feet"}},
        {ID_ATTRIBUTES, {"None", "Brake", "Accelerate"}},
    };
    for (const ChoiceList& list : lists) {
        std::vector<std::string> items = ComboItems(app.Item(list.id));
        EXPECT(items == list.items, "list %d holds [%s], expected [%s]", list.id, Joined(items).c_str(),
               Joined(list.items).c_str());
    }

    // Without a track, Save and Refresh do nothing, and the controls change
    // only their own display.
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save without a track showed something");
    EXPECT(app.ClickButton(ID_REFRESH) && app.Idle(), "Refresh without a track showed something");
    EXPECT(app.ClickMatterhorn() && app.MatterhornChecked(), "the box does not check itself");
    EXPECT(app.Choose(ID_PIECE_TYPE, 3), "Piece Type did not answer");
    EXPECT(app.Choose(ID_ATTRIBUTES, 1), "Attributes did not answer");
    EXPECT(app.Choose(ID_PIECE_LENGTH, 2), "Piece Length did not answer");
    EXPECT(app.StepArrow(ID_PITCH_UPDOWN, true), "the pitch arrow did not answer");
    EXPECT(app.StepArrow(ID_BANK_UPDOWN, false), "the bank arrow did not answer");
    EXPECT(app.Idle(), "a control without a track showed something");
    EXPECT(app.Lines().empty(), "the piece list filled without a track");
    ExpectTitle(app, "Velari");
    EXPECT(FolderEntries(CaseFolder()).empty(), "files appeared in the case folder");

    // The next load sets the box from the file.
    TrackFile track = SmallTrack();
    track.matterhorn = 0;
    const std::string path = WriteTrack("off.tra", track.Bytes());
    EXPECT(app.ClickButton(ID_OPEN), "cannot click Open");
    if (HWND dialog = WaitFileDialog(app, "Open Track")) {
        EXPECT(ChooseFileName(dialog, path.c_str()), "cannot choose %s", path.c_str());
        EXPECT(WaitWindowGone(dialog, WINDOW_TIMEOUT_MS), "the Open dialog stayed");
    }
    EXPECT(app.Idle(), "a message after opening a valid track");
    ExpectTitle(app, TitleFor(path));
    EXPECT(!app.MatterhornChecked(), "the box keeps its own mark after loading a track with the setting off");
    ExitClean(app);
    ExpectFile(path, track.Bytes(), "a track only looked at");
}

void StartWithTrack()
{
    const std::string bytes = SmallTrack().Bytes();
    const std::string path = WriteTrack("small.tra", bytes);
    Velari app;
    if (!app.Start(path, CaseFolder()))
        return;
    EXPECT(app.Idle(), "a message after loading a valid track");
    ExpectTitle(app, TitleFor(path));
    EXPECT(app.Field(ID_PIECE_COUNT) == "9", "Number of Pieces \"%s\", expected \"9\" (10 records)",
           app.Field(ID_PIECE_COUNT).c_str());
    ExpectLines(app, SmallTrackLines(), "after the start-up load");
    EXPECT(ListSelection(app.Item(ID_PIECE_LIST)) == 0, "line %d selected, expected 0",
           ListSelection(app.Item(ID_PIECE_LIST)));
    // The name fields show capitals, whatever the file holds.
    EXPECT(app.Field(ID_TRACK_NAME) == "PINE VALLEY", "Track Name \"%s\"", app.Field(ID_TRACK_NAME).c_str());
    EXPECT(app.Field(ID_DESIGNER_NAME) == "QUORVANE", "Designer Name \"%s\"",
           app.Field(ID_DESIGNER_NAME).c_str());
    ExpectShown(app, {"1", "Lift", "24 Feet", "Brake", "10", "0"}, "piece 0");
    EXPECT(app.UpDownPosition(ID_PITCH_UPDOWN) == 10, "pitch arrows at %d", app.UpDownPosition(ID_PITCH_UPDOWN));
    EXPECT(app.UpDownPosition(ID_BANK_UPDOWN) == 0, "bank arrows at %d", app.UpDownPosition(ID_BANK_UPDOWN));
    EXPECT(app.MatterhornChecked(), "Matterhorn Setting 7 must show checked");
    EXPECT(Screenshot("velari-main-window", app.Main()), "no screenshot of the main window");
    ExitClean(app);
    ExpectFile(path, bytes, "a track only looked at");
}

// What the editor shows for a record, from the format's code table (bits
// 0-5: shape and length; bits 6-7: attribute), for sample files whose
// content the test did not choose itself.
struct CodeRow {
    uint8_t shapeBits;
    const char* line;
    const char* type;
    const char* length;
};
const CodeRow CODE_TABLE[] = {
    {0x02, "Lift", "Lift", "12 Feet"},           {0x04, "Lift", "Lift", "24 Feet"},
    {0x06, "Lift", "Lift", "36 Feet"},           {0x08, "Lift", "Lift", "48 Feet"},
    {0x0A, "Left Turn", "Left Turn", "12 Feet"}, {0x0C, "Left Turn", "Left Turn", "24 Feet"},
    {0x0E, "Left Turn", "Left Turn", "36 Feet"}, {0x10, "Left Turn", "Left Turn", "48 Feet"},
    {0x12, "Straight", "Straight", "12 Feet"},   {0x14, "Straight", "Straight", "24 Feet"},
    {0x16, "Straight", "Straight", "36 Feet"},   {0x18, "Straight", "Straight", "48 Feet"},
    {0x1A, "Right Turn", "Right Turn", "12 Feet"}, {0x1C, "Right Turn", "Right Turn", "24 Feet"},
    {0x1E, "Right Turn", "Right Turn", "36 Feet"}, {0x20, "Right Turn", "Right Turn", "48 Feet"},
    {0x22, "Corkscrew", "Corkscrew", ""},        {0x24, "Little Loop", "Little Loop", ""},
    {0x26, "Big Loop", "Big Loop", ""},          {0x28, "Fake Tunnel", "Tunnel", ""},
};

const CodeRow* CodeRowOf(uint8_t code)
{
    for (const CodeRow& row : CODE_TABLE) {
        if (row.shapeBits == (code & 0x3F))
            return &row;
    }
    return nullptr;
}

std::string ListLineOf(uint8_t code)
{
    const CodeRow* row = CodeRowOf(code);
    return row ? row->line : "Unknown";
}

// The fields for record i of a file whose codes all name a piece and an
// attribute.
ShownPiece ShownFor(const std::string& bytes, int i)
{
    const Piece piece = RecordOf(bytes, i);
    const CodeRow* row = CodeRowOf(piece.code);
    static const char* const ATTRIBUTES[] = {"None", "Brake", "Accelerate", ""};
    return {std::to_string(i + 1), row ? row->type : "", row ? row->length : "",
            ATTRIBUTES[piece.code >> 6], std::to_string(piece.pitch), std::to_string(piece.bank)};
}

// The name fields show capitals (ES_UPPERCASE).
std::string UpperName(const std::string& bytes, size_t offset)
{
    char name[22] = {};
    for (size_t i = 0; i < 21 && offset + i < bytes.size() && bytes[offset + i]; ++i)
        name[i] = bytes[offset + i];
    CharUpperBuffA(name, static_cast<DWORD>(std::strlen(name)));
    return name;
}

// The sample tracks of the source tree (brought to D:\data by the runner),
// shown as their bytes say.
void RepositorySamples()
{
    const char* samples[] = {"sample-small.tra", "sample-2000.tra"};
    for (const char* sample : samples) {
        SetContext("%s", sample);
        std::string bytes;
        if (!EXPECT(ReadBytes(std::string("D:\\data\\") + sample, &bytes) && bytes.size() >= HEADER_SIZE,
                    "the sample is missing from D:\\data"))
            continue;
        const std::string path = WriteTrack(sample, bytes);
        const int stored = static_cast<int16_t>(static_cast<uint8_t>(bytes[COUNT_OFFSET]) |
                                                (static_cast<uint8_t>(bytes[COUNT_OFFSET + 1]) << 8));
        EXPECT(bytes.size() == HEADER_SIZE + RECORD_SIZE * static_cast<size_t>(stored),
               "the sample is %u bytes for %d records", static_cast<unsigned>(bytes.size()), stored);
        std::vector<std::string> lines;
        for (int i = 0; i < stored - 1; ++i)
            lines.push_back(ListLineOf(RecordOf(bytes, i).code));
        Velari app;
        if (!app.Start(path, CaseFolder()))
            continue;
        EXPECT(app.Idle(), "a message after loading the sample");
        ExpectTitle(app, TitleFor(path));
        EXPECT(app.Field(ID_PIECE_COUNT) == std::to_string(stored - 1), "Number of Pieces \"%s\" for %d records",
               app.Field(ID_PIECE_COUNT).c_str(), stored);
        EXPECT(app.Field(ID_TRACK_NAME) == UpperName(bytes, 7), "Track Name \"%s\"", app.Field(ID_TRACK_NAME).c_str());
        EXPECT(app.Field(ID_DESIGNER_NAME) == UpperName(bytes, 28), "Designer Name \"%s\"",
               app.Field(ID_DESIGNER_NAME).c_str());
        EXPECT(app.MatterhornChecked() == (bytes[MATTERHORN_OFFSET] != 0), "Matterhorn Setting box");
        ExpectLines(app, lines, "the sample's pieces");
        ExpectShown(app, ShownFor(bytes, 0), "piece 0");
        const int probes[] = {stored - 2, stored / 2, 1};
        for (int line : probes) {
            if (line < 1 || line >= stored - 1)
                continue;
            EXPECT(app.SelectPiece(line), "the piece list did not answer");
            ExpectShown(app, ShownFor(bytes, line), ("piece " + std::to_string(line)).c_str());
        }
        ExitClean(app);
        ExpectFile(path, bytes, "a sample only looked at");
    }
}

// Every piece of the small track, chosen one after the other and back.
void ChoosePieces()
{
    const std::string bytes = SmallTrack().Bytes();
    const std::string path = WriteTrack("small.tra", bytes);
    Velari app;
    if (!app.Start(path, CaseFolder()))
        return;
    struct Row {
        int line;
        ShownPiece shown;
    };
    const Row rows[] = {
        {1, {"2", "Left Turn", "12 Feet", "None", "0", "-20"}},
        {2, {"3", "Straight", "36 Feet", "None", "-5", "5"}},
        {3, {"4", "Right Turn", "48 Feet", "None", "85", "125"}},
        {4, {"5", "Corkscrew", "", "Accelerate", "-85", "-125"}},
        {5, {"6", "Little Loop", "", "None", "2", "1"}},
        {6, {"7", "Big Loop", "", "None", "-2", "-1"}},
        {7, {"8", "Tunnel", "", "Brake", "4", "3"}},
        {8, {"9", "Left Turn", "36 Feet", "Accelerate", "-7", "7"}},
        // A piece with a length right after one without.
        {3, {"4", "Right Turn", "48 Feet", "None", "85", "125"}},
        {0, {"1", "Lift", "24 Feet", "Brake", "10", "0"}},
    };
    for (const Row& row : rows) {
        SetContext("line %d", row.line);
        if (!EXPECT(app.SelectPiece(row.line), "the piece list did not answer"))
            break;
        ExpectShown(app, row.shown, "after choosing the line");
        EXPECT(ListSelection(app.Item(ID_PIECE_LIST)) == row.line, "selection moved to %d",
               ListSelection(app.Item(ID_PIECE_LIST)));
        int pitch = std::atoi(row.shown.pitch.c_str());
        int bank = std::atoi(row.shown.bank.c_str());
        EXPECT(app.UpDownPosition(ID_PITCH_UPDOWN) == pitch, "pitch arrows at %d, field %d",
               app.UpDownPosition(ID_PITCH_UPDOWN), pitch);
        EXPECT(app.UpDownPosition(ID_BANK_UPDOWN) == bank, "bank arrows at %d, field %d",
               app.UpDownPosition(ID_BANK_UPDOWN), bank);
    }
    SetContext("after choosing every piece");
    ExpectLines(app, SmallTrackLines(), "choosing changes no line");
    // Looking at pieces, negative values included, changes nothing.
    ExitClean(app);
    ExpectFile(path, bytes, "a track only looked at");
}

// Codes that name no piece are listed as "Unknown", carried unchanged, and
// showing them is no edit.
void UnknownCodes()
{
    TrackFile track;
    track.pieces = {{0x01, 1, 1}, {0x2A, 2, 2}, {0x00, 3, 3}, {0x3F, 4, 4},
                    {0xC2, 5, 5}, {0x28, 6, 6}, {0xFF, 7, 7}};
    const std::string bytes = track.Bytes();
    const std::string path = WriteTrack("unknown.tra", bytes);
    Velari app;
    if (!app.Start(path, CaseFolder()))
        return;
    EXPECT(app.Idle(), "a message after loading");
    ExpectLines(app, {"Unknown", "Unknown", "Unknown", "Unknown", "Lift", "Fake Tunnel"}, "unknown codes");
    for (int line = 0; line < 6; ++line) {
        SetContext("line %d", line);
        EXPECT(app.SelectPiece(line), "the piece list did not answer");
        EXPECT(app.Field(ID_PIECE_PITCH) == std::to_string(line + 1), "pitch \"%s\"",
               app.Field(ID_PIECE_PITCH).c_str());
    }
    SetContext("after looking");
    // The tunnel gets an attribute; every other byte must come back as read.
    EXPECT(app.Choose(ID_ATTRIBUTES, 2), "Attributes did not answer");
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
    std::string expected = bytes;
    SetRecord(&expected, 5, {0xA8, 6, 6});
    ExpectFile(path, expected, "after giving the tunnel an attribute");
    ExitClean(app);
}

// ---- Editing and saving ----------------------------------------------------------

void EditAndSave()
{
    const std::string original = SmallTrack().Bytes();
    const std::string path = WriteTrack("edit.tra", original);
    Velari app;
    if (!app.Start(path, CaseFolder()))
        return;

    SetContext("Save without changes");
    // Whatever is on disk now must survive a Save of an unchanged track.
    TrackFile other = SmallTrack();
    other.pieces[9] = {0x28, 0, 0};
    WriteBytes(path, other.Bytes());
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
    ExpectFile(path, other.Bytes(), "Save of an unchanged track must write nothing");
    WriteBytes(path, original);

    SetContext("first round of edits");
    EXPECT(app.SelectPiece(2), "the piece list did not answer");
    EXPECT(app.Choose(ID_PIECE_TYPE, 3), "Piece Type did not answer");  // Right Turn
    std::vector<std::string> lines = SmallTrackLines();
    lines[2] = "Right Turn";
    ExpectLines(app, lines, "a new type shows in the list at once");
    EXPECT(ListSelection(app.Item(ID_PIECE_LIST)) == 2, "line %d selected after the type change",
           ListSelection(app.Item(ID_PIECE_LIST)));
    EXPECT(app.Field(ID_CURRENT_PIECE) == "3", "Current Piece \"%s\"", app.Field(ID_CURRENT_PIECE).c_str());
    EXPECT(app.Choose(ID_PIECE_LENGTH, 0), "Piece Length did not answer");  // 12 Feet
    EXPECT(app.Choose(ID_ATTRIBUTES, 2), "Attributes did not answer");      // Accelerate
    EXPECT(app.StepArrow(ID_PITCH_UPDOWN, true) && app.StepArrow(ID_PITCH_UPDOWN, true),
           "the pitch arrow did not answer");
    EXPECT(app.StepArrow(ID_BANK_UPDOWN, false), "the bank arrow did not answer");
    ExpectShown(app, {"3", "Right Turn", "12 Feet", "Accelerate", "-3", "4"}, "piece 2 edited");
    ExpectFile(path, original, "edits reach the disk only on Save");

    EXPECT(app.SelectPiece(4), "the piece list did not answer");
    EXPECT(app.Choose(ID_PIECE_TYPE, 6), "Piece Type did not answer");  // Big Loop
    EXPECT(app.Choose(ID_ATTRIBUTES, 0), "Attributes did not answer");  // None
    EXPECT(app.ClickMatterhorn() && !app.MatterhornChecked(), "the box does not clear");
    lines[4] = "Big Loop";
    ExpectLines(app, lines, "second type change");
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
    std::string expected = original;
    expected[MATTERHORN_OFFSET] = 0;                // 7 was on; off is 0
    SetRecord(&expected, 2, {0x9A, 4, -3});          // right turn 12 feet, accelerate
    SetRecord(&expected, 4, {0x26, -125, -85});      // big loop, no attribute
    ExpectFile(path, expected, "first save");

    SetContext("second round of edits");
    // A shape with lengths chosen for one without: the code changes once a
    // length is chosen, at the next change of piece.
    EXPECT(app.SelectPiece(5), "the piece list did not answer");
    EXPECT(app.Choose(ID_PIECE_TYPE, 0), "Piece Type did not answer");   // Lift
    EXPECT(app.Choose(ID_PIECE_LENGTH, 2), "Piece Length did not answer");  // 36 Feet
    EXPECT(app.SelectPiece(8), "the piece list did not answer");
    EXPECT(app.Choose(ID_ATTRIBUTES, 1), "Attributes did not answer");   // Brake
    EXPECT(app.ClickMatterhorn() && app.MatterhornChecked(), "the box does not check");
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
    expected[MATTERHORN_OFFSET] = 1;
    SetRecord(&expected, 5, {0x06, 1, 2});   // lift, 36 feet
    SetRecord(&expected, 8, {0x4E, 7, -7});  // left turn 36 feet, brake
    ExpectFile(path, expected, "second save: same count, same number of records");

    SetContext("after the saves");
    EXPECT(app.ClickButton(ID_REFRESH) && app.Idle(), "Refresh of a saved track showed something");
    lines[5] = "Lift";
    ExpectLines(app, lines, "reloaded from disk");
    ExitClean(app);
    ExpectFile(path, expected, "after Exit");
}

// The arrows wrap round at both ends of their ranges.
void ArrowsWrap()
{
    const std::string original = SmallTrack().Bytes();
    const std::string path = WriteTrack("wrap.tra", original);
    Velari app;
    if (!app.Start(path, CaseFolder()))
        return;
    struct Row {
        int line;
        int upDown;
        bool up;
        const char* before;
        const char* after;
    };
    const Row rows[] = {
        {3, ID_PITCH_UPDOWN, true, "85", "-85"},
        {3, ID_BANK_UPDOWN, true, "125", "-125"},
        {4, ID_PITCH_UPDOWN, false, "-85", "85"},
        {4, ID_BANK_UPDOWN, false, "-125", "125"},
        {0, ID_PITCH_UPDOWN, true, "10", "11"},
        {0, ID_BANK_UPDOWN, false, "0", "-1"},
    };
    for (const Row& row : rows) {
        const bool pitch = row.upDown == ID_PITCH_UPDOWN;
        const int field = pitch ? ID_PIECE_PITCH : ID_PIECE_BANK;
        SetContext("piece %d %s %s", row.line, pitch ? "pitch" : "bank", row.up ? "up" : "down");
        EXPECT(app.SelectPiece(row.line), "the piece list did not answer");
        EXPECT(app.Field(field) == row.before, "before: \"%s\", expected \"%s\"", app.Field(field).c_str(),
               row.before);
        EXPECT(app.StepArrow(row.upDown, row.up), "the arrow did not answer");
        EXPECT(app.Field(field) == row.after, "after: \"%s\", expected \"%s\"", app.Field(field).c_str(),
               row.after);
        EXPECT(app.UpDownPosition(row.upDown) == std::atoi(row.after), "position %d",
               app.UpDownPosition(row.upDown));
    }
    SetContext("saving the wrapped values");
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
    std::string expected = original;
    SetRecord(&expected, 3, {0x20, -125, -85});
    SetRecord(&expected, 4, {0xA2, 125, 85});
    SetRecord(&expected, 0, {0x44, -1, 11});
    ExpectFile(path, expected, "wrapped values");
    ExitClean(app);
}

// Stored values the arrows cannot reach: shown as stored, and showing them
// is no edit; the first step lands inside the arrows' range.
void ValuesOutsideArrowRange()
{
    TrackFile track;
    track.pieces = {{0x02, -128, 100}, {0x12, 127, -128}, {0x22, 126, 86}, {0x0A, 0, 0}};
    const std::string original = track.Bytes();
    const std::string path = WriteTrack("range.tra", original);
    {
        Velari app;
        if (!app.Start(path, CaseFolder()))
            return;
        struct Row {
            int line;
            const char* pitch;
            const char* bank;
        };
        const Row rows[] = {{0, "100", "-128"}, {1, "-128", "127"}, {2, "86", "126"}, {0, "100", "-128"}};
        bool first = true;
        for (const Row& row : rows) {
            SetContext("line %d", row.line);
            if (!first)
                EXPECT(app.SelectPiece(row.line), "the piece list did not answer");
            first = false;
            EXPECT(app.Field(ID_PIECE_PITCH) == row.pitch, "pitch \"%s\", expected \"%s\"",
                   app.Field(ID_PIECE_PITCH).c_str(), row.pitch);
            EXPECT(app.Field(ID_PIECE_BANK) == row.bank, "bank \"%s\", expected \"%s\"",
                   app.Field(ID_PIECE_BANK).c_str(), row.bank);
        }
        SetContext("only looked at");
        ExitClean(app);
        ExpectFile(path, original, "values out of the arrows' range, only shown");
    }
    SetContext("first step");
    Velari app;
    if (!app.Start(path, CaseFolder()))
        return;
    EXPECT(app.StepArrow(ID_PITCH_UPDOWN, true), "the pitch arrow did not answer");
    EXPECT(app.StepArrow(ID_BANK_UPDOWN, false), "the bank arrow did not answer");
    const int pitch = std::atoi(app.Field(ID_PIECE_PITCH).c_str());
    const int bank = std::atoi(app.Field(ID_PIECE_BANK).c_str());
    EXPECT(pitch >= -85 && pitch <= 85, "pitch %d after the first step from 100", pitch);
    EXPECT(bank >= -125 && bank <= 125, "bank %d after the first step from -128", bank);
    EXPECT(app.UpDownPosition(ID_PITCH_UPDOWN) == pitch, "pitch arrows at %d, field %d",
           app.UpDownPosition(ID_PITCH_UPDOWN), pitch);
    EXPECT(app.UpDownPosition(ID_BANK_UPDOWN) == bank, "bank arrows at %d, field %d",
           app.UpDownPosition(ID_BANK_UPDOWN), bank);
    // Showing piece 1 (-128, 127) after an edit changes nothing of it.
    EXPECT(app.SelectPiece(1), "the piece list did not answer");
    EXPECT(app.Field(ID_PIECE_PITCH) == "-128" && app.Field(ID_PIECE_BANK) == "127",
           "piece 1 shows pitch \"%s\" bank \"%s\"", app.Field(ID_PIECE_PITCH).c_str(),
           app.Field(ID_PIECE_BANK).c_str());
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
    std::string expected = original;
    SetRecord(&expected, 0, {0x02, static_cast<int8_t>(bank), static_cast<int8_t>(pitch)});
    ExpectFile(path, expected, "the stepped piece alone changes");
    ExitClean(app);
}

// ---- Files the editor refuses or takes --------------------------------------------

std::string WithByte(std::string bytes, size_t at, char value)
{
    if (at < bytes.size())
        bytes[at] = value;
    return bytes;
}

TrackFile WithCount(TrackFile track, int16_t count)
{
    track.countGiven = true;
    track.count = count;
    return track;
}

void RefusedFiles()
{
    const std::string small = SmallTrack().Bytes();
    struct Row {
        const char* what;
        std::string bytes;  // not written when missing
        bool missing;
        bool message;
    };
    const Row rows[] = {
        {"first byte not R", WithByte(small, 0, 'X'), false, true},
        {"second byte not C", WithByte(small, 1, 'c'), false, true},
        {"lower-case signature", WithByte(WithByte(small, 0, 'r'), 1, 'c'), false, true},
        {"2001 records", LongTrack(2001).Bytes(), false, true},
        {"count 32767, 10 records", WithCount(SmallTrack(), 32767).Bytes(), false, true},
        {"count 12, 10 records", WithCount(SmallTrack(), 12).Bytes(), false, true},
        {"last record cut short", small.substr(0, small.size() - 1), false, true},
        // A negative count is refused like a short file (our choice).
        {"count -1", WithCount(TrackFile(), -1).Bytes(), false, true},
        {"count -32768", WithCount(TrackFile(), -32768).Bytes(), false, true},
        {"81-byte header", small.substr(0, 81), false, false},
        {"empty file", std::string(), false, false},
        {"no such file", std::string(), true, false},
    };
    int index = 0;
    for (const Row& row : rows) {
        SetContext("%s", row.what);
        char name[32];
        std::snprintf(name, sizeof name, "refused-%02d.tra", index++);
        const std::string path = InCase(name);
        if (!row.missing)
            WriteTrack(name, row.bytes);
        Velari app;
        if (!app.Start(path, CaseFolder()))
            continue;
        if (row.message)
            AcknowledgeError(app, INVALID_TRACK_TEXT);
        EXPECT(app.Idle(), "a message is shown after the refused load");
        ExpectTitle(app, "Velari");
        EXPECT(app.Lines().empty(), "pieces are listed: [%s]", Joined(app.Lines()).c_str());
        EXPECT(app.Field(ID_PIECE_COUNT).empty(), "Number of Pieces \"%s\"", app.Field(ID_PIECE_COUNT).c_str());
        EXPECT(app.Field(ID_TRACK_NAME).empty(), "Track Name \"%s\"", app.Field(ID_TRACK_NAME).c_str());
        ExitClean(app);
        if (!row.missing)
            ExpectFile(path, row.bytes, "a refused file");
        else
            EXPECT(!FileExists(path), "the missing file was created");
    }
}

void AcceptedEdgeFiles()
{
    struct Row {
        const char* what;
        std::string bytes;
        const char* count;
        int lines;
    };
    TrackFile trailing = SmallTrack();
    trailing.trailing = "bytes after the last record";
    TrackFile one;
    one.pieces = {{0x8C, -3, 4}};
    const Row rows[] = {
        {"2000 records", LongTrack(2000).Bytes(), "1999", 1999},
        {"no records", TrackFile().Bytes(), "-1", 0},
        {"one record", one.Bytes(), "0", 0},
        {"bytes after the records", trailing.Bytes(), "9", 9},
    };
    int index = 0;
    for (const Row& row : rows) {
        SetContext("%s", row.what);
        char name[32];
        std::snprintf(name, sizeof name, "edge-%02d.tra", index++);
        const std::string path = WriteTrack(name, row.bytes);
        Velari app;
        if (!app.Start(path, CaseFolder()))
            continue;
        EXPECT(app.Idle(), "a message after loading");
        ExpectTitle(app, TitleFor(path));
        EXPECT(app.Field(ID_PIECE_COUNT) == row.count, "Number of Pieces \"%s\", expected \"%s\"",
               app.Field(ID_PIECE_COUNT).c_str(), row.count);
        EXPECT(ListCount(app.Item(ID_PIECE_LIST)) == row.lines, "%d lines, expected %d",
               ListCount(app.Item(ID_PIECE_LIST)), row.lines);
        ExitClean(app);
        ExpectFile(path, row.bytes, "a file only looked at");
    }
}

// Tracks with no or one record still save what they hold.
void TinyTracksSave()
{
    {
        SetContext("no records");
        const std::string original = TrackFile().Bytes();
        const std::string path = WriteTrack("none.tra", original);
        Velari app;
        if (!app.Start(path, CaseFolder()))
            return;
        EXPECT(app.ClickMatterhorn() && !app.MatterhornChecked(), "the box does not clear");
        EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
        std::string expected = original;
        expected[MATTERHORN_OFFSET] = 0;
        EXPECT(expected.size() == HEADER_SIZE, "the sample is a header alone");
        ExpectFile(path, expected, "a track without records: the header alone, count 0");
        ExitClean(app);
    }
    {
        SetContext("one record");
        TrackFile one;
        one.pieces = {{0x8C, -3, 4}};
        const std::string original = one.Bytes();
        const std::string path = WriteTrack("one.tra", original);
        Velari app;
        if (!app.Start(path, CaseFolder()))
            return;
        ExpectShown(app, {"1", "Left Turn", "24 Feet", "Accelerate", "4", "-3"}, "the only record");
        EXPECT(app.StepArrow(ID_PITCH_UPDOWN, false), "the pitch arrow did not answer");
        EXPECT(app.Choose(ID_PIECE_LENGTH, 3), "Piece Length did not answer");
        EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
        std::string expected = original;
        SetRecord(&expected, 0, {0x90, -3, 3});
        ExpectFile(path, expected, "the only record, edited");
        ExitClean(app);
    }
}

// ---- Closing with unsaved changes ------------------------------------------------

void CloseWithChanges()
{
    const std::string original = SmallTrack().Bytes();
    std::string edited = original;
    SetRecord(&edited, 0, {0x44, 0, 11});  // piece 0, pitch one up
    const Closer closers[] = {CLOSE_EXIT_BUTTON, CLOSE_EXIT_MENU, CLOSE_WM_CLOSE, CLOSE_SYSTEM_MENU};
    const int answers[] = {IDYES, IDNO, IDCANCEL};
    int index = 0;
    for (Closer closer : closers) {
        for (int answer : answers) {
            const char* answerName = answer == IDYES ? "Yes" : answer == IDNO ? "No" : "Cancel";
            SetContext("%s, %s", CloserName(closer), answerName);
            char name[32];
            std::snprintf(name, sizeof name, "close-%02d.tra", index++);
            const std::string path = WriteTrack(name, original);
            Velari app;
            if (!app.Start(path, CaseFolder()))
                continue;
            if (!MakeEdit(app))
                continue;
            app.RequestClose(closer);
            if (!AnswerSavePrompt(app, answer))
                continue;
            if (answer == IDCANCEL) {
                EXPECT(app.Idle(), "Cancel must keep the editor open, with no further message");
                ExpectFile(path, original, "after Cancel");
                ExpectShown(app, {"1", "Lift", "24 Feet", "Brake", "11", "0"}, "the edit survives Cancel");
                // Still unsaved: the next close asks again.
                app.RequestClose(closer);
                if (AnswerSavePrompt(app, IDNO))
                    app.WaitExitWithoutDialog();
                ExpectFile(path, original, "after Cancel, then No");
            } else {
                // One answer is enough: no second prompt on the way out.
                app.WaitExitWithoutDialog();
                ExpectFile(path, answer == IDYES ? edited : original, "after the answer");
            }
            EXPECT(FolderEntries(CaseFolder()).size() == static_cast<size_t>(index),
                   "stray files in the folder");
        }
    }
}

// Yes with a save that fails keeps the editor open and says so; the file on
// disk stays as it was.
void CloseWhenSaveFails()
{
    const std::string original = SmallTrack().Bytes();
    std::string edited = original;
    SetRecord(&edited, 0, {0x44, 0, 11});
    const Closer closers[] = {CLOSE_EXIT_BUTTON, CLOSE_WM_CLOSE};
    int index = 0;
    for (Closer closer : closers) {
        SetContext("%s", CloserName(closer));
        char name[32];
        std::snprintf(name, sizeof name, "held-%02d.tra", index++);
        const std::string path = WriteTrack(name, original);
        Velari app;
        if (!app.Start(path, CaseFolder()) || !MakeEdit(app))
            continue;
        {
            FileLock lock(path);
            EXPECT(lock.Held(), "cannot hold %s open", path.c_str());
            app.RequestClose(closer);
            if (AnswerSavePrompt(app, IDYES) && AcknowledgeError(app, path.c_str(), true))
                EXPECT(app.Idle(), "the editor must stay open after a failed save");
        }
        ExpectFile(path, original, "a failed save");
        std::vector<std::string> entries = FolderEntries(CaseFolder());
        EXPECT(entries.size() == static_cast<size_t>(index), "stray files in the folder: %s",
               Joined(entries).c_str());
        // Once the file is free again, the changes are still there to save.
        app.RequestClose(closer);
        if (AnswerSavePrompt(app, IDYES))
            app.WaitExitWithoutDialog();
        ExpectFile(path, edited, "the save after the file was freed");
    }

    SetContext("Save button");
    const std::string path = WriteTrack("held-save.tra", original);
    Velari app;
    if (!app.Start(path, CaseFolder()) || !MakeEdit(app))
        return;
    {
        FileLock lock(path);
        EXPECT(app.ClickButton(ID_SAVE), "cannot click Save");
        if (AcknowledgeError(app, path.c_str(), true))
            EXPECT(app.Idle(), "the editor must stay open after a failed save");
    }
    ExpectFile(path, original, "a failed save");
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "the second Save showed something");
    ExpectFile(path, edited, "the track stays unsaved after a failed save, so Save writes it later");
    ExitClean(app);
}

// ---- Open and Save As ------------------------------------------------------------

// Chooses name in the file dialog and waits until the dialog has closed.
bool ChooseInDialog(Velari& app, HWND dialog, const std::string& name)
{
    if (!EXPECT(ChooseFileName(dialog, name.c_str()), "cannot type \"%s\" into the dialog", name.c_str()))
        return false;
    if (WaitWindowGone(dialog, WINDOW_TIMEOUT_MS))
        return true;
    std::string shown;
    for (HWND box : VisibleDialogs(app.Pid())) {
        if (box != dialog)
            shown += " \"" + TextOf(box) + "\": \"" + MessageBoxText(box) + "\"";
    }
    EXPECT(false, "the file dialog stayed open after choosing \"%s\";%s", name.c_str(),
           shown.empty() ? " nothing else shown" : shown.c_str());
    return false;
}

TrackFile SecondTrack()
{
    TrackFile track;
    track.matterhorn = 0;
    track.name = "Second";
    track.designer = "Other";
    track.pieces = {{0x28, 0, 0}, {0x22, 1, 1}, {0x1C, 2, 2}, {0x04, 3, 3}};
    return track;
}

void OpenThroughDialog()
{
    const std::string first = WriteTrack("first.tra", SmallTrack().Bytes());
    const std::string second = WriteTrack("second.tra", SecondTrack().Bytes());
    Velari app;
    if (!app.Start(first, CaseFolder()))
        return;
    SetContext("Open another track");
    EXPECT(app.ClickButton(ID_OPEN), "cannot click Open");
    HWND dialog = WaitFileDialog(app, "Open Track");
    if (!dialog || !ChooseInDialog(app, dialog, second))
        return;
    EXPECT(app.Idle(), "a message after opening a valid track");
    ExpectTitle(app, TitleFor(second));
    ExpectLines(app, {"Fake Tunnel", "Corkscrew", "Right Turn"}, "the second track");
    EXPECT(app.Field(ID_PIECE_COUNT) == "3", "Number of Pieces \"%s\"", app.Field(ID_PIECE_COUNT).c_str());
    EXPECT(app.Field(ID_TRACK_NAME) == "SECOND", "Track Name \"%s\"", app.Field(ID_TRACK_NAME).c_str());
    EXPECT(!app.MatterhornChecked(), "the box keeps the first track's setting");
    ExpectShown(app, {"1", "Tunnel", "", "None", "0", "0"}, "piece 0 of the second track");

    SetContext("Open through the menu, cancelled");
    EXPECT(app.MenuCommand(ID_OPEN), "cannot choose File/Open");
    dialog = WaitFileDialog(app, "Open Track");
    if (dialog)
        EXPECT(PressDialogButton(dialog, IDCANCEL), "the dialog did not close on Cancel");
    EXPECT(app.Idle(), "a message after a cancelled Open");
    ExpectTitle(app, TitleFor(second));
    ExpectLines(app, {"Fake Tunnel", "Corkscrew", "Right Turn"}, "after Cancel");
    ExitClean(app);
}

// A refused file leaves the previous track in the editor, and saving then
// writes that track to its own file, never into the refused one.
void OpenRefusedKeepsTrack()
{
    const std::string original = SmallTrack().Bytes();
    struct Row {
        const char* what;
        std::string bytes;
        bool message;
    };
    const Row rows[] = {
        {"bad signature", WithByte(SecondTrack().Bytes(), 1, 'X'), true},
        {"too many records", LongTrack(2001).Bytes(), true},
        {"header cut short", SecondTrack().Bytes().substr(0, 60), false},
    };
    int index = 0;
    for (const Row& row : rows) {
        SetContext("%s", row.what);
        char name[32];
        std::snprintf(name, sizeof name, "keep-%02d.tra", index);
        const std::string path = WriteTrack(name, original);
        std::snprintf(name, sizeof name, "refused-%02d.tra", index++);
        const std::string refused = WriteTrack(name, row.bytes);
        Velari app;
        if (!app.Start(path, CaseFolder()) || !MakeEdit(app))
            continue;
        EXPECT(app.SelectPiece(3), "the piece list did not answer");
        EXPECT(app.ClickButton(ID_OPEN), "cannot click Open");
        if (!AnswerSavePrompt(app, IDNO))
            continue;
        HWND dialog = WaitFileDialog(app, "Open Track");
        if (!dialog)
            continue;
        EXPECT(ChooseFileName(dialog, refused.c_str()), "cannot choose the file");
        if (row.message)
            AcknowledgeError(app, INVALID_TRACK_TEXT);
        EXPECT(WaitWindowGone(dialog, WINDOW_TIMEOUT_MS), "the Open dialog stayed");
        EXPECT(app.Idle(), "a message after the refused Open");
        ExpectTitle(app, TitleFor(path));
        ExpectLines(app, SmallTrackLines(), "the previous track stays shown");
        ExpectShown(app, {"4", "Right Turn", "48 Feet", "None", "85", "125"}, "the previous piece");
        EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
        std::string expected = original;
        SetRecord(&expected, 0, {0x44, 0, 11});
        ExpectFile(path, expected, "Save after a refused Open writes the previous track to its own file");
        ExpectFile(refused, row.bytes, "the refused file");
        ExitClean(app);
    }
}

// Open offers to save unsaved changes before its dialog.
void OpenAsksAboutChanges()
{
    const std::string original = SmallTrack().Bytes();
    std::string edited = original;
    SetRecord(&edited, 0, {0x44, 0, 11});
    const int answers[] = {IDCANCEL, IDNO, IDYES};
    int index = 0;
    for (int answer : answers) {
        const char* answerName = answer == IDYES ? "Yes" : answer == IDNO ? "No" : "Cancel";
        SetContext("answer %s", answerName);
        char name[32];
        std::snprintf(name, sizeof name, "asked-%02d.tra", index);
        const std::string path = WriteTrack(name, original);
        std::snprintf(name, sizeof name, "other-%02d.tra", index++);
        const std::string other = WriteTrack(name, SecondTrack().Bytes());
        Velari app;
        if (!app.Start(path, CaseFolder()) || !MakeEdit(app))
            continue;
        EXPECT(app.ClickButton(ID_OPEN), "cannot click Open");
        EXPECT(TopWindows(app.Pid(), "#32770", "Open Track").empty(),
               "the Open dialog came before the question about the changes");
        if (!AnswerSavePrompt(app, answer))
            continue;
        if (answer == IDCANCEL) {
            EXPECT(app.Idle(), "Cancel must stop Open before its dialog");
            ExpectTitle(app, TitleFor(path));
            ExpectFile(path, original, "after Cancel");
            app.RequestClose(CLOSE_EXIT_BUTTON);
            if (AnswerSavePrompt(app, IDNO))
                app.WaitExitWithoutDialog();
            continue;
        }
        HWND dialog = WaitFileDialog(app, "Open Track");
        // The answer has taken effect before the dialog comes.
        ExpectFile(path, answer == IDYES ? edited : original, "when the dialog shows");
        if (!dialog || !ChooseInDialog(app, dialog, other))
            continue;
        EXPECT(app.Idle(), "a message after the Open");
        ExpectTitle(app, TitleFor(other));
        ExpectLines(app, {"Fake Tunnel", "Corkscrew", "Right Turn"}, "the other track");
        ExitClean(app);
        ExpectFile(path, answer == IDYES ? edited : original, "at the end");
    }
}

void SaveAsNewName()
{
    const std::string original = SmallTrack().Bytes();
    const std::string path = WriteTrack("source.tra", original);
    const std::string target = InCase("copy.tra");
    Velari app;
    if (!app.Start(path, CaseFolder()))
        return;
    SetContext("Save As a name that does not exist yet");
    EXPECT(app.MenuCommand(ID_SAVE_AS), "cannot choose File/Save As");
    HWND dialog = WaitFileDialog(app, "Save Track As");
    if (!dialog || !ChooseInDialog(app, dialog, target))
        return;
    EXPECT(app.Idle(), "a message after Save As");
    ExpectFile(target, original, "Save As writes even an unchanged track");
    ExpectFile(path, original, "the source after Save As");
    ExpectTitle(app, TitleFor(target));

    SetContext("Save after Save As");
    EXPECT(MakeEdit(app), "no edit");
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
    std::string edited = original;
    SetRecord(&edited, 0, {0x44, 0, 11});
    ExpectFile(target, edited, "later saves go to the new name");
    ExpectFile(path, original, "the source after a later Save");

    SetContext("Save As without an extension");
    const std::string bare = InCase("plain");
    EXPECT(app.MenuCommand(ID_SAVE_AS), "cannot choose File/Save As");
    dialog = WaitFileDialog(app, "Save Track As");
    if (dialog && ChooseInDialog(app, dialog, bare)) {
        EXPECT(app.Idle(), "a message after Save As");
        ExpectFile(bare + ".tra", edited, "the dialog adds \".tra\"");
        EXPECT(!FileExists(bare), "a file without extension was written");
        ExpectTitle(app, TitleFor(bare + ".tra"));
    }
    ExitClean(app);
}

void SaveAsExistingFile()
{
    const std::string original = SmallTrack().Bytes();
    const std::string existing = SecondTrack().Bytes();
    const std::string path = WriteTrack("source.tra", original);
    const std::string target = WriteTrack("existing.tra", existing);
    std::string edited = original;
    SetRecord(&edited, 0, {0x44, 0, 11});
    Velari app;
    if (!app.Start(path, CaseFolder()) || !MakeEdit(app))
        return;

    SetContext("replace: No, then Cancel");
    EXPECT(app.MenuCommand(ID_SAVE_AS), "cannot choose File/Save As");
    HWND dialog = WaitFileDialog(app, "Save Track As");
    if (!dialog)
        return;
    EXPECT(ChooseFileName(dialog, target.c_str()), "cannot choose the file");
    // The dialog's own question; its wording is the platform's.
    HWND prompt = WaitMessageBox(app.Pid(), "Save Track As");
    if (EXPECT(prompt, "no question about replacing the file")) {
        EXPECT(GetDlgItem(prompt, IDYES) && GetDlgItem(prompt, IDNO), "the question \"%s\" is no Yes/No question",
               MessageBoxText(prompt).c_str());
        EXPECT(PressDialogButton(prompt, IDNO), "the question did not close on No");
    }
    EXPECT(IsWindowVisible(dialog), "No must keep the dialog open");
    EXPECT(PressDialogButton(dialog, IDCANCEL), "the dialog did not close on Cancel");
    EXPECT(app.Idle(), "a message after a cancelled Save As");
    ExpectFile(target, existing, "after No and Cancel");
    ExpectFile(path, original, "the source after a cancelled Save As");
    ExpectTitle(app, TitleFor(path));

    SetContext("replace: Yes");
    EXPECT(app.MenuCommand(ID_SAVE_AS), "cannot choose File/Save As");
    dialog = WaitFileDialog(app, "Save Track As");
    if (!dialog)
        return;
    EXPECT(ChooseFileName(dialog, target.c_str()), "cannot choose the file");
    prompt = WaitMessageBox(app.Pid(), "Save Track As");
    if (EXPECT(prompt, "no question about replacing the file"))
        EXPECT(PressDialogButton(prompt, IDYES), "the question did not close on Yes");
    EXPECT(WaitWindowGone(dialog, WINDOW_TIMEOUT_MS), "the dialog stayed after Yes");
    EXPECT(app.Idle(), "a message after Save As");
    ExpectFile(target, edited, "the replaced file");
    ExpectFile(path, original, "the source");
    ExpectTitle(app, TitleFor(target));
    ExitClean(app);
}

void SaveAsCancelled()
{
    const std::string original = SmallTrack().Bytes();
    const std::string path = WriteTrack("source.tra", original);
    Velari app;
    if (!app.Start(path, CaseFolder()) || !MakeEdit(app))
        return;
    EXPECT(app.MenuCommand(ID_SAVE_AS), "cannot choose File/Save As");
    HWND dialog = WaitFileDialog(app, "Save Track As");
    if (!dialog)
        return;
    // The dialog proposes the current file.
    const std::string proposed = TextOf(FileNameField(dialog));
    EXPECT(proposed.find("source") != std::string::npos, "the dialog proposes \"%s\"", proposed.c_str());
    EXPECT(PressDialogButton(dialog, IDCANCEL), "the dialog did not close on Cancel");
    EXPECT(app.Idle(), "a message after a cancelled Save As");
    std::vector<std::string> entries = FolderEntries(CaseFolder());
    EXPECT(entries.size() == 1, "files after a cancelled Save As: %s", Joined(entries).c_str());
    ExpectFile(path, original, "nothing is written by a cancelled Save As");
    ExpectTitle(app, TitleFor(path));
    // The changes are still unsaved, and Save writes them where they came from.
    EXPECT(app.ClickButton(ID_SAVE) && app.Idle(), "Save showed something");
    std::string edited = original;
    SetRecord(&edited, 0, {0x44, 0, 11});
    ExpectFile(path, edited, "Save after a cancelled Save As");
    ExitClean(app);
}

// ---- Command line, Refresh, About, start folder -------------------------------------

void CommandLineForms()
{
    const std::string folder = "D:\\My Tracks";
    RemoveTree(folder);
    MakeFolders(folder);
    const std::string path = folder + "\\x.tra";
    const std::string bytes = SmallTrack().Bytes();
    EXPECT(WriteBytes(path, bytes), "cannot write %s", path.c_str());
    struct Row {
        const char* what;
        std::string arguments;
        bool loads;
    };
    const Row rows[] = {
        {"quoted path with a blank", "\"" + path + "\"", true},
        {"path with a blank, unquoted", path, true},
        {"quoted path of a missing file", "\"" + folder + "\\missing.tra\"", false},
    };
    for (const Row& row : rows) {
        SetContext("%s", row.what);
        Velari app;
        if (!app.Start(row.arguments, CaseFolder()))
            continue;
        EXPECT(app.Idle(), "a message after the start");
        if (row.loads) {
            ExpectTitle(app, TitleFor(path));
            ExpectLines(app, SmallTrackLines(), "loaded from the command line");
        } else {
            ExpectTitle(app, "Velari");
            EXPECT(app.Lines().empty(), "pieces listed");
        }
        ExitClean(app);
        ExpectFile(path, bytes, "a file only looked at");
    }
    RemoveTree(folder);
}

void Refresh()
{
    const std::string original = SmallTrack().Bytes();
    std::string edited = original;
    SetRecord(&edited, 0, {0x44, 0, 11});
    const std::string changed = SecondTrack().Bytes();  // written by someone else meanwhile
    const std::vector<std::string> originalLines = SmallTrackLines();
    const std::vector<std::string> changedLines = {"Fake Tunnel", "Corkscrew", "Right Turn"};
    struct Row {
        const char* what;
        bool edit;
        int answer;
    };
    const Row rows[] = {
        {"clean track", false, 0},
        {"changes, Cancel", true, IDCANCEL},
        {"changes, No", true, IDNO},
        {"changes, Yes", true, IDYES},
    };
    int index = 0;
    for (const Row& row : rows) {
        SetContext("%s", row.what);
        char name[32];
        std::snprintf(name, sizeof name, "refresh-%02d.tra", index++);
        const std::string path = WriteTrack(name, original);
        Velari app;
        if (!app.Start(path, CaseFolder()))
            continue;
        if (row.edit && !MakeEdit(app))
            continue;
        WriteBytes(path, changed);
        EXPECT(app.ClickButton(ID_REFRESH), "cannot click Refresh");
        if (row.edit && !AnswerSavePrompt(app, row.answer))
            continue;
        EXPECT(app.Idle(), "a message after Refresh");
        ExpectTitle(app, TitleFor(path));
        switch (row.answer) {
        case 0:
        case IDNO:
            ExpectLines(app, changedLines, "reloaded from disk");
            ExpectFile(path, changed, "the file on disk");
            ExitClean(app);
            break;
        case IDCANCEL:
            ExpectLines(app, originalLines, "Cancel keeps the track in memory");
            ExpectShown(app, {"1", "Lift", "24 Feet", "Brake", "11", "0"}, "the edit survives Cancel");
            ExpectFile(path, changed, "the file on disk");
            app.RequestClose(CLOSE_EXIT_BUTTON);
            if (AnswerSavePrompt(app, IDNO))
                app.WaitExitWithoutDialog();
            break;
        case IDYES:
            ExpectFile(path, edited, "Yes saves before reloading");
            ExpectLines(app, originalLines, "reloaded after the save");
            ExpectShown(app, {"1", "Lift", "24 Feet", "Brake", "11", "0"}, "the saved edit, reloaded");
            ExitClean(app);
            break;
        }
    }
}

void AboutBox()
{
    Velari app;
    if (!app.Start("", CaseFolder()))
        return;
    enum Way { CLICK_OK, KEY_ENTER, KEY_ESCAPE, CLOSE_BOX };
    struct Row {
        const char* how;
        Way way;
    };
    const Row rows[] = {
        {"a click on OK", CLICK_OK},
        {"Enter", KEY_ENTER},
        {"Esc", KEY_ESCAPE},
        {"the close box", CLOSE_BOX},
    };
    bool pictureTaken = false;
    for (const Row& row : rows) {
        SetContext("closed with %s", row.how);
        EXPECT(app.MenuCommand(ID_ABOUT), "cannot choose Help/About");
        HWND about = WaitTopWindow(app.Pid(), "#32770", "About Velari", WINDOW_TIMEOUT_MS);
        if (!EXPECT(about, "no \"About Velari\" box appeared"))
            return;
        const char* texts[] = {"Velari for Windows 95", "Quorvane"};
        for (const char* text : texts)
            EXPECT(ChildByText(about, "Static", text), "no text \"%s\" in the About box", text);
        HWND ok = GetDlgItem(about, IDOK);
        EXPECT(ok && TextOf(ok) == "OK", "no \"OK\" button");
        HWND picture = nullptr;
        for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
                picture = child;
        }
        LRESULT image = 0;
        EXPECT(picture && Send(picture, STM_GETIMAGE, IMAGE_BITMAP, 0, &image) && image,
               "no picture in the About box");
        if (!pictureTaken) {
            EXPECT(Screenshot("velari-about-box", about), "no screenshot of the About box");
            pictureTaken = true;
        }
        // The box's modal loop turns keys into its commands, as for a person.
        switch (row.way) {
        case CLICK_OK:
            Post(ok, BM_CLICK, 0, 0);
            break;
        case KEY_ENTER:
            PressKey(ok, VK_RETURN);
            break;
        case KEY_ESCAPE:
            PressKey(ok, VK_ESCAPE);
            break;
        case CLOSE_BOX:
            Post(about, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        EXPECT(WaitWindowGone(about, WINDOW_TIMEOUT_MS), "the About box did not close");
        EXPECT(app.Idle(), "something is shown after the About box");
    }
    ExitClean(app);
}

// The Open dialog starts in the folder the installer wrote as "TraDir".
void OpenStartsInTraDir()
{
    const char* keyName = "SOFTWARE\\Quorvane\\Velari\\2.0";
    const std::string gameFolder = InCase("Game");
    MakeFolders(gameFolder);
    const std::string marker = PathInFolder(gameFolder, "marker.tra");
    EXPECT(WriteBytes(marker, SecondTrack().Bytes()), "cannot write the marker track");
    // A file of the same name in the current folder must not be the one found.
    WriteTrack("marker.tra", SmallTrack().Bytes());

    HKEY key = nullptr;
    const std::string value = gameFolder + "\\";
    if (!EXPECT(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                nullptr) == ERROR_SUCCESS,
                "cannot create HKLM\\%s", keyName))
        return;
    RegSetValueExA(key, "TraDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);

    {
        Velari app;
        if (app.Start("", CaseFolder())) {
            EXPECT(app.ClickButton(ID_OPEN), "cannot click Open");
            HWND dialog = WaitFileDialog(app, "Open Track");
            if (dialog && ChooseInDialog(app, dialog, "marker.tra")) {
                EXPECT(app.Idle(), "a message after the Open");
                ExpectTitle(app, TitleFor(marker));
            }
            ExitClean(app);
        }
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyName);
}

// ---- Layout -------------------------------------------------------------------

void Layout()
{
    Velari app;
    if (!app.Start("", CaseFolder()))
        return;

    // The units come from the system font, as a screen context holds it.
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    HDC windowContext = GetDC(app.Main());
    TEXTMETRICA windowMetrics = {};
    GetTextMetricsA(windowContext, &windowMetrics);
    ReleaseDC(app.Main(), windowContext);
    EXPECT(windowMetrics.tmHeight == metrics.tmHeight &&
               windowMetrics.tmAveCharWidth == metrics.tmAveCharWidth &&
               windowMetrics.tmExternalLeading == metrics.tmExternalLeading &&
               windowMetrics.tmPitchAndFamily == metrics.tmPitchAndFamily,
           "the window's own context holds another font than SYSTEM_FONT");
    const int u = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) ? 3 * metrics.tmAveCharWidth / 2
                                                                 : metrics.tmAveCharWidth;
    const int h = metrics.tmHeight + metrics.tmExternalLeading;
    Note("system font: height %ld, external leading %ld, average width %ld, pitch and family 0x%02X: "
         "U = %d, H = %d",
         metrics.tmHeight, metrics.tmExternalLeading, metrics.tmAveCharWidth,
         metrics.tmPitchAndFamily, u, h);

    RECT window = {};
    GetWindowRect(app.Main(), &window);
    EXPECT(window.right - window.left == 57 * u && window.bottom - window.top == 25 * h,
           "window %ld x %ld, expected %d x %d", window.right - window.left, window.bottom - window.top,
           57 * u, 25 * h);

    enum Kind { PLAIN, COMBO, LIST, UPDOWN };
    struct Row {
        const char* label;  // the static's text, or nullptr for a control with an id
        int id;
        Kind kind;
        int x, row, width, height;  // x and width in U, y = 5 + row * H, height in H
    };
    const Row rows[] = {
        {"Track Name", 0, PLAIN, 1, 0, 10, 1},
        {"Designer Name", 0, PLAIN, 30, 0, 15, 1},
        {nullptr, ID_TRACK_NAME, PLAIN, 1, 1, 25, 1},
        {nullptr, ID_DESIGNER_NAME, PLAIN, 30, 1, 25, 1},
        {"Track Pieces", 0, PLAIN, 1, 3, 15, 1},
        {"Number of Pieces", 0, PLAIN, 41, 3, 15, 1},
        {nullptr, ID_PIECE_COUNT, PLAIN, 30, 3, 10, 1},
        {nullptr, ID_PIECE_LIST, LIST, 1, 4, 25, 15},
        {"Current Piece", 0, PLAIN, 41, 5, 15, 1},
        {nullptr, ID_CURRENT_PIECE, PLAIN, 30, 5, 10, 1},
        {"Piece Type", 0, PLAIN, 41, 7, 15, 1},
        {nullptr, ID_PIECE_TYPE, COMBO, 30, 7, 10, 10},
        {"Piece Length", 0, PLAIN, 41, 9, 15, 1},
        {nullptr, ID_PIECE_LENGTH, COMBO, 30, 9, 10, 6},
        {"Attributes", 0, PLAIN, 41, 11, 15, 1},
        {nullptr, ID_ATTRIBUTES, COMBO, 30, 11, 10, 5},
        {"Piece Pitch", 0, PLAIN, 41, 13, 15, 1},
        {nullptr, ID_PIECE_PITCH, PLAIN, 30, 13, 8, 1},
        {nullptr, ID_PITCH_UPDOWN, UPDOWN, 38, 13, 1, 1},
        {"Piece Bank", 0, PLAIN, 41, 15, 15, 1},
        {nullptr, ID_PIECE_BANK, PLAIN, 30, 15, 8, 1},
        {nullptr, ID_BANK_UPDOWN, UPDOWN, 38, 15, 1, 1},
        {nullptr, ID_MATTERHORN, PLAIN, 30, 17, 25, 1},
        {nullptr, ID_SAVE, PLAIN, 1, 19, 10, 2},
        {nullptr, ID_OPEN, PLAIN, 15, 19, 10, 2},
        {nullptr, ID_REFRESH, PLAIN, 30, 19, 10, 2},
        {nullptr, ID_EXIT, PLAIN, 45, 19, 10, 2},
    };
    std::vector<RECT> before;
    for (const Row& row : rows) {
        if (row.label)
            SetContext("\"%s\"", row.label);
        else
            SetContext("control %d", row.id);
        HWND control = row.label ? ChildByText(app.Main(), "Static", row.label) : app.Item(row.id);
        if (!EXPECT(control, "not found")) {
            before.push_back(RECT{});
            continue;
        }
        const RECT rect = RectInClient(control, app.Main());
        before.push_back(rect);
        const int x = row.x * u, y = 5 + row.row * h, width = row.width * u, height = row.height * h;
        const int actualWidth = rect.right - rect.left, actualHeight = rect.bottom - rect.top;
        // An up-down control makes itself as wide as its arrows when created,
        // whatever width it is given.
        const bool widthHolds = row.kind == UPDOWN || actualWidth == width;
        EXPECT(rect.left == x && rect.top == y && widthHolds, "at %ld,%ld width %d; expected %d,%d width %d",
               rect.left, rect.top, actualWidth, x, y, width);
        if (row.kind == PLAIN || row.kind == UPDOWN) {
            EXPECT(actualHeight == height, "height %d, expected %d", actualHeight, height);
        } else if (row.kind == LIST) {
            // A list box shows whole lines only and trims its height to them.
            LRESULT itemHeight = 0;
            Send(control, LB_GETITEMHEIGHT, 0, 0, &itemHeight);
            EXPECT(actualHeight <= height && actualHeight > height - itemHeight,
                   "height %d, expected %d trimmed to whole lines of %ld", actualHeight, height,
                   static_cast<long>(itemHeight));
        } else {
            // The height given to a drop-down list is its height when open.
            // Wine's dropped rectangle holds the list alone, below the closed
            // box; Windows' holds both. (The reply itself is CB_OKAY, 0.)
            RECT dropped = {};
            RECT closed = {};
            GetWindowRect(control, &closed);
            EXPECT(Send(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) &&
                       dropped.bottom > dropped.top,
                   "no open list rectangle");
            const long listHeight = dropped.bottom - dropped.top;
            const long closedHeight = closed.bottom - closed.top;
            EXPECT(listHeight + closedHeight == height || listHeight == height,
                   "open list %ld high below a box %ld high, expected %d in all", listHeight, closedHeight,
                   height);
        }
    }
    SetContext("after enlarging the window");
    SetWindowPos(app.Main(), nullptr, 0, 0, 57 * u + 200, 25 * h + 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT(app.Idle(), "a message after resizing");
    for (size_t i = 0; i < sizeof rows / sizeof *rows; ++i) {
        const Row& row = rows[i];
        HWND control = row.label ? ChildByText(app.Main(), "Static", row.label) : app.Item(row.id);
        if (!control)
            continue;
        const RECT rect = RectInClient(control, app.Main());
        EXPECT(EqualRect(&rect, &before[i]), "control %s%d moved or changed size",
               row.label ? row.label : "", row.id);
    }
    SetContext("%s", "");
    ExitClean(app);
}

// ---- The case table ---------------------------------------------------------------

struct Case {
    const char* name;
    void (*run)();
    DWORD timeoutMs;
};

const Case CASES[] = {
    {"start_without_track", StartWithoutTrack, 90000},
    {"start_with_track", StartWithTrack, 60000},
    {"repository_samples", RepositorySamples, 60000},
    {"choose_pieces", ChoosePieces, 60000},
    {"unknown_codes", UnknownCodes, 60000},
    {"edit_and_save", EditAndSave, 90000},
    {"arrows_wrap", ArrowsWrap, 60000},
    {"values_outside_arrow_range", ValuesOutsideArrowRange, 90000},
    {"refused_files", RefusedFiles, 240000},
    {"accepted_edge_files", AcceptedEdgeFiles, 120000},
    {"tiny_tracks_save", TinyTracksSave, 90000},
    {"close_with_changes", CloseWithChanges, 300000},
    {"close_when_save_fails", CloseWhenSaveFails, 150000},
    {"open_through_dialog", OpenThroughDialog, 90000},
    {"open_refused_keeps_track", OpenRefusedKeepsTrack, 150000},
    {"open_asks_about_changes", OpenAsksAboutChanges, 150000},
    {"save_as_new_name", SaveAsNewName, 90000},
    {"save_as_existing_file", SaveAsExistingFile, 90000},
    {"save_as_cancelled", SaveAsCancelled, 60000},
    {"command_line_forms", CommandLineForms, 120000},
    {"refresh", Refresh, 150000},
    {"about_box", AboutBox, 60000},
    {"open_starts_in_tradir", OpenStartsInTraDir, 60000},
    {"layout", Layout, 60000},
};

const Case* FindCase(const char* name)
{
    for (const Case& c : CASES) {
        if (std::strcmp(c.name, name) == 0)
            return &c;
    }
    return nullptr;
}

bool RunCase(const Case& c)
{
    std::printf("RUN  %s\n", c.name);
    std::fflush(stdout);
    ResetFailures();
    caseFolder = std::string("D:\\cases\\") + c.name;
    RemoveTree(caseFolder);
    if (!MakeFolders(caseFolder)) {
        std::printf("FAIL %s: cannot make %s\n", c.name, caseFolder.c_str());
        return false;
    }
    const DWORD start = GetTickCount();
    ArmWatchdog(c.timeoutMs, c.name);
    c.run();
    DisarmWatchdog();
    const double seconds = (GetTickCount() - start) / 1000.0;
    const bool passed = FailureCount() == 0;
    std::printf("%s %s (%.1f s%s)\n", passed ? "PASS" : "FAIL", c.name, seconds,
                passed ? "" : ", see the failures above");
    std::fflush(stdout);
    return passed;
}

}  // namespace

int main(int argc, char** argv)
{
    // A crash of the driver must not wait for a person either.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (argc < 2) {
        std::printf("usage: velari_e2e.exe CASE... | all | --list | --check-list NAME...\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--list") == 0) {
        for (const Case& c : CASES)
            std::printf("%s\n", c.name);
        return 0;
    }
    if (std::strcmp(argv[1], "--check-list") == 0) {
        // Every case must be registered with the test runner, and only those.
        int problems = 0;
        for (int i = 2; i < argc; ++i) {
            if (!FindCase(argv[i])) {
                std::printf("registered but unknown: %s\n", argv[i]);
                ++problems;
            }
        }
        for (const Case& c : CASES) {
            bool listed = false;
            for (int i = 2; i < argc; ++i)
                listed = listed || std::strcmp(argv[i], c.name) == 0;
            if (!listed) {
                std::printf("not registered: %s\n", c.name);
                ++problems;
            }
        }
        std::printf("%d passed, %d failed\n", problems ? 0 : 1, problems ? 1 : 0);
        return problems ? 1 : 0;
    }

    std::vector<const Case*> chosen;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "all") == 0) {
            for (const Case& c : CASES)
                chosen.push_back(&c);
        } else if (const Case* c = FindCase(argv[i])) {
            chosen.push_back(c);
        } else {
            std::printf("unknown case %s (--list shows them)\n", argv[i]);
            return 2;
        }
    }
    int passed = 0, failed = 0;
    for (const Case* c : chosen)
        (RunCase(*c) ? passed : failed)++;
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
