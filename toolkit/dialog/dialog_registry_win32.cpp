// The dialog registry: loading, selecting and unloading dialogs, the records attached
// to dialog and control windows, and its entry in the window-system seam.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <vector>

#include "base/error_codes.hpp"
#include "core/init_win32.hpp"
#include "core/resources_win32.hpp"
#include "core/window_layers.hpp"
#include "dialog/dialog_layer.hpp"
#include "dialog/dialog_template.hpp"
#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "dialog/dialog_settings.hpp"
#include "dialog/numeric_fields_win32.hpp"
#include "quill/dialog.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

constexpr wchar_t kDialogProperty[] = L"QuillDialogData";
constexpr wchar_t kFieldProperty[] = L"QuillFieldRecord";

HINSTANCE module_instance() { return GetModuleHandleW(nullptr); }

HWND root_client() {
  const WindowTable& table = windows();
  return table.open ? table.windows[0].client : nullptr;
}

}  // namespace

// The parent window a load's window argument names.
HWND parent_for(int window) {
  WindowTable& table = windows();
  if (window == -1) {
    DialogState& state = dialogs();
    HWND active = state.active_dialog;
    if (active != nullptr && IsWindowVisible(active)) {
      const DialogRecord* record = dialog_record(active);
      if (record != nullptr && record->combined != nullptr) return static_cast<HWND>(record->combined);
      return active;
    }
    if (state.last_deactivated != nullptr && IsWindow(state.last_deactivated)) {
      return state.last_deactivated;
    }
    return root_client();
  }
  if (window >= 0 && window < kMaxWindows) return table.windows[static_cast<std::size_t>(window)].client;
  return root_client();
}

namespace {

void ensure_common_controls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                   ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS;
  done = InitCommonControlsEx(&controls) != FALSE;
}

bool template_exists(int id) { return !resource_bytes(module_instance(), id, RT_DIALOG).empty(); }

// Every window of the registry, last slot first, that lies inside dialog.
std::vector<HWND> descendants_of(HWND dialog) {
  std::vector<HWND> found;
  const DialogSlots& slots = dialogs().slots;
  for (int slot = slots.count; slot >= 1; --slot) {
    HWND window = static_cast<HWND>(slots.at(slot));
    if (window != dialog && IsChild(dialog, window)) found.push_back(window);
  }
  return found;
}

}  // namespace

DialogState& dialogs() {
  static DialogState state;
  return state;
}

DialogWindowData* dialog_data(HWND dialog) {
  return dialog == nullptr ? nullptr : static_cast<DialogWindowData*>(GetPropW(dialog, kDialogProperty));
}

DialogRecord* dialog_record(HWND dialog) {
  DialogWindowData* data = dialog_data(dialog);
  return data == nullptr ? nullptr : &data->record;
}

void attach_dialog_data(HWND dialog, DialogWindowData* data) { SetPropW(dialog, kDialogProperty, data); }

std::unique_ptr<DialogWindowData> take_dialog_data(HWND dialog) {
  return std::unique_ptr<DialogWindowData>(
      static_cast<DialogWindowData*>(RemovePropW(dialog, kDialogProperty)));
}

FieldRecord* field_record(HWND control) {
  return control == nullptr ? nullptr : static_cast<FieldRecord*>(GetPropW(control, kFieldProperty));
}

void attach_field_record(HWND control, std::unique_ptr<FieldRecord> record) {
  if (record != nullptr && SetPropW(control, kFieldProperty, record.get())) record.release();
}

std::unique_ptr<FieldRecord> take_field_record(HWND control) {
  return std::unique_ptr<FieldRecord>(static_cast<FieldRecord*>(RemovePropW(control, kFieldProperty)));
}

