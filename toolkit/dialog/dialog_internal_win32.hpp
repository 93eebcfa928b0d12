// Internal state and helpers of the dialog manager shared by its Win32 files.
//
// The numeric edit and spin classes plug in here: field_kind() already knows their six
// class names; a numeric control creates and attaches its own FieldRecord (with
// attach_field_record) while its window is created, and control preparation keeps it;
// a spin field stores its up-down control as the record's companion, and the dialog
// procedure reports the up-down's scrolls as field changes; DialogState::pending_invalid
// is the field whose check waits for a push button, which the command handler, the
// buttons and the tab control already honour.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

#include "base/layer_registry.hpp"
#include "dialog/dialog_data.hpp"
#include "dialog/dialog_records.hpp"

namespace quill {

// Control kinds, told apart by window class (and for buttons and lists, by style).
enum class FieldKind : int {
  Other,
  Edit,
  NumericEdit,  // the six numeric classes
  Button,
  Static,
  ListBox,
  ComboBox,
  Progress,
  Trackbar,
  TreeView,
  Tab,
  UpDown,
  ScrollBar,
  Dialog,  // "#32770": a dialog inside a dialog
  Grid,
};

// The dialog manager's process-wide state.
struct DialogState {
  DialogSlots slots;
  int current_slot = 0;
  int current_handle = 0;
  int semi_depth = 0;
  HWND semi_dialog = nullptr;
  HWND active_dialog = nullptr;
  HWND last_deactivated = nullptr;  // null stands for the root window
  HWND modal_instance = nullptr;
  HWND modal_source = nullptr;  // the loaded dialog being shown modally
  HWND measured = nullptr;      // a combined dialog measured and not yet loaded
  int information[6] = {0, 0, 0, 0, 0, 0};
  HWND pending_invalid = nullptr;  // numeric field whose check waits for a button
  bool creating = false;           // controls are being prepared: nothing is reported
  HBRUSH colour_brush = nullptr;   // brush returned for the last colour request
  std::vector<HBITMAP> snapshots;  // kept while a modal display runs
};

DialogState& dialogs();

// What a dialog window carries: its record and what the dialog manager must release. Its
// creator makes it and passes it as the creation data (WM_INITDIALOG's lParam).
struct DialogWindowData {
  DialogRecord record;
  int resource_id = 0;
  bool modal_instance = false;
  HWND modal_source = nullptr;  // a modal instance: the loaded dialog it shows
  // The creator frees it, not the window: while creation runs (a window whose creation
  // fails leaves it to the loader), and for a modal instance, whose display keeps it.
  bool creator_frees = false;
  bool outside_registry = false;    // measuring or other dialogs not in the slots
  int focus_field = 0;              // field to focus when the window is created
  HICON large_icon = nullptr;       // icon set by WDialogTitle
  HBITMAP snapshot = nullptr;       // client copy shown while a modal display runs
  std::vector<HWND> semi_disabled;  // windows disabled for its semi-modeless display
};
DialogWindowData* dialog_data(HWND dialog);

DialogRecord* dialog_record(HWND dialog);
FieldRecord* field_record(HWND control);
// A control owns its record from attach_field_record until take_field_record hands it
// back (WM_NCDESTROY of the control, or the dialog releasing its controls).
void attach_field_record(HWND control, std::unique_ptr<FieldRecord> record);
std::unique_ptr<FieldRecord> take_field_record(HWND control);
FieldKind field_kind(HWND control);
bool is_edit_like(FieldKind kind);

// The window of the current dialog, or null when none is selected.
HWND current_dialog_window();
// Field of the current dialog; null after reporting 1005 (no dialog) or 1006 under routine.
HWND current_field_window(int field, std::string_view routine);
// Sets or clears the graphics flag of field_id of dialog (0: the dialog itself); a static
// also gets the notify style, so that the mouse reaches it. False when there is no such field.
bool enable_graphics(HWND dialog, int field_id, bool enabled);
// The loaded dialog registered under handle, or null.
HWND find_dialog(int handle);

// Single-byte text through the field's code page to and from the Unicode control.
bool set_control_text(HWND control, std::string_view text);
std::string control_text(HWND control, std::size_t limit);
// The enhanced metafile of the program's "KVSMETAFILE" resource id, or null.
HENHMETAFILE metafile_resource(HINSTANCE instance, int id);
unsigned field_code_page(HWND control);

// The dialog procedure of every toolkit dialog and its modal instances.
INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Creates the hidden dialog window of template id under parent, record attached.
HWND create_dialog_window(int id, HWND parent, struct DialogWindowData* data);
// The parent window that a load's window argument (0 root, 1..50, -1 active) names.
HWND parent_for(int window);
// A dialog window owns its data from attach_dialog_data (the loader hands it over once
// creation succeeded) until take_dialog_data in WM_NCDESTROY.
void attach_dialog_data(HWND dialog, DialogWindowData* data);
std::unique_ptr<DialogWindowData> take_dialog_data(HWND dialog);
// Removes a dialog window that is going away from the registry and the state.
void forget_dialog_window(HWND dialog);
// Puts the extended data of resource id on the controls of dialog; slot -1 when the
// dialog lies outside the registry. DialogOnly applies only the [Dialog] section (the
// resize anchor and accelerators), all that measuring a dialog's size needs; Controls
// the rest, for a measured dialog that is then loaded.
enum class DataScope { All, DialogOnly, Controls };
void apply_dialog_data(HWND dialog, int id, int slot, DataScope scope = DataScope::All);
// Loads dialog id under handle with the given parent window; 0 or an error code.
int load_dialog(int id, int handle, HWND parent, HWND combined, HWND* created);
// Registers a created dialog in slot with its extended data (scope) and field states.
void register_loaded_dialog(HWND dialog, int id, int handle, int slot, DataScope scope);
// The dialog measured for combining, loaded as handle inside client (null when none).
HWND adopt_measured_dialog(int id, int handle, HWND client, HWND frame);
// Unloads the loaded dialog (hide first); keep != 0 keeps its tab pages loaded.
void unload_dialog(HWND dialog, int keep);
// Hides a loaded dialog; 0 or 1069 / 1047.
int hide_dialog(HWND dialog, bool check_combined);

// Shows a loaded dialog (WDialogShow after its checks); returns 0 or an error code.
// combined_display lets the first display of a combined dialog through.
int show_dialog(HWND dialog, int x, int y, int field, int type, bool focus, bool combined_display);
// Unloads every dialog, combined ones included (window shutdown).
void unload_all_dialogs();
// Copies the state of the controls of from into to (modal display in and back).
void copy_dialog_state(HWND from, HWND to, bool into_instance);

// Posts a dialog event (EvButton, EvFieldEdited, EvPageSwitch or 104..116).
// pixel: a graphics field's pointer position in the field (-1, -1 when none).
void post_dialog_event(int type, int handle, int detail1, int detail2, int field = -1,
                       POINT pixel = POINT{-1, -1});
// Presses the default push button of the outermost dialog around control.
void press_default_button(HWND control);
// Selection of the text of a field that receives the focus by program.
void focus_selection(HWND control);
// The page dialog windows of tab control tab (by the item data of its tabs).
void place_tab_pages(HWND tab, bool show_selected);
// True while the dialog is a tab page of some loaded dialog.
bool is_tab_page(HWND dialog);

// What each tab of a tab control carries (room made with TCM_SETITEMEXTRA): the page
// dialog's handle and whether the page is disabled.
struct TabItemData {
  TCITEMHEADERW header;
  int page_id;
  int disabled;
};
// The page dialog handle of tab index of tab control tab; empty when that tab cannot be read.
std::optional<int> tab_page_id(HWND tab, int index);

// An image made for a field: a bitmap the field may own, or null with the error code.
struct FieldImage {
  HBITMAP bitmap = nullptr;
  int code = 0;
};

// The dialog manager's seam for the field classes and images of the layers above it,
// registered with register_layer (base/layer_registry.hpp) at start-up. The dialog
// manager tells every layer that offers an entry, or asks the first one.
struct DialogFieldLayer {
  const char* name = "";
  // Applies one "[Grids]" line (the text after its field identifier) to a grid control.
  // Without a layer the lines are passed over.
  void (*apply_grid_line)(HWND control, std::string_view text) = nullptr;
  // Empties every cell of a grid control (WDialogClearField).
  void (*clear_grid)(HWND control) = nullptr;
  // Options 1 and 2 of WDialogFieldOptions on a grid control.
  void (*grid_option)(HWND control, int option, int value) = nullptr;
  // A loaded dialog is going away, and with it what the layer keeps for its fields.
  void (*dialog_released)(int dialog_handle) = nullptr;
  // WDialogPutImage types 3 and 4: a bitmap made from memory bitmap id (type 3) or from
  // memory metafile id drawn at the field's size (type 4); without it, error::kInvalidImage
  // (or error::kMetafileFormat for a metafile that holds no drawing).
  FieldImage (*memory_image)(int type, int id, HWND field) = nullptr;
};

// A dialog's system menu entries follow its frame: restore, and minimise, maximise and
// size where the style has no such box or frame, are greyed.
void adjust_system_menu(HWND dialog);
// After WM_SIZE of kind: minimise, maximise and restore enabled as the new state allows.
void update_system_menu_on_size(HWND dialog, WPARAM kind);
// Moves the edges of every field of a resizable dialog by its resize flags.
void resize_fields(HWND dialog, int width, int height, bool maximised);

inline constexpr int kFieldChangeMarker = 0x40001;
inline constexpr int kGripId = 65535;

}  // namespace quill
