// Editor windows: a container window covers the child window's client area and holds the
// text (the toolkit's text view for plain text, the rich-edit control for rich text), an
// optional toolbar above it and an optional command line below. The window table keeps the container as the window's
// converted window, so core hands it the window's size, focus and menu commands.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <array>
#include <cwchar>
#include <memory>

#include "base/error_codes.hpp"
#include "core/event_queue.hpp"
#include "core/init_win32.hpp"
#include "core/window_layers.hpp"
#include "core/window_table.hpp"
#include "editor/editor_layer_win32.hpp"
#include "editor/editor_window_win32.hpp"
#include "editor/text_view_win32.hpp"
#include "quill/editor.hpp"
#include "quill/events.hpp"

namespace quill {
namespace {

constexpr char kContainerClass[] = "QUILEDITOR";
constexpr int kCommandHeight = 24;
// The text control's own window procedure, kept on the control while it is subclassed.
constexpr wchar_t kTextProcProperty[] = L"QuillTextProc";

std::array<std::unique_ptr<Editor>, kMaxWindows>& editors() {
  static std::array<std::unique_ptr<Editor>, kMaxWindows> table;
  return table;
}

Editor* editor_of(HWND hwnd) {
  for (const auto& e : editors()) {
    if (e && (e->container == hwnd || e->text == hwnd || e->command == hwnd)) return e.get();
  }
  return nullptr;
}

WNDPROC& command_proc() {
  static WNDPROC proc = nullptr;
  return proc;
}

bool changes_text(UINT message) {
  switch (message) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
    case EM_REPLACESEL:
    case WM_SETTEXT:
    case EM_SETTEXTEX:
    case EM_STREAMIN: return true;
    default: return false;
  }
}

int key_command(WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  if (key == VK_F2) return ctrl ? kCmdBookmarkToggle : shift ? kCmdBookmarkPrevious : kCmdBookmarkNext;
  if (key == VK_F3) return kCmdFindNext;
  if (!ctrl) return 0;
  switch (key) {
    case 'F': return kCmdFind;
    case 'H': return kCmdReplace;
    case 'G': return kCmdGoToLine;
    default: return 0;
  }
}

// The text control's subclass: the editor's own keys, and edits followed so that
// bookmarks move with the lines below them.
LRESULT CALLBACK text_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto text_proc = [hwnd] { return reinterpret_cast<WNDPROC>(GetPropW(hwnd, kTextProcProperty)); };
  if (message == WM_NCDESTROY) {
    const WNDPROC own = text_proc();
    RemovePropW(hwnd, kTextProcProperty);
    return CallWindowProcW(own, hwnd, message, wparam, lparam);
  }
  Editor* editor = editor_of(hwnd);
  if (editor == nullptr) return CallWindowProcW(text_proc(), hwnd, message, wparam, lparam);
  if (message == WM_KEYDOWN) {
    if (const int command = key_command(wparam)) {
      SendMessageW(editor->container, WM_COMMAND, static_cast<WPARAM>(command), 0);
      return 0;
    }
  }
  if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTTAB;
  if (!changes_text(message)) return CallWindowProcW(text_proc(), hwnd, message, wparam, lparam);
  const int count_before = static_cast<int>(CallWindowProcW(text_proc(), hwnd, EM_GETLINECOUNT, 0, 0));
  CHARRANGE before{};
  CallWindowProcW(text_proc(), hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&before));
  const int line_before =
      static_cast<int>(CallWindowProcW(text_proc(), hwnd, EM_EXLINEFROMCHAR, 0, before.cpMin));
  const LRESULT result = CallWindowProcW(text_proc(), hwnd, message, wparam, lparam);
  const int delta =
      static_cast<int>(CallWindowProcW(text_proc(), hwnd, EM_GETLINECOUNT, 0, 0)) - count_before;
  if (delta != 0) {
    const int line_after = caret_line(*editor);
    editor->bookmarks.edited(std::min(line_before, line_after), delta);
  }
  return result;
}

