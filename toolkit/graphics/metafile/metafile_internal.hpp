// The metafile store shared by the recorder and the replay.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "graphics/cgm/cgm_driver.hpp"
#include "graphics/metafile/metafile.hpp"

namespace quill {

inline constexpr double kMetafileWidth = 756.0;
inline constexpr double kMetafileHeight = 540.0;

struct MetafileStore {
  std::array<std::string, kMetafileSlots + 1> slots;  // CGM elements, the picture left open
  cgm::CgmState recorder;  // the encoder and attributes of the metafile being recorded
  bool replaying = false;
};

MetafileStore& metafiles();
// Releases the bytes of slots that WMetafileDestroy has freed.
void release_destroyed_metafiles();
// The recorded elements of a slot, closed into a complete metafile.
std::string complete_metafile(int handle);
// Replays the elements of a CGM element stream into the current drawable.
void replay_elements(std::string_view elements);

}  // namespace quill
