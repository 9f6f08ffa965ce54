#include "edit_history.h"

#include <initializer_list>

#include "piece_edit_state.h"
#include "track_display.h"
#include "track_document.h"

namespace {

// Which byte a step changed: one of a piece's record, or the track's flag.
enum StepByte { STEP_CODE, STEP_BANK, STEP_PITCH, STEP_MATTERHORN };
enum { STEP_PIECE_BITS = 14 };
static_assert(MAX_TRACK_PIECES <= (1 << STEP_PIECE_BITS), "a piece index fits beside the byte it names");

struct EditStep {
    uint16_t target;  // the piece in the low bits, the StepByte above them
    uint8_t before;
    uint8_t after;
};
static_assert(sizeof(EditStep) == 4, "a step costs four bytes");

// A ring: the oldest kept step is at first; steps 0 to done - 1 (counted from
// first) are made, done to kept - 1 can be made again.
EditStep steps[EDIT_HISTORY_CAPACITY];
int first;
int kept;
int done;

void Record(int piece, StepByte byte, uint8_t before, uint8_t after)
{
    if (before == after)
        return;
    if (done == EDIT_HISTORY_CAPACITY) {
        first = (first + 1) % EDIT_HISTORY_CAPACITY;
        --done;
    }
    EditStep& step = steps[(first + done) % EDIT_HISTORY_CAPACITY];
    step.target = static_cast<uint16_t>(byte << STEP_PIECE_BITS | piece);
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

// Puts one side of the step into the track and shows it as a choice in the
// window would: the piece's line changes at once, the piece is shown.
void Apply(const EditStep& step, uint8_t value)
{
    TrackDocument& doc = trackDocument;
    const int byte = step.target >> STEP_PIECE_BITS;
    if (byte == STEP_MATTERHORN) {
        doc.header.matterhornSetting = value;
        ShowMatterhornCheck(value != 0);
    } else {
        // What is pending belongs to the piece it was made on.
        EncodeCurrentPiece();
        doc.currentPiece = step.target & ((1 << STEP_PIECE_BITS) - 1);
        RecordByte(doc.pieces[doc.currentPiece], byte) = value;
        if (byte == STEP_CODE)
            RefreshPieceList();
        DecodeCurrentPiece();
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
    const EditStep& step = steps[(first + --done) % EDIT_HISTORY_CAPACITY];
    Apply(step, step.before);
    return true;
}

bool RedoEdit()
{
    if (!CanRedoEdit())
        return false;
    const EditStep& step = steps[(first + done++) % EDIT_HISTORY_CAPACITY];
    Apply(step, step.after);
    return true;
}

void ClearEditHistory()
{
    first = kept = done = 0;
}