// The command line: Enter posts EvCommandLine and keeps the line in the history; Up and
// Down walk the history.
LRESULT CALLBACK command_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Editor* editor = editor_of(hwnd);
  if (editor != nullptr && message == WM_KEYDOWN) {
    if (wparam == VK_RETURN) {
      std::array<char, 1024> line{};
      GetWindowTextA(hwnd, line.data(), static_cast<int>(line.size()));
      editor->history.add(line.data());
      SendMessageA(hwnd, EM_SETSEL, 0, -1);
      EventValues v;
      v.type = EvCommandLine;
      v.window = editor->window;
      v.detail1 = v.detail2 = v.detail3 = v.detail4 = -1;
      v.pixel_x = v.pixel_y = -1;
      v.time_ms = static_cast<int>(GetMessageTime());
      PostSource source;
      source.keeps_pending = false;
      post_event(v, source);
      return 0;
    }
    if ((wparam == VK_UP || wparam == VK_DOWN) && (editor->options & EditorCommandHistory) != 0) {
      const auto line = wparam == VK_UP ? editor->history.older() : editor->history.newer();
      if (line) {
        SetWindowTextA(hwnd, line->c_str());
        SendMessageA(hwnd, EM_SETSEL, line->size(), static_cast<LPARAM>(line->size()));
      }
      return 0;
    }
  }
  if (message == WM_CHAR && wparam == '\r') return 0;
  return CallWindowProcA(command_proc(), hwnd, message, wparam, lparam);
}

void layout(Editor& editor) {
  RECT r{};
  GetClientRect(editor.container, &r);
  int top = 0, bottom = r.bottom;
  // A status bar may lie over the bottom of the client area: the editor ends above it.
  HWND status_bar = windows().windows[static_cast<std::size_t>(editor.window)].status_bar;
  RECT bar{};
  if (status_bar != nullptr && IsWindowVisible(status_bar) && GetWindowRect(status_bar, &bar)) {
    MapWindowPoints(nullptr, editor.container, reinterpret_cast<POINT*>(&bar), 2);
    if (bar.top > 0 && bar.top < bottom) bottom = bar.top;
  }
  if (editor.toolbar != nullptr) {
    SendMessageA(editor.toolbar, TB_AUTOSIZE, 0, 0);
    RECT t{};
    GetWindowRect(editor.toolbar, &t);
    top = t.bottom - t.top;
  }
  if (editor.command != nullptr) {
    bottom -= kCommandHeight;
    MoveWindow(editor.command, 0, bottom, r.right, kCommandHeight, TRUE);
  }
  MoveWindow(editor.text, 0, top, r.right, std::max(0, bottom - top), TRUE);
}

void show_position(Editor& editor) {
  int line = 0, column = 0;
  CHARRANGE range{};
  get_selection(editor, range);
  line = static_cast<int>(SendMessageW(editor.text, EM_EXLINEFROMCHAR, 0, range.cpMax));
  column =
      range.cpMax - static_cast<long>(SendMessageW(editor.text, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  status(editor, "Line " + std::to_string(line + 1) + ", column " + std::to_string(column + 1));
}

LRESULT CALLBACK container_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Editor* editor = editor_of(hwnd);
  if (editor == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == windows().find_replace_message && message != 0) {
    find_dialog_message(*editor, *reinterpret_cast<FINDREPLACEW*>(lparam));
    return 0;
  }
  switch (message) {
    case WM_SIZE: layout(*editor); return 0;
    case WM_SETFOCUS: SetFocus(editor->text); return 0;
    case WM_COMMAND:
      if (HIWORD(wparam) == EN_CHANGE && reinterpret_cast<HWND>(lparam) == editor->text) {
        editor->cache_valid = false;
        return 0;
      }
      return run_command(*editor, LOWORD(wparam)) ? 1 : 0;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom == editor->text && header->code == EN_SELCHANGE) show_position(*editor);
      if (header->code == TTN_GETDISPINFOA) tooltip_text(*reinterpret_cast<NMTTDISPINFOA*>(lparam));
      return 0;
    }
    case WM_NCDESTROY: {
      WindowEntry& entry = windows().windows[static_cast<std::size_t>(editor->window)];
      if (entry.converted == hwnd) {
        entry.converted = nullptr;
        entry.kind = WindowKind::Plain;
        if (entry.frame != nullptr) SetWindowLongPtrA(entry.frame, GWLP_USERDATA, 0);
      }
      if (editor->find_dialog != nullptr && IsWindow(editor->find_dialog)) DestroyWindow(editor->find_dialog);
      editors()[static_cast<std::size_t>(editor->window)].reset();
      break;
    }
    default: break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool register_container_class() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSW wc{};
  wc.lpfnWndProc = container_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"QUILEDITOR";
  registered = RegisterClassW(&wc) != 0;
  return registered;
}