FieldKind field_kind(HWND control) {
  wchar_t name[64] = {};
  if (GetClassNameW(control, name, 64) == 0) return FieldKind::Other;
  struct ClassKind {
    const wchar_t* name;
    FieldKind kind;
  };
  static const ClassKind kinds[] = {
      {L"EDIT", FieldKind::Edit},
      {L"BUTTON", FieldKind::Button},
      {L"STATIC", FieldKind::Static},
      {L"LISTBOX", FieldKind::ListBox},
      {L"COMBOBOX", FieldKind::ComboBox},
      {L"msctls_progress32", FieldKind::Progress},
      {L"msctls_trackbar32", FieldKind::Trackbar},
      {L"SysTreeView32", FieldKind::TreeView},
      {L"SysTabControl32", FieldKind::Tab},
      {L"msctls_updown32", FieldKind::UpDown},
      {L"SCROLLBAR", FieldKind::ScrollBar},
      {L"#32770", FieldKind::Dialog},
      {L"INTEGEREDIT", FieldKind::NumericEdit},
      {L"INTEGERSPIN", FieldKind::NumericEdit},
      {L"REALEDIT", FieldKind::NumericEdit},
      {L"REALSPIN", FieldKind::NumericEdit},
      {L"DOUBLEEDIT", FieldKind::NumericEdit},
      {L"DOUBLESPIN", FieldKind::NumericEdit},
      {L"KVSGRID", FieldKind::Grid},
      {L"QUILGRIDWINDOW", FieldKind::Grid},  // the same control covering a grid window
  };
  for (const ClassKind& entry : kinds) {
    if (lstrcmpiW(name, entry.name) == 0) return entry.kind;
  }
  return FieldKind::Other;
}

bool is_edit_like(FieldKind kind) { return kind == FieldKind::Edit || kind == FieldKind::NumericEdit; }

HWND current_dialog_window() {
  const DialogState& state = dialogs();
  if (state.current_handle == 0) return nullptr;
  return static_cast<HWND>(state.slots.at(state.current_slot));
}

HWND find_dialog(int handle) {
  const DialogSlots& slots = dialogs().slots;
  for (int slot = 1; slot <= slots.count; ++slot) {
    HWND window = static_cast<HWND>(slots.at(slot));
    const DialogRecord* record = dialog_record(window);
    if (record != nullptr && record->handle == handle) return window;
  }
  return nullptr;
}

HENHMETAFILE metafile_resource(HINSTANCE instance, int id) {
  const std::span<const unsigned char> bytes = resource_bytes(instance, id, kMetafileResource);
  if (bytes.empty()) return nullptr;
  return SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
}

unsigned field_code_page(HWND control) {
  const FieldRecord* record = field_record(control);
  return record != nullptr && record->code_page != 0 ? record->code_page : CP_ACP;
}

bool set_control_text(HWND control, std::string_view text) {
  const unsigned code_page = field_code_page(control);
  const int size = static_cast<int>(text.size());
  std::vector<wchar_t> wide(static_cast<std::size_t>(size) + 1, L'\0');
  if (size > 0) {
    const int made = MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), size);
    wide[static_cast<std::size_t>(made > 0 ? made : 0)] = L'\0';
  }
  return SetWindowTextW(control, wide.data()) != FALSE;
}

std::string control_text(HWND control, std::size_t limit) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, wide.data(), length + 1);
  if (got <= 0) return {};
  const unsigned code_page = field_code_page(control);
  const int bytes = WideCharToMultiByte(code_page, 0, wide.data(), got, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) {
    WideCharToMultiByte(code_page, 0, wide.data(), got, text.data(), bytes, nullptr, nullptr);
  }
  if (text.size() > limit) text.resize(limit);
  return text;
}

HWND create_dialog_window(int id, HWND parent, DialogWindowData* data) {
  ensure_common_controls();
  register_numeric_classes();
  HINSTANCE instance = module_instance();
  const std::span<const unsigned char> bytes = resource_bytes(instance, id, RT_DIALOG);
  const std::size_t size = bytes.size();
  if (size < sizeof(DLGTEMPLATE)) return nullptr;
  if (template_mentions_class(bytes, "richedit")) load_rich_edit();
  // The window is made hidden whatever the template says; showing is WDialogShow's.
  std::vector<unsigned char> copy(bytes.begin(), bytes.end());
  const bool extended = size >= 16 && copy[2] == 0xFF && copy[3] == 0xFF;
  const std::size_t style_offset = extended ? 12 : 0;
  DWORD style = 0;
  std::memcpy(&style, copy.data() + style_offset, sizeof(style));
  style &= ~static_cast<DWORD>(WS_VISIBLE);
  std::memcpy(copy.data() + style_offset, &style, sizeof(style));
  if ((style & WS_CHILD) != 0 && parent == nullptr) return nullptr;
  return CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(copy.data()), parent,
                                    dialog_procedure, reinterpret_cast<LPARAM>(data));
}

