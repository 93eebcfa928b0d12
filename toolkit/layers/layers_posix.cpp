// Without a window system there is no window layer to register.
#include "layers/layers.hpp"

namespace quill {

void register_window_layers() {}

}  // namespace quill
