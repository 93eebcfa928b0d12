// Text editor windows: a child window turned into a plain-text or rich-text editor or
// viewer with its own menu, toolbar, find and replace, bookmarks, an optional command
// line, files and printing. The routines work on the current window (WindowSelect).
//
// Texts given to and taken from an editor are bytes: valid UTF-8 is read as UTF-8, any
// other bytes one character per byte (Windows-1252). An editor gives texts back in the
// way it last read them, lines ending in CR LF. NUL bytes and carriage returns that end
// no line show as the symbols U+2400 and U+240D and are written back as those bytes, so
// a plain file loaded and saved keeps every byte (a line ending in LF alone gets CR LF).
#pragma once

#include <optional>
#include <span>
#include <string_view>

// Editor modes.
inline constexpr int EditorPlain = 1;  // plain text, editable
inline constexpr int EditorRich = 2;   // rich text (RTF), editable
inline constexpr int ViewerPlain = 3;  // plain text, read only
inline constexpr int ViewerRich = 4;   // rich text, read only
// Editor options, combined with |.
inline constexpr int EditorMenu = 1;            // the editor's File, Edit and Search menu
inline constexpr int EditorToolbar = 2;         // a toolbar (open, save, print, cut, copy, paste, find)
inline constexpr int EditorCommandLine = 4;     // a one-line entry under the text
inline constexpr int EditorCommandHistory = 8;  // its history, with Up and Down

// Turns the current window (a child window) into an editor or viewer of mode, with
// options (default EditorMenu | EditorToolbar). Called again on an editor it changes the
// mode and keeps the text. The menu's accelerators: Ctrl+N, O, S, P; Ctrl+Z, X, C, V, A;
// Ctrl+F find, F3 find next, Ctrl+H replace, Ctrl+G go to line; Ctrl+F2 sets or clears a
// bookmark, F2 and Shift+F2 go to the next and previous. The editor's commands (menu,
// toolbar, keys) are carried out by the editor; File Open, Save and Print ask with the
// platform's boxes. Errors: 1024 an unknown mode, 1022 the root window, 1003 no window,
// 1038 a grid or bitmap window, 1025 a menu or toolbar and 1033 a command line in a window
// inside the root window, 1027 the editor control cannot be made.
void WEditor(int mode, std::optional<int> options = std::nullopt);
// Opens a modal editor window of mode over the root window on file (empty: an empty
// text) with the editor's menu and toolbar, and returns when the person closes it;
// modified (optional) receives 1 when the text was saved changed. A title bar shows
// title. Errors: 1024, 1027 as for WEditor, 1026 a menu_id (the application's menu) was
// given, 1003 the root window is not open.
void WEditorModal(int mode, std::string_view file, std::string_view title = {},
                  std::optional<int> menu_id = std::nullopt, int* modified = nullptr);
// Gives the current window back as a plain child window (text and bookmarks are lost).
void WEditorClose();

// Replaces the whole text; the modified flag and the undo history are cleared.
void WEditorPutText(std::string_view text);
// The whole text, or the selection, into text (blank-padded); length receives its
// length in bytes. 1023 when text is too short (what fits is given).
void WEditorGetText(std::span<char> text, int& length);
void WEditorGetSelection(std::span<char> text, int& length);
// The length in bytes WEditorGetText would give.
int WEditorTextLength();
// Replaces the selection with text (inserts it at the caret when nothing is selected).
void WEditorInsert(std::string_view text);
// Selects characters from..to (0-based, to exclusive; -1 the end of the text). A line end
// counts as two characters (CR LF) in a plain editor and as one in a rich editor.
void WEditorSelect(int from, int to);
// Reads file into the editor: RTF in a rich editor when it starts with "{\rtf", else
// plain text. 1 when the file cannot be opened.
void WEditorLoad(std::string_view file);
// Writes the text to file (empty: the file last loaded or saved): RTF in a rich editor,
// else plain text. 1 when it cannot be created, 2 on a short write.
void WEditorSave(std::string_view file = {});
// The modified flag: 1 when the text changed since it was put, loaded or saved.
int WEditorModified();
void WEditorSetModified(int state);
// Undoes the last change (nothing when there is none).
void WEditorUndo();
// The caret's line and column, 1-based; go to the start of line (clamped to the text).
void WEditorCaret(int& line, int& column);
void WEditorGoToLine(int line);

// Rich text: the font, size in points, style and colour of the selection (an empty
// name or size <= 0 keeps that part; colour -1 keeps it). style bits: 1 bold, 2 italic,
// 4 underlined. 1070 in a plain editor, 1115 a font the system does not have.
inline constexpr int EditorBold = 1;
inline constexpr int EditorItalic = 2;
inline constexpr int EditorUnderline = 4;
void WEditorFormat(std::string_view font, int size, int style, int colour = -1);

// Editor buffers 1..32: number receives a free buffer (1068 when none is left); store
// keeps the current editor's text in it, fetch puts it back into the current editor
// (which then counts as modified), release frees it. 1067 a buffer not in use.
void WEditorBufferNew(int& number);
void WEditorBufferStore(int number);
void WEditorBufferFetch(int number);
void WEditorBufferRelease(int number);

// Find options, combined with |.
inline constexpr int FindMatchCase = 1;
inline constexpr int FindWholeWord = 2;
inline constexpr int FindUp = 4;
// Selects the next match of text from the caret (FindUp: the one before it); found
// receives 1, or 0 when there is none (the editor's status bar then says so).
void WEditorFind(std::string_view text, int options, int& found);
// Replaces the selection when it matches text, then finds the next match; count
// receives the number of replacements (0 or 1).
void WEditorReplace(std::string_view text, std::string_view replacement, int options, int& count);
// Replaces every match in the whole text as one change (one undo); count receives how many.
void WEditorReplaceAll(std::string_view text, std::string_view replacement, int options, int& count);
// Shows the platform's find (replace 0) or replace (1) dialog for the current editor.
void WEditorFindDialog(int replace);

// Bookmarks: action 1 sets or clears one on line (0: the caret's line), 2 clears all,
// 3 goes to the next one after the caret, 4 to the previous one. lines (optional)
// receives the bookmarked lines (1-based, ascending, unused entries 0); count how many.
void WEditorBookmark(int action, int line = 0);
void WEditorBookmarks(std::span<int> lines, int& count);

// The command line (1032 when the editor has none): Enter in it posts EvCommandLine
// (type 14) with the window's number and adds the line to the history. Get gives its
// text (blank-padded), put replaces it. History: item 1 is the newest line, length the
// number of lines (1092 when the editor keeps no history; a blank text beyond the end).
void WEditorCommandGet(std::span<char> text);
void WEditorCommandPut(std::string_view text);
void WEditorCommandHistory(int item, std::span<char> text, int& count);

// Prints the text through hardcopy driver (10 the Windows printer; 2 PostScript, 3 SVG or
// any text-capable file driver, to file): pages with a header of title (default: the
// file name) and page numbers, margins of margin_mm millimetres (default 15). Errors
// from the hardcopy routines are reported as they are.
void WEditorPrint(int driver, std::string_view file = {}, std::string_view title = {},
                  std::optional<int> margin_mm = std::nullopt);