int load_dialog(int id, int handle, HWND parent, HWND combined, HWND* created) {
  DialogState& state = dialogs();
  if (HWND existing = find_dialog(handle); existing != nullptr) {
    state.current_slot = state.slots.slot_of(existing);
    state.current_handle = handle;
    if (created != nullptr) *created = existing;
    return 0;
  }
  if (state.slots.full()) return quill::error::kTooManyDialogs;
  if (!template_exists(id)) return quill::error::kDialogNotFound;

  auto data = std::make_unique<DialogWindowData>();
  data->resource_id = id;
  data->record.handle = handle;
  data->record.changed_control = kFieldChangeMarker;
  data->record.combined = combined;
  const int slot = state.slots.add(nullptr);
  data->creator_frees = true;
  HWND dialog = create_dialog_window(id, parent, data.get());
  if (dialog == nullptr) {
    state.slots.remove(slot);
    return quill::error::kDialogCreation;
  }
  data->creator_frees = false;
  data.release();  // the dialog window owns it now
  register_loaded_dialog(dialog, id, handle, slot, DataScope::All);
  if (created != nullptr) *created = dialog;
  return 0;
}

// The measured dialog of id, made the loaded dialog handle inside client and combined
// with frame; null when no such dialog was measured.
HWND adopt_measured_dialog(int id, int handle, HWND client, HWND frame) {
  DialogState& state = dialogs();
  HWND dialog = state.measured;
  DialogWindowData* data = dialog_data(dialog);
  if (data == nullptr || data->resource_id != id || find_dialog(handle) != nullptr || state.slots.full()) {
    return nullptr;
  }
  state.measured = nullptr;
  SetParent(dialog, client);
  data->outside_registry = false;
  data->record.handle = handle;
  data->record.combined = frame;
  register_loaded_dialog(dialog, id, handle, state.slots.add(dialog), DataScope::Controls);
  return dialog;
}

// Puts a created dialog into slot, applies its extended data (scope) and records the
// state of every field from its style.
void register_loaded_dialog(HWND dialog, int id, int handle, int slot, DataScope scope) {
  DialogState& state = dialogs();
  state.slots.windows[static_cast<std::size_t>(slot - 1)] = dialog;
  state.current_slot = slot;
  apply_dialog_data(dialog, id, slot, scope);

  // Field states from the styles, in child order; a spin field's up-down is skipped.
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    FieldRecord* record = field_record(child);
    if (record == nullptr) continue;
    const LONG_PTR child_style = GetWindowLongPtrW(child, GWL_STYLE);
    const FieldKind kind = static_cast<FieldKind>(record->kind);
    if ((child_style & WS_VISIBLE) == 0) {
      record->state = 3;
    } else if ((child_style & WS_DISABLED) != 0) {
      record->state = 0;
    } else if ((is_edit_like(kind) || kind == FieldKind::Grid) && (child_style & ES_READONLY) != 0) {
      record->state = 2;
    } else {
      record->state = 1;
    }
    if (record->companion != nullptr) {
      HWND next = GetWindow(child, GW_HWNDNEXT);
      if (next != nullptr) child = next;
    }
  }
  state.current_handle = handle;
}

// Called from the dialog procedure when a dialog window goes away, however it goes.
void forget_dialog_window(HWND dialog) {
  DialogState& state = dialogs();
  const int slot = state.slots.slot_of(dialog);
  if (slot != 0) {
    state.slots.remove(slot);
    if (state.current_slot == slot) {
      state.current_slot = 0;
      state.current_handle = 0;
    } else if (state.current_slot > slot) {
      --state.current_slot;
    }
  }
  if (state.active_dialog == dialog) state.active_dialog = nullptr;
  if (state.last_deactivated == dialog) state.last_deactivated = nullptr;
  if (state.semi_dialog == dialog) state.semi_dialog = nullptr;
  if (state.measured == dialog) state.measured = nullptr;
  for (int other = 1; other <= state.slots.count; ++other) {
    DialogRecord* record = dialog_record(static_cast<HWND>(state.slots.at(other)));
    if (record == nullptr) continue;
    if (record->owner == dialog) record->owner = nullptr;
    if (record->reenable == dialog) record->reenable = nullptr;
  }
}

