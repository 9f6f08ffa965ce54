#include "display_recorder.h"

#include <cstdlib>

#include "track_edits.h"
#include "track_format.h"

DisplayRecorder display;

namespace {

const char* const FIELD_NAMES[] = {"TRACK_NAME", "DESIGNER_NAME", "PIECE_COUNT",
                                   "CURRENT_PIECE", "PITCH", "BANK"};
const char* const CHOICE_NAMES[] = {"TYPE", "LENGTH", "ATTRIBUTE"};

// The edit field tells its window of the change before the text call
// returns; the window then asks the up-down control for its position.
void ReportFieldChange(int& position, int limit, const char* text, void (*readBack)(int, bool))
{
    int value = std::atoi(text);
    bool outOfRange = value < -limit || value > limit;
    if (!outOfRange)
        position = value;
    readBack(position, outOfRange);
}

}  // namespace

void DisplayRecorder::Clear()
{
    *this = DisplayRecorder();
}

std::vector<std::string> DisplayRecorder::EventsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const std::string& event : events)
        if (event.compare(0, prefix.size(), prefix) == 0)
            found.push_back(event);
    return found;
}

MessageAnswer ShowTrackMessage(const char* text, const char* caption, MessageKind kind)
{
    display.messages.push_back(std::string(caption) + "|" + text);
    display.events.push_back(std::string("message ") + caption);
    if (display.answers.empty())
        return kind == MESSAGE_ERROR ? ANSWER_OK : ANSWER_CANCEL;
    MessageAnswer answer = display.answers.front();
    display.answers.pop_front();
    return answer;
}

void ShowWindowTitle(const char* title)
{
    display.title = title;
    display.events.push_back(std::string("title ") + title);
}

void ShowFieldText(TrackField field, const char* text)
{
    display.fields[field] = text;
    display.events.push_back(std::string("field ") + FIELD_NAMES[field] + " " + text);
    if (field == FIELD_PIECE_PITCH)
        ReportFieldChange(display.pitchPosition, PITCH_ARROW_LIMIT, text, ReadBackPitch);
    else if (field == FIELD_PIECE_BANK)
        ReportFieldChange(display.bankPosition, BANK_ARROW_LIMIT, text, ReadBackBank);
}

void ShowMatterhornCheck(bool checked)
{
    display.matterhornChecked = checked;
    display.events.push_back(checked ? "check 1" : "check 0");
}

void BeginPieceList(int)
{
    display.pieceLines.clear();
    display.selectedLine = -1;
    display.events.push_back("list begin");
}

void AddPieceListLine(const char* text)
{
    display.pieceLines.push_back(text);
}

void EndPieceList()
{
    display.events.push_back("list end");
}

void SelectPieceListLine(int line)
{
    display.selectedLine = line;
    display.events.push_back("select " + std::to_string(line));
}

void SelectChoice(PieceChoiceList list, int index)
{
    display.choice[list] = index;
    display.events.push_back(std::string("choice ") + CHOICE_NAMES[list] + " " +
                             std::to_string(index));
}
