// The editor layer's part in core's windows, and the editor's commands. Windows only.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

namespace quill {

struct Editor;

// Registers the editor windows with core's window seam; called once by start-up.
void register_editor_layer();
// Carries out an editor command (menu, toolbar, key); false when it is not one.
bool run_command(Editor& editor, int command);
// A message from the editor's find dialog.
void find_dialog_message(Editor& editor, FINDREPLACEW& find);
// The toolbar's tooltips.
void tooltip_text(NMTTDISPINFOA& info);

}  // namespace quill
