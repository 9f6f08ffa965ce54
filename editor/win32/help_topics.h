// The help's pages on the main window's controls, for F1 on them. Halibut
// names each page of the HTML Help file after its topic's title. Free of
// Windows, so that the built help file can be checked against it anywhere.
#ifndef VELARI_HELP_TOPICS_H
#define VELARI_HELP_TOPICS_H

#include "resource.h"

const char HTML_HELP_FILE_NAME[] = "Velari.chm";
const char WIN_HELP_FILE_NAME[] = "Velari.hlp";

struct HelpTopic {
    int controlId;
    const char* page;
};
const char PIECES_PAGE[] = "Thepiecelistandthecurrentpiece.html";
const char FIELDS_PAGE[] = "Thefieldsofthemainwindow.html";
const HelpTopic HELP_TOPICS[] = {
    {IDC_PIECE_LIST, PIECES_PAGE},   {IDC_PIECE_TYPE, FIELDS_PAGE}, {IDC_PIECE_LENGTH, FIELDS_PAGE},
    {IDC_ATTRIBUTES, FIELDS_PAGE},   {IDC_PIECE_PITCH, FIELDS_PAGE}, {IDC_PIECE_BANK, FIELDS_PAGE},
    {IDC_MATTERHORN, FIELDS_PAGE},
};

// The page that describes the control; null where none does.
inline const char* HelpPageOfControl(int controlId)
{
    for (const HelpTopic& topic : HELP_TOPICS)
        if (topic.controlId == controlId)
            return topic.page;
    return nullptr;
}

#endif
