// First-open initialisation: window classes, common controls, the measuring window, the
// rich-edit level probe, the find-replace message, optional libraries, the CGM format.
#include "init_win32.hpp"

#include "core/window_layers.hpp"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>

#include "os/os_internal.hpp"
#include "startup_trace_win32.hpp"
#include "window_procs_win32.hpp"
#include "window_table.hpp"

namespace quill {
namespace {

HICON toolkit_icon(HINSTANCE instance) {
  HICON icon = LoadIconA(instance, "icon1");
  return icon != nullptr ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

bool register_class(HINSTANCE instance, const char* name, WNDPROC proc, UINT style, HICON icon,
                    HBRUSH background, LPCSTR cursor) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorA(nullptr, cursor);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

bool class_registered(HINSTANCE instance, const char* name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  return GetClassInfoExA(instance, name, &wc) != 0;
}

bool register_if_missing(HINSTANCE instance, const char* name, WNDPROC proc, UINT style, HICON icon,
                         HBRUSH background, LPCSTR cursor) {
  return class_registered(instance, name) ||
         register_class(instance, name, proc, style, icon, background, cursor);
}

// Rich edit 2.0 answers EM_POSFROMCHAR through its return value; 3.0 fills the point.
int probe_rich_edit_level(const WindowTable& table) {
  HWND edit = CreateWindowExA(0, "RichEdit20A", "ab", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                              table.instance, nullptr);
  if (edit == nullptr) return 2;
  POINTL first{-99, -99};
  SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 1);
  POINTL second{-99, -99};
  SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&second), 1);
  DestroyWindow(edit);
  const bool unchanged = first.x == -99 && first.y == -99 && second.x == -99 && second.y == -99;
  return unchanged ? 2 : 3;
}

// The entry of an optional system library, loading the library on first use (each later
// call after a failed load tries again; these are rare calls).
FARPROC optional_entry(HMODULE& module, FARPROC& entry, const char* library, const char* name) {
  if (entry != nullptr) return entry;
  if (module == nullptr) module = LoadLibraryA(library);
  if (module != nullptr) entry = GetProcAddress(module, name);
  return entry;
}

}  // namespace

void fatal_window_failure(const char* text) {
  MessageBoxA(nullptr, text, "Quillanthor Window", MB_OK | MB_ICONERROR);
  ExitProcess(0);
}

void first_open_initialise() {
  WindowTable& table = windows();
  if (table.initialised) return;
  if (table.instance == nullptr) table.instance = GetModuleHandleA(nullptr);
  HINSTANCE instance = table.instance;
  HICON icon = toolkit_icon(instance);

  UnregisterClassA("QUILLANTHOR", instance);
  const bool ok = register_class(instance, "QUILLANTHOR", frame_proc, 0, icon, nullptr, IDC_ARROW) &&
                  // The client area keeps one device context for the window's life, hence CS_OWNDC.
                  register_if_missing(instance, "QUILCLIENT", client_proc,
                                      CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC, nullptr,
                                      static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), IDC_ARROW);
  if (!ok) fatal_window_failure("Failed to register class - aborting.");
  startup_step("window classes registered");

  table.comctl32 = LoadLibraryA("comctl32.dll");
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  startup_step("common controls loaded");

  table.find_replace_message = RegisterWindowMessageA("commdlg_FindReplace");
  table.initialised = true;
  tell_layers(&WindowLayer::first_open);
  startup_step("layers' classes registered");
}

HWND create_measuring_window() {
  WindowTable& table = windows();
  HWND hwnd = CreateWindowExA(0, "QUILLANTHOR", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, table.instance,
                              nullptr);
  if (hwnd == nullptr) fatal_window_failure("Failed to create window - aborting.");
  table.measuring_window = hwnd;
  return hwnd;
}

void finish_first_open() {
  WindowTable& table = windows();
  table.measuring_window = nullptr;
  if (table.cgm_clipboard_format == 0) {
    table.cgm_clipboard_format = RegisterClipboardFormatA("Quillanthor CGM");
  }
}

void release_optional_libraries() {
  WindowTable& table = windows();
  for (HMODULE* module : {&table.msimg32, &table.dwmapi}) {
    if (*module != nullptr) FreeLibrary(*module);
    *module = nullptr;
  }
  table.gradient_fill = nullptr;
  os::release_mail_library();
  table.dwm_is_composition_enabled = nullptr;
}

void load_rich_edit() {
  WindowTable& table = windows();
  if (table.rich_edit != nullptr) return;
  table.rich_edit = LoadLibraryA("riched20.dll");
  if (table.rich_edit == nullptr) {
    table.rich_edit = LoadLibraryA("riched32.dll");
    if (table.rich_edit != nullptr) table.rich_edit_level = 1;
  }
}

int rich_edit_level() {
  WindowTable& table = windows();
  load_rich_edit();
  if (table.rich_edit_level == 0 && table.rich_edit != nullptr) {
    table.rich_edit_level = probe_rich_edit_level(table);
  }
  return table.rich_edit_level;
}

FARPROC gradient_fill_entry() {
  WindowTable& table = windows();
  return optional_entry(table.msimg32, table.gradient_fill, "msimg32.dll", "GradientFill");
}

bool composition_enabled() {
  WindowTable& table = windows();
  FARPROC proc =
      optional_entry(table.dwmapi, table.dwm_is_composition_enabled, "dwmapi.dll", "DwmIsCompositionEnabled");
  if (proc == nullptr) return false;
  using IsEnabled = HRESULT(WINAPI*)(BOOL*);
  IsEnabled is_enabled = nullptr;
  static_assert(sizeof(is_enabled) == sizeof(proc));
  std::memcpy(&is_enabled, &proc, sizeof(proc));
  BOOL enabled = FALSE;
  return SUCCEEDED(is_enabled(&enabled)) && enabled;
}

}  // namespace quill
