// The toolkit put together: registers the window layers above core (the dialog manager,
// and the graphics and grid layers as they come) with core's window-system seam.
#pragma once

namespace quill {

// Registers every window layer of this build once; later calls do nothing. On systems
// without a window system there are none.
void register_window_layers();

}  // namespace quill
