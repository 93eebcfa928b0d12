// The dialog manager's entry in the window-system seam (Windows build only).
#pragma once

namespace quill {

// Registers the dialog manager with core: combined dialogs, modeless dialogs in the
// message loop, graphics-field sizes and unloading at WindowShutdown.
void register_dialog_layer();

}  // namespace quill
