#include "edit_history.h"

#include <cstring>
#include <initializer_list>

#include "piece_edit_state.h"
#include "piece_selection.h"
#include "track_display.h"
#include "track_document.h"

namespace {

// Which byte a step changed: one of a piece's record, or the track's flag.
enum StepByte { STEP_CODE, STEP_BANK, STEP_PITCH, STEP_MATTERHORN };
// The piece in the low bits, the StepByte above it, and a mark on every
// byte of a group but its first.
enum { STEP_PIECE_BITS = 11, STEP_BYTE_SHIFT = STEP_PIECE_BITS, STEP_JOINS = 1 << (STEP_PIECE_BITS + 2) };
static_assert(MAX_TRACK_PIECES <= (1 << STEP_PIECE_BITS), "a piece index fits beside the byte it names");

struct EditStep {
    uint16_t target;
    uint8_t before;
    uint8_t after;
};
static_assert(sizeof(EditStep) == 4, "a byte's change costs four bytes");
// The largest group, a paste over every piece, must fit with room to spare.
static_assert(EDIT_HISTORY_CAPACITY > 3 * MAX_TRACK_PIECES, "a whole group fits in the history");

// A ring: the oldest kept byte is at first; bytes 0 to done - 1 (counted
// from first) are made, done to kept - 1 can be made again.
EditStep steps[EDIT_HISTORY_CAPACITY];
int first;
int kept;
int done;
bool groupOpen;
bool groupStarted;

EditStep& At(int index)
{
    return steps[(first + index) % EDIT_HISTORY_CAPACITY];
}

bool Joins(int index)
{
    return (At(index).target & STEP_JOINS) != 0;
}

void Record(int piece, StepByte byte, uint8_t before, uint8_t after)
{
    if (before == after)
        return;
    if (done == EDIT_HISTORY_CAPACITY) {
        // The oldest step goes whole, group and all.
        do {
            first = (first + 1) % EDIT_HISTORY_CAPACITY;
            --done;
        } while (done > 0 && Joins(0));
    }
    const bool joins = groupOpen && groupStarted;
    groupStarted = groupOpen;
    EditStep& step = At(done);
    step.target = static_cast<uint16_t>(byte << STEP_BYTE_SHIFT | piece | (joins ? STEP_JOINS : 0));
    step.before = before;
    step.after = after;
    // A new change forgets the steps that could have been made again.
    kept = ++done;
}

uint8_t& RecordByte(TrackPiece& piece, int byte)
{
    switch (byte) {
    case STEP_BANK:  return reinterpret_cast<uint8_t&>(piece.bank);
    case STEP_PITCH: return reinterpret_cast<uint8_t&>(piece.pitch);
    default:         return piece.code;
    }
}

bool touched[MAX_TRACK_PIECES];

// Puts one side of the bytes from to end - 1 into the track and shows them
// as a choice in the window would: the pieces' lines change at once, the
// piece is shown, or the pieces are shown chosen together.
void Apply(int from, int end, bool undo)
{
    TrackDocument& doc = trackDocument;
    // What is pending belongs to the piece it was made on.
    EncodeCurrentPiece();
    std::memset(touched, 0, sizeof touched);
    int pieceCount = 0, lastPiece = -1;
    bool lineChanged = false;
    for (int i = 0; i < end - from; ++i) {
        const EditStep& step = At(undo ? end - 1 - i : from + i);
        const uint8_t value = undo ? step.before : step.after;
        const int byte = (step.target >> STEP_BYTE_SHIFT) & 3;
        if (byte == STEP_MATTERHORN) {
            doc.header.matterhornSetting = value;
            ShowMatterhornCheck(value != 0);
            continue;
        }
        const int piece = step.target & ((1 << STEP_PIECE_BITS) - 1);
        RecordByte(doc.pieces[piece], byte) = value;
        // A line names the piece's type alone.
        lineChanged = lineChanged || (byte == STEP_CODE && PieceShapeOfCode(step.before) != PieceShapeOfCode(step.after));
        pieceCount += touched[piece] ? 0 : 1;
        touched[piece] = true;
        lastPiece = piece;
    }
    if (lineChanged)
        RefreshPieceList();
    else if (pieceCount > 0)
        ShowTrackOverview();
    if (pieceCount == 1) {
        doc.currentPiece = lastPiece;
        DecodeCurrentPiece();
    } else if (pieceCount > 1) {
        ChooseMarkedPieces(touched);
    }
    UpdateDirtyFlag();
}

}  // namespace

void RecordPieceEdit(int piece, const TrackPiece& before, const TrackPiece& after)
{
    TrackPiece from = before, to = after;
    for (StepByte byte : {STEP_CODE, STEP_BANK, STEP_PITCH})
        Record(piece, byte, RecordByte(from, byte), RecordByte(to, byte));
}

void RecordMatterhornEdit(uint8_t before, uint8_t after)
{
    Record(0, STEP_MATTERHORN, before, after);
}

void BeginEditGroup()
{
    groupOpen = true;
    groupStarted = false;
}

void EndEditGroup()
{
    groupOpen = groupStarted = false;
}

bool CanUndoEdit()
{
    return done > 0;
}

bool CanRedoEdit()
{
    return done < kept;
}

bool UndoEdit()
{
    if (!CanUndoEdit())
        return false;
    const int end = done;
    do
        --done;
    while (done > 0 && Joins(done));
    Apply(done, end, true);
    return true;
}

bool RedoEdit()
{
    if (!CanRedoEdit())
        return false;
    const int from = done;
    do
        ++done;
    while (done < kept && Joins(done));
    Apply(from, done, false);
    return true;
}

void ClearEditHistory()
{
    first = kept = done = 0;
    groupOpen = groupStarted = false;
}