void unload_dialog(HWND dialog, int keep) {
  DialogState& state = dialogs();
  // Tab pages go back under the root window's client area (or are unloaded with it).
  std::vector<HWND> pages;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (field_kind(child) != FieldKind::Tab) continue;
    const int tabs = static_cast<int>(SendMessageW(child, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < tabs; ++index) {
      const std::optional<int> page_id = tab_page_id(child, index);
      if (!page_id) continue;
      HWND page = find_dialog(*page_id);
      if (page != nullptr) pages.push_back(page);
    }
  }
  for (HWND page : pages) {
    if (!IsWindow(page)) continue;
    ShowWindow(page, SW_HIDE);
    HWND root = root_client();
    if (root != nullptr) SetParent(page, root);
    if (keep == 0) {
      if (DialogRecord* record = dialog_record(page)) record->shown = 0;
      unload_dialog(page, 0);
    }
  }
  for (HWND inner : descendants_of(dialog)) {
    if (!IsWindow(inner)) continue;
    hide_dialog(inner, false);
    unload_dialog(inner, 0);
  }
  DestroyWindow(dialog);
  state.current_slot = 0;
  state.current_handle = 0;
  if (state.slots.count == 0) {
    bool any_visible = false;
    for (const WindowEntry& entry : windows().windows) {
      if (entry.frame != nullptr && IsWindowVisible(entry.frame)) any_visible = true;
    }
    if (!any_visible) state.last_deactivated = nullptr;
  }
}

void unload_all_dialogs() {
  DialogState& state = dialogs();
  while (state.slots.count > 0) {
    HWND dialog = static_cast<HWND>(state.slots.at(state.slots.count));
    if (IsWindow(dialog)) {
      DestroyWindow(dialog);
    }
    if (state.slots.count > 0 && state.slots.at(state.slots.count) == dialog) {
      state.slots.remove(state.slots.count);
    }
  }
  state.current_slot = 0;
  state.current_handle = 0;
  state.semi_depth = 0;
  state.semi_dialog = nullptr;
  state.active_dialog = nullptr;
  state.last_deactivated = nullptr;
  state.pending_invalid = nullptr;
  if (state.colour_brush != nullptr) {
    DeleteObject(state.colour_brush);
    state.colour_brush = nullptr;
  }
}

std::optional<int> tab_page_id(HWND tab, int index) {
  TabItemData item{};
  item.header.mask = TCIF_PARAM;
  if (SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == FALSE) {
    return std::nullopt;
  }
  return item.page_id;
}

bool is_tab_page(HWND dialog) {
  const DialogRecord* record = dialog_record(dialog);
  if (record == nullptr) return false;
  const DialogSlots& slots = dialogs().slots;
  for (int slot = 1; slot <= slots.count; ++slot) {
    HWND owner = static_cast<HWND>(slots.at(slot));
    if (owner == dialog) continue;
    for (HWND child = GetWindow(owner, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (field_kind(child) != FieldKind::Tab) continue;
      const int tabs = static_cast<int>(SendMessageW(child, TCM_GETITEMCOUNT, 0, 0));
      for (int index = 0; index < tabs; ++index) {
        if (tab_page_id(child, index) == record->handle) return true;
      }
    }
  }
  return false;
}

namespace {

CombinedMeasure measure_combined(int dialog_id, HWND measuring_window) {
  if (!template_exists(dialog_id)) return CombinedMeasure{quill::error::kDialogNotFound};
  auto data = std::make_unique<DialogWindowData>();
  data->resource_id = dialog_id;
  data->outside_registry = true;
  data->creator_frees = true;
  HWND dialog = create_dialog_window(dialog_id, measuring_window, data.get());
  if (dialog == nullptr) return CombinedMeasure{quill::error::kDialogCreation};
  data->creator_frees = false;
  DialogWindowData* const owned_by_window = data.release();  // freed in WM_NCDESTROY
  const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
  if ((style & WS_CHILD) == 0 || (style & DS_CONTROL) == 0 || (style & WS_CAPTION) == WS_CAPTION ||
      (style & WS_SYSMENU) != 0) {
    DestroyWindow(dialog);
    return CombinedMeasure{quill::error::kWrongStyleToCombine};
  }
  apply_dialog_data(dialog, dialog_id, -1, DataScope::DialogOnly);
  RECT rect{};
  GetWindowRect(dialog, &rect);
  const CombinedMeasure measured{0, rect.right - rect.left, rect.bottom - rect.top,
                                 owned_by_window->record.resize_anchor != nullptr};
  // Kept for load_combined, which takes it instead of creating the dialog again; it goes
  // with the measuring window if it is not taken.
  if (dialogs().measured != nullptr) DestroyWindow(dialogs().measured);
  dialogs().measured = dialog;
  return measured;
}

CombinedLoad load_combined(int dialog_id, HWND client, HWND frame) {
  HWND dialog = nullptr;
  DialogState& state = dialogs();
  const int saved_slot = state.current_slot;
  const int saved_handle = state.current_handle;
  dialog = adopt_measured_dialog(dialog_id, dialog_id, client, frame);
  const int code = dialog != nullptr ? 0 : load_dialog(dialog_id, dialog_id, client, frame, &dialog);
  if (code != 0) {
    state.current_slot = saved_slot;
    state.current_handle = saved_handle;
    return CombinedLoad{nullptr, code};
  }
  show_dialog(dialog, 0, 0, 0, 2, true, true);
  state.current_slot = state.slots.slot_of(dialog);
  state.current_handle = dialog_id;
  return CombinedLoad{dialog, 0};
}

ModelessDialog modeless_dialog() {
  const DialogState& state = dialogs();
  HWND dialog = nullptr;
  if (state.active_dialog != nullptr && IsWindow(state.active_dialog) &&
      state.active_dialog != state.modal_instance && dialog_record(state.active_dialog) != nullptr) {
    dialog = state.active_dialog;
  } else if (HWND current = current_dialog_window(); current != nullptr && IsWindowVisible(current)) {
    dialog = current;
  }
  if (dialog == nullptr) return ModelessDialog{};
  const DialogRecord* record = dialog_record(dialog);
  if (record->combined != nullptr) return ModelessDialog{dialog, static_cast<HWND>(record->combined)};
  if (record->accelerators != 0 && windows().open) return ModelessDialog{dialog, windows().windows[0].frame};
  return ModelessDialog{dialog, nullptr};
}

bool close_combined(HWND) { return false; }

// A field of a loaded dialog; field 0 is the dialog itself.
HWND field_window(int dialog_handle, int field_id) {
  HWND dialog = find_dialog(dialog_handle);
  if (dialog == nullptr || field_id == 0) return dialog;
  return GetDlgItem(dialog, field_id);
}

// A field with the graphics flag (field 0: the dialog, when it has the flag), else null.
HWND graphics_field_window(int dialog_handle, int field_id) {
  HWND window = field_window(dialog_handle, field_id);
  if (window == nullptr) return nullptr;
  if (field_id == 0) {
    const DialogRecord* record = dialog_record(window);
    return record != nullptr && record->graphics != 0 ? window : nullptr;
  }
  const FieldRecord* record = field_record(window);
  return record != nullptr && record->graphics != 0 ? window : nullptr;
}

std::optional<PixelSize> field_size(int dialog_handle, int field_id) {
  HWND field = field_window(dialog_handle, field_id);
  if (field == nullptr) return std::nullopt;
  RECT rect{};
  GetClientRect(field, &rect);
  return PixelSize{rect.right, rect.bottom};
}

}  // namespace

}  // namespace quill

