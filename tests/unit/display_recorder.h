// A stand-in for the main window: records everything the track logic shows,
// in order, and answers message boxes from a queue.
#ifndef VELARI_DISPLAY_RECORDER_H
#define VELARI_DISPLAY_RECORDER_H

#include <deque>
#include <string>
#include <vector>

#include "track_display.h"

struct DisplayRecorder {
    std::vector<std::string> events;   // "field PITCH 12", "line Lift", ...
    std::vector<std::string> messages; // "caption|text"
    std::deque<MessageAnswer> answers; // next message box answers; OK when empty
    std::string title;
    std::vector<std::string> pieceLines;
    int selectedLine = -1;
    int choice[3] = {-1, -1, -1};
    std::string fields[6];
    bool matterhornChecked = false;
    // The up-down controls hold their last in-range position, as the real ones do.
    int pitchPosition = 0;
    int bankPosition = 0;

    void Clear();
    std::vector<std::string> EventsStartingWith(const std::string& prefix) const;
};

extern DisplayRecorder display;

#endif
