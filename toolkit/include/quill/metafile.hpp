// Memory metafiles: drawings recorded in slots 1..20 while IGrSelect(4, handle) makes
// one current, replayed into the current drawable and any active hardcopy. An operation
// the recording has no memory for reports 1062 and the metafile keeps what came before.
#pragma once

// Takes the first free slot for a new, empty metafile and returns its handle; 0 with
// error 1060 when all twenty are in use.
void WMetafileCreate(int& handle);
// Draws the recorded metafile into the current drawable (and an active hardcopy),
// scaled to its size. An invalid or empty handle reports error 1060.
void WMetafileReplay(int handle);
// Windows build: puts a recorded metafile on the clipboard in the toolkit's CGM format
// (error 1060 for an invalid or empty handle, clipboard errors as reported by the
// clipboard), and takes one from it into a new slot (handle 0 on failure).
void WMetafileToClipboard(int handle);
void WMetafileFromClipboard(int& handle);
