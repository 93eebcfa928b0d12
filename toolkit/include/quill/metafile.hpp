// Memory metafiles: drawings recorded in slots 1..20 while IGrSelect(4, handle) makes
// one current, replayed into the current drawable and any active hardcopy.
#pragma once

// Takes the first free slot for a new, empty metafile and returns its handle; 0 with
// error 1060 when all twenty are in use.
void WMetafileCreate(int& handle);
// Draws the recorded metafile into the current drawable (and an active hardcopy),
// scaled to its size. An invalid or empty handle reports error 1060.
void WMetafileReplay(int handle);
