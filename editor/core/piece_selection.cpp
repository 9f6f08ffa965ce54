#include "piece_selection.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "piece_edit_state.h"
#include "track_document.h"
#include "track_edits.h"

namespace {

// Read only while several are chosen; one chosen piece is the current piece.
bool chosen[MAX_TRACK_PIECES];
int chosenCount = 1;
int anchorPiece;

bool IsListedPiece(int piece)
{
    return piece >= 0 && piece < ListedPieceCount();
}

// The chosen array is filled: one piece is shown alone, several together.
void ShowChoice(int anchor, bool lines)
{
    TrackDocument& doc = trackDocument;
    int count = 0, first = -1;
    for (int piece = 0; piece < MAX_TRACK_PIECES; ++piece) {
        if (chosen[piece]) {
            first = first < 0 ? piece : first;
            ++count;
        }
    }
    if (count == 0)
        return;
    doc.currentPiece = first;
    if (count == 1) {
        DecodeCurrentPiece();
        return;
    }
    chosenCount = count;
    anchorPiece = IsListedPiece(anchor) && chosen[anchor] ? anchor : first;
    ShowChosenPieces(lines);
}

void ShowNumberOrNothing(TrackField field, bool shared, int value)
{
    char text[16] = "";
    if (shared)
        std::snprintf(text, sizeof text, "%d", value);
    ShowFieldText(field, text);
}

// Shared: the value all pieces give, or -1 once two differ.
void Share(int& shared, int value, bool firstPiece)
{
    if (firstPiece)
        shared = value;
    else if (shared != value)
        shared = -1;
}

}  // namespace

void SettlePendingEdit()
{
    EncodeCurrentPiece();
    trackDocument.editState.editPending = 0;
}

int ListedPieceCount()
{
    const TrackHeader& header = trackDocument.header;
    if (!trackDocument.isLoaded || header.pieceCount <= 0)
        return 0;
    return header.pieceCount < MAX_TRACK_PIECES ? header.pieceCount : int(MAX_TRACK_PIECES);
}

void ChoosePieceLines(const int* lines, int count, int anchor)
{
    SettlePendingEdit();
    std::memset(chosen, 0, sizeof chosen);
    for (int i = 0; i < count; ++i) {
        if (IsListedPiece(lines[i]))
            chosen[lines[i]] = true;
    }
    ShowChoice(anchor, false);
}

void ChoosePieceRange(int anchor, int piece)
{
    if (!IsListedPiece(anchor) || !IsListedPiece(piece))
        return;
    SettlePendingEdit();
    std::memset(chosen, 0, sizeof chosen);
    for (int i = anchor < piece ? anchor : piece; i <= (anchor < piece ? piece : anchor); ++i)
        chosen[i] = true;
    ShowChoice(anchor, true);
}

void ChooseAllPieces()
{
    if (ListedPieceCount() > 0)
        ChoosePieceRange(0, ListedPieceCount() - 1);
}

void ChooseMarkedPieces(const bool (&marked)[MAX_TRACK_PIECES])
{
    SettlePendingEdit();
    std::memcpy(chosen, marked, sizeof chosen);
    ShowChoice(-1, true);
}

void ChooseCurrentPieceAlone()
{
    if (chosenCount > 1)
        std::memset(chosen, 0, sizeof chosen);
    chosenCount = 1;
    anchorPiece = trackDocument.currentPiece;
}

bool SeveralPiecesChosen()
{
    return chosenCount > 1;
}

bool IsPieceChosen(int piece)
{
    if (piece < 0 || piece >= MAX_TRACK_PIECES)
        return false;
    return SeveralPiecesChosen() ? chosen[piece] : piece == trackDocument.currentPiece;
}

int PieceSelectionAnchor()
{
    return anchorPiece;
}

void ChosenPiecesText(char* text, size_t size)
{
    int count = 0, first = -1, last = -1;
    for (int piece = 0; piece < MAX_TRACK_PIECES; ++piece) {
        if (IsPieceChosen(piece)) {
            first = first < 0 ? piece : first;
            last = piece;
            ++count;
        }
    }
    if (count == 1)
        std::snprintf(text, size, "%d", first + 1);
    else if (last - first + 1 == count)
        std::snprintf(text, size, "%d-%d", first + 1, last + 1);
    else
        std::snprintf(text, size, "%d pieces", count);
}

SharedPieceFields SharedFieldsOfChosenPieces()
{
    SharedPieceFields shared = {-1, -1, -1, false, false, 0, 0};
    int pitch = 0, bank = 0;
    bool firstPiece = true;
    for (int piece = 0; piece < MAX_TRACK_PIECES; ++piece) {
        if (!IsPieceChosen(piece))
            continue;
        const PieceEditState state =
            PieceStateOfRecord(piece == trackDocument.currentPiece ? CurrentPieceAsEdited() : trackDocument.pieces[piece]);
        Share(shared.shape, state.shape, firstPiece);
        Share(shared.length, state.length == PIECE_LENGTH_NONE ? -1 : state.length, firstPiece);
        Share(shared.attribute, state.attribute == PIECE_ATTRIBUTE_UNKNOWN ? -1 : state.attribute, firstPiece);
        // Pitch and bank take every value a byte holds, so they keep a flag.
        shared.pitchShared = firstPiece || (shared.pitchShared && pitch == state.pitch);
        shared.bankShared = firstPiece || (shared.bankShared && bank == state.bank);
        pitch = state.pitch;
        bank = state.bank;
        firstPiece = false;
    }
    shared.pitch = pitch;
    shared.bank = bank;
    return shared;
}

void ShowSharedChoices()
{
    const SharedPieceFields shared = SharedFieldsOfChosenPieces();
    SelectChoice(CHOICE_PIECE_TYPE, shared.shape);
    SelectChoice(CHOICE_PIECE_LENGTH, shared.length);
    SelectChoice(CHOICE_ATTRIBUTES, shared.attribute);
}

void ShowChosenPieces(bool lines)
{
    if (lines) {
        SelectPieceListLine(anchorPiece);
        for (int piece = 0; piece < MAX_TRACK_PIECES; ++piece) {
            if (!chosen[piece])
                continue;
            int last = piece;
            while (last + 1 < MAX_TRACK_PIECES && chosen[last + 1])
                ++last;
            SelectPieceListRange(piece, last);
            piece = last;
        }
    }
    char text[32];
    ChosenPiecesText(text, sizeof text);
    ShowFieldText(FIELD_CURRENT_PIECE, text);
    ShowSharedChoices();
    const SharedPieceFields shared = SharedFieldsOfChosenPieces();
    ShowNumberOrNothing(FIELD_PIECE_BANK, shared.bankShared, shared.bank);
    ShowNumberOrNothing(FIELD_PIECE_PITCH, shared.pitchShared, shared.pitch);
    ShowTrackOverview();
}

bool PieceFieldCanStep(TrackField field)
{
    if (!SeveralPiecesChosen())
        return true;
    const SharedPieceFields shared = SharedFieldsOfChosenPieces();
    return field == FIELD_PIECE_PITCH ? shared.pitchShared : shared.bankShared;
}

bool ParsePieceNumber(const char* text, int& piece, char* message, size_t size)
{
    const int count = ListedPieceCount();
    while (*text == ' ')
        ++text;
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    while (end && *end == ' ')
        ++end;
    const bool digits = *text >= '0' && *text <= '9';
    if (digits && end && *end == '\0' && number >= 1 && number <= count) {
        piece = static_cast<int>(number - 1);
        return true;
    }
    std::snprintf(message, size, "Enter a piece number from 1 to %d.", count);
    return false;
}