// The editor's menu: File, Edit, Search, with the accelerators it names.
HMENU make_menu() {
  struct Item {
    int menu;
    int command;
    const char* text;
  };  // command 0: a separator
  static constexpr Item kItems[] = {
      {0, kCmdNew, "&New\tCtrl+N"},
      {0, kCmdOpen, "&Open...\tCtrl+O"},
      {0, kCmdSave, "&Save\tCtrl+S"},
      {0, kCmdSaveAs, "Save &as..."},
      {0, 0, nullptr},
      {0, kCmdPrint, "&Print\tCtrl+P"},
      {0, 0, nullptr},
      {0, kCmdClose, "&Close"},
      {1, kCmdUndo, "&Undo\tCtrl+Z"},
      {1, kCmdRedo, "&Redo\tCtrl+Y"},
      {1, 0, nullptr},
      {1, kCmdCut, "Cu&t\tCtrl+X"},
      {1, kCmdCopy, "&Copy\tCtrl+C"},
      {1, kCmdPaste, "&Paste\tCtrl+V"},
      {1, kCmdSelectAll, "Select &all\tCtrl+A"},
      {2, kCmdFind, "&Find...\tCtrl+F"},
      {2, kCmdFindNext, "Find &next\tF3"},
      {2, kCmdReplace, "&Replace...\tCtrl+H"},
      {2, kCmdGoToLine, "&Go to line...\tCtrl+G"},
      {2, 0, nullptr},
      {2, kCmdBookmarkToggle, "Set or clear &bookmark\tCtrl+F2"},
      {2, kCmdBookmarkNext, "Next bookmark\tF2"},
      {2, kCmdBookmarkPrevious, "Previous bookmark\tShift+F2"},
      {2, kCmdBookmarkClear, "Clear all bookmarks"},
  };
  static constexpr const char* kTitles[] = {"&File", "&Edit", "&Search"};
  HMENU bar = CreateMenu();
  for (int m = 0; m < 3; ++m) {
    HMENU popup = CreatePopupMenu();
    for (const Item& item : kItems) {
      if (item.menu != m) continue;
      AppendMenuA(popup, item.command == 0 ? MF_SEPARATOR : MF_STRING, static_cast<UINT_PTR>(item.command),
                  item.text);
    }
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), kTitles[m]);
  }
  return bar;
}

// The menu's keys; cut, copy, paste, select all and undo stay with the control.
HACCEL make_accelerators() {
  const ACCEL keys[] = {
      {FVIRTKEY | FCONTROL, 'N', kCmdNew},
      {FVIRTKEY | FCONTROL, 'O', kCmdOpen},
      {FVIRTKEY | FCONTROL, 'S', kCmdSave},
      {FVIRTKEY | FCONTROL, 'P', kCmdPrint},
      {FVIRTKEY | FCONTROL, 'F', kCmdFind},
      {FVIRTKEY, VK_F3, kCmdFindNext},
      {FVIRTKEY | FCONTROL, 'H', kCmdReplace},
      {FVIRTKEY | FCONTROL, 'G', kCmdGoToLine},
      {FVIRTKEY | FCONTROL, VK_F2, kCmdBookmarkToggle},
      {FVIRTKEY, VK_F2, kCmdBookmarkNext},
      {FVIRTKEY | FSHIFT, VK_F2, kCmdBookmarkPrevious},
  };
  return CreateAcceleratorTableA(const_cast<ACCEL*>(keys), static_cast<int>(std::size(keys)));
}

