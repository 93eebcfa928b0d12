// The bitmap layer's part in core's windows. Windows build only.
#pragma once

namespace quill {

// Registers the bitmap views with core's window seam and with the bitmap store, and the
// window side of the pixel operations. Called once by the toolkit's start-up.
void register_bitmap_layer();
// The window side of the pixel operations (reading and combining the back buffer).
void register_screen_pixels();
// WDialogPutImage's memory bitmaps and metafiles.
void register_image_fields();

}  // namespace quill
