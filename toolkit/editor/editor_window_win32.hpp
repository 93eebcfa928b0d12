// Editor windows: the record of a child window converted into an editor, and the
// operations the routines, the menu, the keys and the find dialog share. Windows only.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <richedit.h>

#include <string>

#include "editor/editor_state.hpp"
#include "editor/editor_text.hpp"

namespace quill {

// Menu, toolbar and key commands of an editor (kept clear of an application's numbers).
enum EditorCommand : int {
  kCmdNew = 0xE100,
  kCmdOpen,
  kCmdSave,
  kCmdSaveAs,
  kCmdPrint,
  kCmdClose,
  kCmdUndo,
  kCmdCut,
  kCmdCopy,
  kCmdPaste,
  kCmdSelectAll,
  kCmdFind,
  kCmdFindNext,
  kCmdReplace,
  kCmdGoToLine,
  kCmdBookmarkToggle,
  kCmdBookmarkNext,
  kCmdBookmarkPrevious,
  kCmdBookmarkClear,
  kCmdRedo,
};

struct Editor {
  int window = 0;
  int mode = 0;
  int options = 0;
  HWND container = nullptr;  // covers the client area; the window's converted window
  HWND text = nullptr;       // the text view (plain modes) or the rich-edit control
  HWND toolbar = nullptr;
  HWND command = nullptr;  // the command line, an edit control
  HMENU menu = nullptr;    // made by the editor (null when the window has its own)
  HACCEL accelerators = nullptr;
  TextEncoding encoding = TextEncoding::Utf8;
  std::string file;
  Bookmarks bookmarks;
  CommandHistory history;
  // A rich editor's whole text as last read from the control; stale after any change.
  std::u16string cached;
  bool cache_valid = false;
  // The find dialog and what it searches for.
  HWND find_dialog = nullptr;
  FINDREPLACEW find{};
  wchar_t find_what[256] = {};
  wchar_t replace_with[256] = {};
  bool modal_done = false;
  bool saved_changed = false;
};

bool rich_mode(int mode);
// The current window's editor, or null.
Editor* current_editor();
Editor* editor_of_window(int window);
// Converts window's entry into an editor; 0 or an error code.
int make_editor(int window, int mode, int options);
void destroy_editor(Editor& editor);
void change_mode(Editor& editor, int mode);

// The whole text, line ends as single '\r's (valid until the text changes).
std::u16string_view editor_text(Editor& editor);
// Units from..to of the text (clamped to it), without making the whole text in one piece.
std::u16string editor_range(Editor& editor, std::size_t from, std::size_t to);
void put_editor_text(Editor& editor, std::u16string text);
void replace_selection(Editor& editor, std::u16string_view text, bool undoable);
void get_selection(Editor& editor, CHARRANGE& range);
void select_range(Editor& editor, long from, long to);
int caret_line(Editor& editor);
void go_to_line(Editor& editor, int line);

// Loads and saves; 0 or an error code (1 open, 2 write).
int load_file(Editor& editor, const std::string& path);
int save_file(Editor& editor, const std::string& path);

// Search from the selection; true when a match is now selected. A miss is shown in the
// status bar (and with a message box when show_miss).
bool find_next(Editor& editor, std::u16string_view what, int options, bool show_miss);
int replace_one(Editor& editor, std::u16string_view what, std::u16string_view with, int options);
int replace_all(Editor& editor, std::u16string_view what, std::u16string_view with, int options);
void show_find_dialog(Editor& editor, bool replace);

void bookmark_command(Editor& editor, int command, int line);
void status(Editor& editor, const std::string& text);

// Widening for routine texts: bytes as the editor reads them.
std::u16string editor_input(Editor& editor, std::string_view bytes);
std::string editor_output(const Editor& editor, std::u16string_view text);

// Text through a hardcopy driver (editor_print.cpp).
void print_editor(Editor& editor, int driver, const std::string& file, const std::string& title,
                  int margin_mm);

}  // namespace quill

namespace quill {
// Offers a changed text for saving (Yes, No, Cancel); false when the person cancelled.
bool ask_to_save(Editor& editor);
}  // namespace quill