HWND make_toolbar(HWND parent) {
  HWND bar =
      CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, 0, 0,
                      0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (bar == nullptr) return nullptr;
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(bar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
  const std::array<std::pair<int, int>, 9> buttons = {{{STD_FILENEW, kCmdNew},
                                                       {STD_FILEOPEN, kCmdOpen},
                                                       {STD_FILESAVE, kCmdSave},
                                                       {STD_PRINT, kCmdPrint},
                                                       {STD_CUT, kCmdCut},
                                                       {STD_COPY, kCmdCopy},
                                                       {STD_PASTE, kCmdPaste},
                                                       {STD_UNDO, kCmdUndo},
                                                       {STD_FIND, kCmdFind}}};
  std::array<TBBUTTON, buttons.size()> made{};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    made[i].iBitmap = buttons[i].first;
    made[i].idCommand = buttons[i].second;
    made[i].fsState = TBSTATE_ENABLED;
    made[i].fsStyle = BTNS_BUTTON;
  }
  SendMessageA(bar, TB_ADDBUTTONS, made.size(), reinterpret_cast<LPARAM>(made.data()));
  SendMessageA(bar, TB_AUTOSIZE, 0, 0);
  return bar;
}

void set_read_only(Editor& editor) {
  SendMessageW(editor.text, EM_SETREADONLY, editor.mode == ViewerPlain || editor.mode == ViewerRich, 0);
}

// The text control for the editor's mode: the text view for plain text (it does not wrap;
// long lines scroll), the rich-edit control in rich-text mode (wrapping at the window's
// edge) for rich text. False when it cannot be made.
bool make_text_control(Editor& editor) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!rich_mode(editor.mode)) {
    editor.text = create_text_view(editor.container, false);
  } else {
    const wchar_t* control = rich_edit_level() >= 2 ? L"RichEdit20W" : L"RICHEDIT";
    editor.text = CreateWindowExW(WS_EX_CLIENTEDGE, control, L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                      ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN,
                                  0, 0, 0, 0, editor.container, nullptr, instance, nullptr);
  }
  if (editor.text == nullptr) return false;
  SetPropW(editor.text, kTextProcProperty,
           reinterpret_cast<HANDLE>(
               SetWindowLongPtrW(editor.text, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(text_subclass))));
  if (rich_mode(editor.mode)) {
    SendMessageW(editor.text, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessageW(editor.text, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    SendMessageW(editor.text, EM_SETTEXTMODE, TM_RICHTEXT | TM_MULTILEVELUNDO, 0);
    SendMessageW(editor.text, EM_SETTARGETDEVICE, 0, 0);
    // A fixed-pitch 10-point font for all text (rich text starts in it).
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    format.yHeight = 200;
    std::wcscpy(format.szFaceName, L"Courier New");
    SendMessageW(editor.text, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  }
  set_read_only(editor);
  return true;
}

}  // namespace

bool rich_mode(int mode) { return mode == EditorRich || mode == ViewerRich; }

Editor* editor_of_window(int window) {
  if (window < 0 || window >= kMaxWindows) return nullptr;
  return editors()[static_cast<std::size_t>(window)].get();
}

Editor* current_editor() {
  const WindowTable& table = windows();
  if (!table.open) return nullptr;
  return editor_of_window(table.current);
}

int make_editor(int window, int mode, int options) {
  WindowTable& table = windows();
  WindowEntry& entry = table.windows[static_cast<std::size_t>(window)];
  if (rich_edit_level() == 0 || !register_container_class()) return error::kEditorInit;
  auto made = std::make_unique<Editor>();
  Editor& editor = *made;
  editor.window = window;
  editor.mode = mode;
  editor.options = options;
  editors()[static_cast<std::size_t>(window)] = std::move(made);
  RECT r{};
  GetClientRect(entry.client, &r);
  editor.container =
      CreateWindowExW(0, L"QUILEDITOR", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, r.right, r.bottom,
                      entry.client, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (editor.container == nullptr || !make_text_control(editor)) {
    if (editor.container != nullptr) DestroyWindow(editor.container);
    editors()[static_cast<std::size_t>(window)].reset();
    return error::kEditorInit;
  }
  if ((options & EditorMenu) != 0 && entry.menu == nullptr) {
    editor.menu = make_menu();
    editor.accelerators = make_accelerators();
    entry.menu = editor.menu;
    if (entry.accelerators == nullptr) entry.accelerators = editor.accelerators;
    SetMenu(entry.frame, editor.menu);
  }
  if ((options & EditorToolbar) != 0) editor.toolbar = make_toolbar(editor.container);
  if ((options & EditorCommandLine) != 0) {
    editor.command = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0,
                                     0, 0, 0, editor.container, nullptr, GetModuleHandleA(nullptr), nullptr);
    WNDPROC old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(editor.command, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(command_subclass)));
    if (command_proc() == nullptr) command_proc() = old;
    SendMessageA(editor.command, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)),
                 FALSE);
  }
  entry.converted = editor.container;
  entry.kind = WindowKind::Editor;
  SetWindowLongPtrA(entry.frame, GWLP_USERDATA, static_cast<LONG_PTR>(entry.kind));
  layout(editor);
  if (GetActiveWindow() == entry.frame || GetFocus() == entry.client || GetFocus() == nullptr)
    SetFocus(editor.text);
  return 0;
}

