// The strip under the main window's buttons that draws the whole track and
// takes the user to the piece clicked. What it draws is the track logic's
// (track_overview.h); this window paints it and passes on the mouse.
#ifndef VELARI_OVERVIEW_STRIP_H
#define VELARI_OVERVIEW_STRIP_H

#include <windows.h>

bool RegisterOverviewStripClass(HINSTANCE instance);

// Where the strip's rows lie, in pixels from its top, for a line height H:
// the shape band, the lanes of the brake, accelerate and unnamed-code marks,
// and the graph of pitch and bank around its zero line.
struct OverviewRows {
    int bandTop, bandHeight;
    int laneTop[3], laneHeight;
    int graphTop, graphHeight, zeroY;
};
OverviewRows OverviewRowsFor(int lineHeight, int stripHeight);

#endif
