// The metafile store shared by the recorder and the replay.
#pragma once

#include "graphics/metafile/metafile.hpp"

namespace quill {

struct MetafileStore {
  bool replaying = false;
};

MetafileStore& metafiles();

}  // namespace quill
