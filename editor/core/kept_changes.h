// Unsaved changes kept on disk beside the track until they are saved or
// given up, and brought back when the editor starts again after it ended
// without saving them (a crash, a kill, the end of the session).
#ifndef VELARI_KEPT_CHANGES_H
#define VELARI_KEPT_CHANGES_H

// The document's one hook into keeping: called whenever a change may have
// made the track unsaved or saved again. An unsaved track is kept soon; a
// saved one has no kept file.
void TrackChangedForKeeping();
// The track now is what its file holds (loaded or saved): nothing is kept,
// and the file's version is noted for a later bringing back.
void TrackSettledForKeeping();
// The person gave up the unsaved changes: the kept file goes.
void DropKeptChanges();
// The timer's part: writes the kept file if a change made it due.
bool KeepDueTrack();
// Writes the unsaved track's kept file now, due or not. False when that
// write failed.
bool KeepTrackNow();

// At start, before a track is loaded: brings back kept changes for the
// track asked for (requested), or with none asked for, the most recently
// kept ones, of a track no other running editor has open. Damaged kept
// files are put aside and said once. True when a track was brought back.
bool BringBackKeptChanges(const char* requested);

#endif
