// The editor routines: each works on the current window's editor.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "base/error_codes.hpp"
#include "core/event_loop_win32.hpp"
#include "core/window_table.hpp"
#include "editor/editor_print.hpp"
#include "editor/editor_window_win32.hpp"
#include "quill/editor.hpp"
#include "quill/errors.hpp"
#include "quill/window.hpp"

namespace quill {
namespace {

TextBuffers& buffers() {
  static TextBuffers slots;
  return slots;
}

// The current editor, or null after reporting 1028 (1003 when no window is open).
Editor* editor_for(const char* routine) {
  const WindowTable& table = windows();
  if (!table.open) {
    IErrorReport(error::kInvalidWindow, routine);
    return nullptr;
  }
  Editor* editor = current_editor();
  if (editor == nullptr) IErrorReport(error::kNotEditor, routine);
  return editor;
}

// Copies bytes into a blank-padded result; 1023 when they do not fit.
void give_text(const std::string& bytes, std::span<char> text, int& length, const char* routine) {
  length = static_cast<int>(bytes.size());
  const std::size_t n = std::min(bytes.size(), text.size());
  std::memcpy(text.data(), bytes.data(), n);
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
  if (bytes.size() > text.size()) IErrorReport(error::kVariableTooSmall, routine);
}

std::string path_of(std::string_view file) {
  std::string path(file.substr(0, file.find('\0')));
  path.erase(path.find_last_not_of(' ') + 1);
  return path;
}

int check_mode_and_window(int mode, int options, int& code) {
  WindowTable& table = windows();
  code = 0;
  if (mode < EditorPlain || mode > ViewerRich)
    code = error::kEditorMode;
  else if (!table.open || table.windows[static_cast<std::size_t>(table.current)].frame == nullptr)
    code = error::kInvalidWindow;
  else if (table.current == 0)
    code = error::kNotChildWindow;
  else {
    const WindowEntry& entry = table.windows[static_cast<std::size_t>(table.current)];
    if (entry.kind != WindowKind::Plain && entry.kind != WindowKind::Editor)
      code = error::kWindowConverted;
    else if (entry.inside_parent && (options & (EditorMenu | EditorToolbar)) != 0)
      code = error::kEditorMenuInside;
    else if (entry.inside_parent && (options & EditorCommandLine) != 0)
      code = error::kCommandLineInside;
  }
  return table.current;
}

// Command-line routines need one; 1032 otherwise.
Editor* command_editor(const char* routine) {
  Editor* editor = editor_for(routine);
  if (editor != nullptr && editor->command == nullptr) {
    IErrorReport(error::kNoCommandLine, routine);
    return nullptr;
  }
  return editor;
}

bool font_exists(const std::string& name) {
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(wanted.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExA(
      dc, &wanted,
      [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found_flag) -> int {
        *reinterpret_cast<bool*>(found_flag) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

WNDPROC& modal_frame_proc() {
  static WNDPROC proc = nullptr;
  return proc;
}

// A modal editor's frame: WM_CLOSE ends the editor's loop (instead of becoming an event)
// once a changed text has been offered for saving.
LRESULT CALLBACK modal_frame_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    const int window = window_number(hwnd);
    if (Editor* editor = editor_of_window(window)) editor->modal_done = ask_to_save(*editor);
    return 0;
  }
  return CallWindowProcA(modal_frame_proc(), hwnd, message, wparam, lparam);
}

// A rich editor's text as runs of one format each, read character by character from the
// control (its selection put back afterwards, nothing drawn meanwhile).
std::vector<PrintRun> rich_runs(Editor& editor) {
  const std::u16string text(editor_text(editor));
  CHARRANGE kept{};
  get_selection(editor, kept);
  SendMessageW(editor.text, WM_SETREDRAW, FALSE, 0);
  std::vector<PrintRun> runs;
  std::vector<std::u16string> units;  // each run's, made bytes at the end (pairs whole)
  for (std::size_t at = 0; at < text.size(); ++at) {
    CHARRANGE one{static_cast<LONG>(at), static_cast<LONG>(at + 1)};
    SendMessageW(editor.text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_SIZE | CFM_COLOR;
    SendMessageW(editor.text, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    PrintRun run;
    run.points = format.yHeight > 0 ? static_cast<float>(format.yHeight) / 20.0F : 10.0F;
    run.style = ((format.dwEffects & CFE_BOLD) != 0 ? 1 : 0) | ((format.dwEffects & CFE_ITALIC) != 0 ? 2 : 0);
    run.colour = (format.dwEffects & CFE_AUTOCOLOR) != 0 ? 0 : static_cast<std::uint32_t>(format.crTextColor);
    if (runs.empty() || runs.back().points != run.points || runs.back().style != run.style ||
        runs.back().colour != run.colour) {
      runs.push_back(std::move(run));
      units.emplace_back();
    }
    units.back().push_back(text[at]);
  }
  for (std::size_t r = 0; r < runs.size(); ++r) runs[r].text = encode_text(units[r], TextEncoding::Bytes);
  SendMessageW(editor.text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  SendMessageW(editor.text, WM_SETREDRAW, TRUE, 0);
  return runs;
}

}  // namespace

void print_editor(Editor& editor, int driver, const std::string& file, const std::string& title,
                  int margin_mm) {
  std::string heading = title;
  if (heading.empty()) heading = editor.file.empty() ? "Untitled" : editor.file;
  if (rich_mode(editor.mode)) {
    print_runs(rich_runs(editor), driver, file, heading, margin_mm);
    return;
  }
  print_text(encode_text(editor_text(editor), TextEncoding::Bytes), driver, file, heading, margin_mm);
}

}  // namespace quill

using namespace quill;

void WEditor(int mode, std::optional<int> options) {
  const int bits = options.value_or(EditorMenu | EditorToolbar);
  int code = 0;
  const int window = check_mode_and_window(mode, bits, code);
  if (code == 0) {
    if (Editor* editor = editor_of_window(window)) {
      change_mode(*editor, mode);
      return;
    }
    code = make_editor(window, mode, bits);
  }
  if (code != 0) IErrorReport(code, "WEditor");
}

void WEditorModal(int mode, std::string_view file, std::string_view title, std::optional<int> menu_id,
                  int* modified) {
  int code = 0;
  if (mode < EditorPlain || mode > ViewerRich)
    code = error::kEditorMode;
  else if (menu_id.has_value() && *menu_id != 0)
    code = error::kEditorModalMenu;
  else if (!windows().open)
    code = error::kInvalidWindow;
  if (code != 0) {
    IErrorReport(code, "WEditorModal");
    return;
  }
  WindowTable& table = windows();
  const int previous = table.current;
  int window = 0;
  const std::string caption =
      title.empty() ? (path_of(file).empty() ? "Editor" : path_of(file)) : std::string(title);
  WindowOpenChild(window, WinSystemMenu | WinMinimiseBox | WinMaximiseBox | WinStatusBar, std::nullopt,
                  std::nullopt, 7000, 7000, caption);
  if (window == 0) return;
  table.current = window;
  code = make_editor(window, mode, EditorMenu | EditorToolbar);
  Editor* editor = editor_of_window(window);
  if (code == 0 && editor != nullptr && !path_of(file).empty()) {
    if (const int failed = load_file(*editor, path_of(file))) IErrorReport(failed, "WEditorModal");
  }
  HWND frame = table.windows[static_cast<std::size_t>(window)].frame;
  modal_frame_proc() = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(modal_frame_subclass)));
  EnableWindow(table.windows[0].frame, FALSE);
  bool changed = false;
  // The window's close box and File Close end the loop.
  while (code == 0 && (editor = editor_of_window(window)) != nullptr && !editor->modal_done) {
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    process_message(msg);
  }
  if (editor != nullptr) changed = editor->saved_changed;
  EnableWindow(table.windows[0].frame, TRUE);
  SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(modal_frame_proc()));
  if (code != 0) IErrorReport(code, "WEditorModal");
  WindowCloseChild(window);
  table.current = previous;
  if (modified != nullptr) *modified = changed ? 1 : 0;
}

void WEditorClose() {
  if (Editor* editor = editor_for("WEditorClose")) destroy_editor(*editor);
}

void WEditorPutText(std::string_view text) {
  Editor* editor = editor_for("WEditorPutText");
  if (editor == nullptr) return;
  put_editor_text(*editor, editor_input(*editor, text));
  editor->bookmarks.clear();
  SendMessageW(editor->text, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(editor->text, EM_SETMODIFY, 0, 0);
  select_range(*editor, 0, 0);
}

void WEditorGetText(std::span<char> text, int& length) {
  length = 0;
  Editor* editor = editor_for("WEditorGetText");
  if (editor != nullptr)
    give_text(editor_output(*editor, editor_text(*editor)), text, length, "WEditorGetText");
}

int WEditorTextLength() {
  Editor* editor = editor_for("WEditorTextLength");
  return editor == nullptr ? 0 : static_cast<int>(editor_output(*editor, editor_text(*editor)).size());
}

void WEditorGetSelection(std::span<char> text, int& length) {
  length = 0;
  Editor* editor = editor_for("WEditorGetSelection");
  if (editor == nullptr) return;
  CHARRANGE range{};
  get_selection(*editor, range);
  const std::u16string picked =
      editor_range(*editor, static_cast<std::size_t>(range.cpMin), static_cast<std::size_t>(range.cpMax));
  give_text(editor_output(*editor, picked), text, length, "WEditorGetSelection");
}

void WEditorInsert(std::string_view text) {
  Editor* editor = editor_for("WEditorInsert");
  if (editor == nullptr) return;
  TextEncoding encoding{};
  replace_selection(*editor, decode_text(text, encoding), true);
}

void WEditorSelect(int from, int to) {
  if (Editor* editor = editor_for("WEditorSelect"))
    select_range(*editor, std::max(from, 0), to < 0 ? -1 : to);
}

void WEditorLoad(std::string_view file) {
  Editor* editor = editor_for("WEditorLoad");
  if (editor == nullptr) return;
  if (const int code = load_file(*editor, path_of(file))) IErrorReport(code, "WEditorLoad");
}

void WEditorSave(std::string_view file) {
  Editor* editor = editor_for("WEditorSave");
  if (editor == nullptr) return;
  const std::string path = path_of(file).empty() ? editor->file : path_of(file);
  if (const int code = path.empty() ? error::kFileOpen : save_file(*editor, path))
    IErrorReport(code, "WEditorSave");
}

int WEditorModified() {
  Editor* editor = editor_for("WEditorModified");
  return editor != nullptr && SendMessageW(editor->text, EM_GETMODIFY, 0, 0) != 0 ? 1 : 0;
}

void WEditorSetModified(int state) {
  if (Editor* editor = editor_for("WEditorSetModified"))
    SendMessageW(editor->text, EM_SETMODIFY, state != 0, 0);
}

void WEditorUndo() {
  if (Editor* editor = editor_for("WEditorUndo")) SendMessageW(editor->text, EM_UNDO, 0, 0);
}

void WEditorCaret(int& line, int& column) {
  line = column = 0;
  Editor* editor = editor_for("WEditorCaret");
  if (editor == nullptr) return;
  CHARRANGE range{};
  get_selection(*editor, range);
  const auto at = static_cast<int>(SendMessageW(editor->text, EM_EXLINEFROMCHAR, 0, range.cpMax));
  line = at + 1;
  column = range.cpMax -
           static_cast<int>(SendMessageW(editor->text, EM_LINEINDEX, static_cast<WPARAM>(at), 0)) + 1;
}

void WEditorGoToLine(int line) {
  if (Editor* editor = editor_for("WEditorGoToLine")) go_to_line(*editor, line);
}

void WEditorFormat(std::string_view font, int size, int style, int colour) {
  Editor* editor = editor_for("WEditorFormat");
  if (editor == nullptr) return;
  if (!rich_mode(editor->mode)) {
    IErrorReport(error::kNotRichEditor, "WEditorFormat");
    return;
  }
  const std::string name = path_of(font);
  if (!name.empty() && (name.size() >= LF_FACESIZE || !font_exists(name))) {
    IErrorReport(error::kEditorFont, "WEditorFormat");
    return;
  }
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
  if ((style & EditorBold) != 0) format.dwEffects |= CFE_BOLD;
  if ((style & EditorItalic) != 0) format.dwEffects |= CFE_ITALIC;
  if ((style & EditorUnderline) != 0) format.dwEffects |= CFE_UNDERLINE;
  if (!name.empty()) {
    format.dwMask |= CFM_FACE;
    TextEncoding encoding{};
    const std::u16string face = decode_text(name, encoding);
    std::memcpy(format.szFaceName, face.c_str(), (face.size() + 1) * sizeof(char16_t));
  }
  if (size > 0) {
    format.dwMask |= CFM_SIZE;
    format.yHeight = size * 20;
  }
  if (colour >= 0) {
    format.dwMask |= CFM_COLOR;
    format.crTextColor = static_cast<COLORREF>(colour);
  }
  SendMessageW(editor->text, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void WEditorBufferNew(int& number) {
  const int made = buffers().allocate();
  if (made == 0) {
    IErrorReport(error::kNoEditorBuffer, "WEditorBufferNew");
    return;
  }
  number = made;
}

void WEditorBufferStore(int number) {
  std::u16string* slot = buffers().slot(number);
  if (slot == nullptr) {
    IErrorReport(error::kEditorBuffer, "WEditorBufferStore");
    return;
  }
  if (Editor* editor = editor_for("WEditorBufferStore")) *slot = editor_text(*editor);
}

void WEditorBufferFetch(int number) {
  const std::u16string* slot = buffers().slot(number);
  if (slot == nullptr) {
    IErrorReport(error::kEditorBuffer, "WEditorBufferFetch");
    return;
  }
  Editor* editor = editor_for("WEditorBufferFetch");
  if (editor == nullptr) return;
  put_editor_text(*editor, *slot);
  editor->bookmarks.clear();
  SendMessageW(editor->text, EM_SETMODIFY, 1, 0);
}

void WEditorBufferRelease(int number) {
  if (!buffers().release(number)) IErrorReport(error::kEditorBuffer, "WEditorBufferRelease");
}

void WEditorFind(std::string_view text, int options, int& found) {
  found = 0;
  Editor* editor = editor_for("WEditorFind");
  if (editor == nullptr) return;
  TextEncoding encoding{};
  found = find_next(*editor, decode_text(text, encoding), options, false) ? 1 : 0;
}

void WEditorReplace(std::string_view text, std::string_view replacement, int options, int& count) {
  count = 0;
  Editor* editor = editor_for("WEditorReplace");
  if (editor == nullptr) return;
  TextEncoding encoding{};
  count = replace_one(*editor, decode_text(text, encoding), decode_text(replacement, encoding), options);
}

void WEditorReplaceAll(std::string_view text, std::string_view replacement, int options, int& count) {
  count = 0;
  Editor* editor = editor_for("WEditorReplaceAll");
  if (editor == nullptr) return;
  TextEncoding encoding{};
  count = replace_all(*editor, decode_text(text, encoding), decode_text(replacement, encoding), options);
}

void WEditorFindDialog(int replace) {
  if (Editor* editor = editor_for("WEditorFindDialog")) show_find_dialog(*editor, replace != 0);
}

void WEditorBookmark(int action, int line) {
  Editor* editor = editor_for("WEditorBookmark");
  if (editor == nullptr) return;
  static constexpr int kActions[] = {kCmdBookmarkToggle, kCmdBookmarkClear, kCmdBookmarkNext,
                                     kCmdBookmarkPrevious};
  if (action >= 1 && action <= 4) bookmark_command(*editor, kActions[action - 1], line);
}

void WEditorBookmarks(std::span<int> lines, int& count) {
  count = 0;
  std::fill(lines.begin(), lines.end(), 0);
  Editor* editor = editor_for("WEditorBookmarks");
  if (editor == nullptr) return;
  const std::vector<int>& marks = editor->bookmarks.lines();
  count = static_cast<int>(marks.size());
  for (std::size_t i = 0; i < marks.size() && i < lines.size(); ++i) lines[i] = marks[i] + 1;
}

void WEditorCommandGet(std::span<char> text) {
  Editor* editor = command_editor("WEditorCommandGet");
  std::string line;
  if (editor != nullptr) {
    line.resize(static_cast<std::size_t>(GetWindowTextLengthA(editor->command)) + 1);
    line.resize(static_cast<std::size_t>(
        GetWindowTextA(editor->command, line.data(), static_cast<int>(line.size()))));
  }
  int length = 0;
  give_text(line, text, length, "WEditorCommandGet");
}

void WEditorCommandPut(std::string_view text) {
  if (Editor* editor = command_editor("WEditorCommandPut"))
    SetWindowTextA(editor->command, path_of(text).c_str());
}

void WEditorCommandHistory(int item, std::span<char> text, int& count) {
  count = 0;
  Editor* editor = command_editor("WEditorCommandHistory");
  if (editor != nullptr && (editor->options & EditorCommandHistory) == 0) {
    IErrorReport(error::kNoCommandHistory, "WEditorCommandHistory");
    editor = nullptr;
  }
  std::string line;
  if (editor != nullptr) {
    const auto& lines = editor->history.lines();
    count = static_cast<int>(lines.size());
    if (item >= 1 && item <= count) line = lines[lines.size() - static_cast<std::size_t>(item)];
  }
  int length = 0;
  give_text(line, text, length, "WEditorCommandHistory");
}

void WEditorPrint(int driver, std::string_view file, std::string_view title, std::optional<int> margin_mm) {
  if (Editor* editor = editor_for("WEditorPrint")) {
    print_editor(*editor, driver, path_of(file), std::string(title), margin_mm.value_or(15));
  }
}
