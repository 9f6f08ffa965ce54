// The codec between a record and the edit fields, the piece list's texts and
// the order in which the fields are shown.
#include "display_recorder.h"
#include "piece_edit_state.h"
#include "track_document.h"
#include "track_edits.h"
#include "track_test_support.h"

namespace {

struct CodeCase {
    uint8_t code;
    int shape, length, attribute;
    const char* line;
};

// Every code the editor writes: the 20 shapes and lengths with each attribute.
std::vector<CodeCase> AllValidCodes()
{
    static const char* const lines[] = {"Lift", "Left Turn", "Straight", "Right Turn",
                                        "Corkscrew", "Little Loop", "Big Loop", "Fake Tunnel"};
    std::vector<CodeCase> cases;
    for (int attribute = 0; attribute < 3; ++attribute) {
        uint8_t mask = attribute == 1 ? 0x40 : attribute == 2 ? 0x80 : 0;
        for (int shape = 0; shape < 4; ++shape)
            for (int length = 0; length < 4; ++length)
                cases.push_back({static_cast<uint8_t>((2 + 8 * shape + 2 * length) | mask), shape,
                                 length, attribute, lines[shape]});
        for (int shape = 4; shape < 8; ++shape)
            cases.push_back({static_cast<uint8_t>((34 + 2 * (shape - 4)) | mask), shape,
                             PIECE_LENGTH_NONE, attribute, lines[shape]});
    }
    return cases;
}

class PieceEditStateTest : public TrackTest {
protected:
    // A loaded track of three listed pieces whose piece 1 is the one given.
    void LoadWithPiece(TrackPiece piece)
    {
        TrackFileContents contents;
        contents.count = 4;
        contents.pieces = {{0x12, 0, 0}, piece, {0x44, 10, -10}, {0x28, 0, 0}};
        ASSERT_TRUE(LoadBytes("codec.tra", TrackFileBytes(contents)));
        ChoosePiece(1);
        display.events.clear();
    }
};

TEST_F(PieceEditStateTest, EveryWrittenCodeDecodesAndEncodesToItself)
{
    std::vector<CodeCase> cases = AllValidCodes();
    ASSERT_EQ(cases.size(), 60u);
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.code));
        LoadWithPiece({c.code, -128, 127});
        const PieceEditState& state = trackDocument.editState;
        EXPECT_EQ(state.shape, c.shape);
        EXPECT_EQ(state.length, c.length);
        EXPECT_EQ(state.attribute, c.attribute);
        EXPECT_EQ(display.pieceLines[1], c.line);
        EXPECT_FALSE(trackDocument.isDirty);

        trackDocument.editState.editPending = 1;
        EncodeCurrentPiece();
        EncodeCurrentPiece();  // encoding twice writes the same bytes
        EXPECT_EQ(trackDocument.pieces[1].code, c.code);
        EXPECT_EQ(trackDocument.pieces[1].bank, -128);
        EXPECT_EQ(trackDocument.pieces[1].pitch, 127);
    }
}

TEST_F(PieceEditStateTest, NamedExamplesDecodeAsDocumented)
{
    const CodeCase examples[] = {
        {0x44, 0, 1, 1, "Lift"},
        {0x8A, 1, 0, 2, "Left Turn"},
        {0xA2, 4, PIECE_LENGTH_NONE, 2, "Corkscrew"},
        {0x28, 7, PIECE_LENGTH_NONE, 0, "Fake Tunnel"},
        {0x68, 7, PIECE_LENGTH_NONE, 1, "Fake Tunnel"},
    };
    for (const CodeCase& c : examples) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.code));
        LoadWithPiece({c.code, 0, 0});
        EXPECT_EQ(display.choice[CHOICE_PIECE_TYPE], c.shape);
        EXPECT_EQ(display.choice[CHOICE_PIECE_LENGTH], c.length == PIECE_LENGTH_NONE ? -1 : c.length);
        EXPECT_EQ(display.choice[CHOICE_ATTRIBUTES], c.attribute);
        EXPECT_EQ(display.pieceLines[1], c.line);
    }
}

