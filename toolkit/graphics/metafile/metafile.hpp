// Memory metafiles: recorded drawings kept in slots 1..kMetafileSlots and replayed into
// the current drawable and any active hardcopy driver.
#pragma once

namespace quill {

// True while a recorded metafile is being replayed; drivers leave out what only a
// first drawing should write (such as the HP-GL colour comments).
bool metafile_replay_in_progress();

}  // namespace quill
