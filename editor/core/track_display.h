// What the track logic shows to the user. The main window implements these
// with its controls; the unit tests implement them with a recorder. The track
// logic computes every text and selection; an implementation only puts them
// on the screen.
#ifndef VELARI_TRACK_DISPLAY_H
#define VELARI_TRACK_DISPLAY_H

enum TrackField {
    FIELD_TRACK_NAME,
    FIELD_DESIGNER_NAME,
    FIELD_PIECE_COUNT,     // "Number of Pieces"
    FIELD_CURRENT_PIECE,   // "Current Piece"
    FIELD_PIECE_PITCH,     // "Piece Pitch"; reports its change back at once
    FIELD_PIECE_BANK       // "Piece Bank"; reports its change back at once
};

enum PieceChoiceList {
    CHOICE_PIECE_TYPE,
    CHOICE_PIECE_LENGTH,
    CHOICE_ATTRIBUTES
};

enum MessageKind {
    MESSAGE_ERROR,          // OK button, error icon
    MESSAGE_SAVE_QUESTION,  // Yes, No and Cancel, question icon
    MESSAGE_WARNING         // OK button, warning icon
};

enum MessageAnswer { ANSWER_OK, ANSWER_YES, ANSWER_NO, ANSWER_CANCEL };

// A modal message box owned by the main window; returns the button chosen.
MessageAnswer ShowTrackMessage(const char* text, const char* caption, MessageKind kind);
void ShowWindowTitle(const char* title);
// Writing the pitch or bank field may call ReadBackPitch or ReadBackBank
// before it returns, as the real edit field's change notice does.
void ShowFieldText(TrackField field, const char* text);
void ShowMatterhornCheck(bool checked);
// The piece list is rebuilt as Begin, one Add per line in order, End.
// Begin empties it; no line is selected afterwards.
void BeginPieceList(int lineCount);
void AddPieceListLine(const char* text);
void EndPieceList();
void SelectPieceListLine(int line);
// index -1 leaves the list with no entry selected.
void SelectChoice(PieceChoiceList list, int index);
// The pieces, the current piece or the count changed: the track's overview
// is drawn again.
void ShowTrackOverview();

#endif