TEST_F(PieceEditStateTest, CorkscrewEncodingIgnoresLength)
{
    for (uint8_t length : {0, 1, 2, 3, int(PIECE_LENGTH_NONE)}) {
        PieceEditState state = {4, length, 2, 0, 0, 1};
        EXPECT_EQ(EncodePieceCode(state, 0x12), 0xA2);
        state.attribute = 0;
        EXPECT_EQ(EncodePieceCode(state, 0x12), 0x22);
    }
}

TEST_F(PieceEditStateTest, LiftForCorkscrewWaitsForALength)
{
    LoadWithPiece({0x22, 0, 0});
    ChangePieceType(0);
    EXPECT_EQ(trackDocument.pieces[1].code, 0x22);
    EXPECT_EQ(display.pieceLines[1], "Corkscrew");
    EXPECT_EQ(display.selectedLine, 1);
    EXPECT_TRUE(trackDocument.isDirty);

    SetPieceLength(2);
    EXPECT_EQ(trackDocument.pieces[1].code, 0x22);  // not before the next encode
    ChoosePiece(0);
    EXPECT_EQ(trackDocument.pieces[1].code, 0x06);
}

TEST_F(PieceEditStateTest, TypeChangeRebuildsListAndKeepsOtherFields)
{
    LoadWithPiece({0x0C, 3, 4});
    SetPieceLength(3);
    ChangePieceType(3);
    EXPECT_EQ(trackDocument.pieces[1].code, 0x20);
    EXPECT_EQ(display.pieceLines[1], "Right Turn");
    EXPECT_EQ(display.selectedLine, 1);
    EXPECT_TRUE(display.EventsStartingWith("choice").empty());
    EXPECT_EQ(display.events.back(), "select 1");
}

TEST_F(PieceEditStateTest, PendingEditsReachThePieceOnlyAtEncode)
{
    LoadWithPiece({0x04, 0, 0});
    SetPieceLength(0);
    SetPieceAttribute(2);
    ReadBackPitch(-85, false);
    ReadBackBank(125, false);
    EXPECT_EQ(trackDocument.pieces[1].code, 0x04);
    EXPECT_EQ(trackDocument.pieces[1].pitch, 0);
    ChoosePiece(2);
    EXPECT_EQ(trackDocument.pieces[1].code, 0x82);
    EXPECT_EQ(trackDocument.pieces[1].pitch, -85);
    EXPECT_EQ(trackDocument.pieces[1].bank, 125);
    EXPECT_FALSE(trackDocument.editState.editPending);
}

TEST_F(PieceEditStateTest, FieldsAreShownBeforeTheEditIsCleared)
{
    LoadWithPiece({0x44, -20, -30});
    ChoosePiece(2);
    const std::vector<std::string> expected = {
        "field CURRENT_PIECE 3", "select 2", "choice TYPE 0", "choice LENGTH 1",
        "choice ATTRIBUTE 1", "field BANK 10", "field PITCH -10"};
    EXPECT_EQ(display.events, expected);
    // Writing the negative values reported changes that were not edits.
    EXPECT_FALSE(trackDocument.isDirty);
    EXPECT_FALSE(trackDocument.editState.editPending);
}

TEST_F(PieceEditStateTest, ValuesBeyondTheArrowsAreShownAndKept)
{
    LoadWithPiece({0x12, -128, 100});
    EXPECT_EQ(display.fields[FIELD_PIECE_PITCH], "100");
    EXPECT_EQ(display.fields[FIELD_PIECE_BANK], "-128");
    EXPECT_FALSE(trackDocument.isDirty);
    SetPieceAttribute(1);
    ChoosePiece(0);
    EXPECT_EQ(trackDocument.pieces[1].pitch, 100);
    EXPECT_EQ(trackDocument.pieces[1].bank, -128);
    EXPECT_EQ(trackDocument.pieces[1].code, 0x52);
}