void destroy_editor(Editor& editor) {
  WindowEntry& entry = windows().windows[static_cast<std::size_t>(editor.window)];
  if (editor.menu != nullptr && entry.menu == editor.menu) {
    SetMenu(entry.frame, nullptr);
    DestroyMenu(editor.menu);
    entry.menu = nullptr;
  }
  if (editor.accelerators != nullptr) {
    if (entry.accelerators == editor.accelerators) entry.accelerators = nullptr;
    DestroyAcceleratorTable(editor.accelerators);
  }
  DestroyWindow(editor.container);  // forgets the editor
}

void change_mode(Editor& editor, int mode) {
  const bool was_rich = rich_mode(editor.mode);
  editor.mode = mode;
  if (was_rich == rich_mode(mode)) {
    set_read_only(editor);
    return;
  }
  // Plain and rich text live in different controls: the text moves to a new one.
  std::u16string text(editor_text(editor));
  const bool focused = GetFocus() == editor.text;
  HWND old = editor.text;
  if (!make_text_control(editor)) {
    editor.text = old;
    editor.mode = was_rich ? EditorRich : EditorPlain;
    return;
  }
  DestroyWindow(old);
  editor.cache_valid = false;
  put_editor_text(editor, std::move(text));
  layout(editor);
  if (focused) SetFocus(editor.text);
}

void status(Editor& editor, const std::string& text) {
  const WindowEntry& entry = windows().windows[static_cast<std::size_t>(editor.window)];
  if (entry.status_bar != nullptr)
    SendMessageA(entry.status_bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

namespace {

void release_editors() {
  for (auto& e : editors()) {
    if (e) destroy_editor(*e);
  }
}

// The find dialog takes its keys while it is the active window.
ModelessDialog find_dialog_active() {
  HWND active = GetActiveWindow();
  for (const auto& e : editors()) {
    if (e && e->find_dialog != nullptr && e->find_dialog == active) return ModelessDialog{active, nullptr};
  }
  return ModelessDialog{};
}

}  // namespace

void register_editor_layer() {
  WindowLayer layer;
  layer.name = "editors";
  layer.shutdown = release_editors;
  layer.modeless_dialog = find_dialog_active;
  register_layer(layer);
}

}  // namespace quill
