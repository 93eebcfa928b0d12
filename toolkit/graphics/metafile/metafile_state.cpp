#include "graphics/metafile/metafile_internal.hpp"

namespace quill {

MetafileStore& metafiles() {
  static MetafileStore instance;
  return instance;
}

bool metafile_replay_in_progress() { return metafiles().replaying; }

// Metafiles are not a numbered driver: the recorder is reached through IGrSelect.
void register_driver_metafile() {}

}  // namespace quill
