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
  AttributesGiven given;   // what the recording has been given
  bool replaying = false;
};

MetafileStore& metafiles();
// Releases the bytes of slots that WMetafileDestroy has freed.
void release_destroyed_metafiles();
// The recorded elements of a slot, closed into a complete metafile.
std::string complete_metafile(int handle);
// Replays the elements of a CGM element stream into the current drawable.
void replay_elements(std::string_view elements);

struct CgmElementView {
  int element_class = 0, id = 0;
  std::string_view params;
};
// Reads the element at offset at and moves past it; false at the end of bytes or at a
// damaged element. Partitions of a long element are joined in joined.
bool next_cgm_element(std::string_view bytes, std::size_t& at, CgmElementView& e, std::string& joined);

// Takes a complete metafile (as complete_metafile gives) into a free slot, its picture
// reopened so that recording can go on. Returns 0, or error 1060 when no slot is free
// and 1066 when bytes are not a metafile.
int adopt_metafile(std::string_view bytes, int& handle);

}  // namespace quill