void WDialogLoad(int id, std::optional<int> handle, std::optional<int> window) {
  const int code =
      quill::load_dialog(id, handle.value_or(id), quill::parent_for(window.value_or(0)), nullptr, nullptr);
  if (code != 0) IErrorReport(code, "WDialogLoad");
}

void WDialogSelect(int handle) {
  quill::DialogState& state = quill::dialogs();
  HWND dialog = quill::find_dialog(handle);
  if (dialog == nullptr) {
    IErrorReport(quill::error::kDialogNotSelectable, "WDialogSelect");
    return;
  }
  state.current_slot = state.slots.slot_of(dialog);
  state.current_handle = handle;
}

void WDialogUnload(std::optional<int> keep) {
  HWND dialog = quill::current_dialog_window();
  if (dialog == nullptr) {
    IErrorReport(quill::error::kNoCurrentDialog, "WDialogUnload");
    return;
  }
  const int code = quill::hide_dialog(dialog, true);
  if (code != 0) {
    IErrorReport(code, "WDialogUnload");
    return;
  }
  quill::unload_dialog(dialog, keep.value_or(0));
}

namespace quill {

void register_dialog_layer() {
  register_layer(WindowLayer{.name = "dialog",
                             .shutdown = unload_all_dialogs,
                             .measure_combined = measure_combined,
                             .load_combined = load_combined,
                             .close_combined = close_combined,
                             .modeless_dialog = modeless_dialog,
                             .field_size = field_size,
                             .field_window = graphics_field_window});
}

int dialog_information(int code) {
  // Item 4 is owned by the error reporter, which records every message box's answer.
  if (code == 4) return errors().last_message_box_result;
  return code >= 1 && code <= 5 ? dialogs().information[code] : 0;
}

void set_field_code_page(int field_id, unsigned code_page) {
  HWND dialog = current_dialog_window();
  HWND field = dialog != nullptr ? GetDlgItem(dialog, field_id) : nullptr;
  if (FieldRecord* record = field_record(field)) record->code_page = code_page;
}

}  // namespace quill