TEST_F(PieceEditStateTest, CodesNamingNoPieceShowNoChoice)
{
    const uint8_t unknown[] = {0x00, 0x01, 0x23, 0x2A, 0x3F, 0x40, 0xC4, 0xE8, 0xFF};
    for (uint8_t code : unknown) {
        SCOPED_TRACE(testing::Message() << std::hex << int(code));
        LoadWithPiece({code, 5, 6});
        ChoosePiece(2);  // a previous piece with every field selected
        ChoosePiece(1);
        bool namesShape = (code & 0x3F) != 0 && (code & 0x3F) <= 40 && (code & 1) == 0;
        EXPECT_EQ(display.pieceLines[1], namesShape ? PieceListText(code) : "Unknown");
        if (!namesShape) {
            EXPECT_EQ(display.choice[CHOICE_PIECE_TYPE], -1);
            EXPECT_EQ(display.choice[CHOICE_PIECE_LENGTH], -1);
        }
        if ((code & 0xC0) == 0xC0) {
            EXPECT_EQ(display.choice[CHOICE_ATTRIBUTES], -1);
        }

        ReadBackPitch(7, false);
        ReadBackBank(-7, false);
        ChoosePiece(0);
        EXPECT_EQ(trackDocument.pieces[1].code, code);
        EXPECT_EQ(trackDocument.pieces[1].pitch, 7);
        EXPECT_EQ(trackDocument.pieces[1].bank, -7);
    }
}

TEST_F(PieceEditStateTest, NoChangedCodeNamesBothAttributes)
{
    const int shapes[] = {PIECE_SHAPE_UNKNOWN, 0, 1, 2, 3, 4, 5, 6, 7};
    const int lengths[] = {0, 1, 2, 3, PIECE_LENGTH_NONE};
    const int attributes[] = {0, 1, 2, PIECE_ATTRIBUTE_UNKNOWN};
    for (int oldCode = 0; oldCode < 256; ++oldCode)
        for (int shape : shapes)
            for (int length : lengths)
                for (int attribute : attributes) {
                    PieceEditState state = {static_cast<int8_t>(shape), static_cast<uint8_t>(length),
                                            static_cast<uint8_t>(attribute), 0, 0, 1};
                    uint8_t code = EncodePieceCode(state, static_cast<uint8_t>(oldCode));
                    if (code != oldCode) {
                        ASSERT_NE(code & 0xC0, 0xC0) << oldCode << " " << shape << " " << length
                                                     << " " << attribute;
                    }
                }
}

TEST_F(PieceEditStateTest, ChoicesNeedATrackAndASelection)
{
    ChangePieceType(2);
    SetPieceLength(1);
    SetPieceAttribute(1);
    ReadBackPitch(5, false);
    ToggleMatterhornSetting();
    EXPECT_FALSE(trackDocument.isDirty);
    EXPECT_TRUE(display.events.empty());

    LoadWithPiece({0x44, 0, 0});
    for (int none : {-1, 8})
        ChangePieceType(none);
    SetPieceLength(-1);
    SetPieceLength(4);
    SetPieceAttribute(3);
    ChoosePiece(-1);
    ReadBackPitch(0, false);  // same value: not an edit
    EXPECT_FALSE(trackDocument.isDirty);
    EXPECT_TRUE(display.events.empty());
}

TEST_F(PieceEditStateTest, CurrentPieceIsShownCountingFromOne)
{
    TrackFileContents contents;
    contents.count = 2000;
    contents.pieces = VariedPieces(2000);
    ASSERT_TRUE(LoadBytes("long.tra", TrackFileBytes(contents)));
    EXPECT_EQ(display.fields[FIELD_CURRENT_PIECE], "1");
    ChoosePiece(1998);
    EXPECT_EQ(display.fields[FIELD_CURRENT_PIECE], "1999");
    EXPECT_EQ(display.selectedLine, 1998);
    EXPECT_EQ(display.pieceLines.size(), 1999u);
}

}  // namespace
