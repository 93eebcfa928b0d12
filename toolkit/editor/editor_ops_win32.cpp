// What an editor does with its text: reading and writing the control, files (plain and
// RTF), search, bookmarks and the commands of its menu, toolbar and keys.
#include <windows.h>
#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/error_codes.hpp"
#include "core/window_table.hpp"
#include "editor/editor_layer_win32.hpp"
#include "editor/editor_window_win32.hpp"
#include "editor/text_view_win32.hpp"
#include "quill/editor.hpp"

namespace quill {
namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Stream callbacks of EM_STREAMIN and EM_STREAMOUT over a byte string.
struct StreamBytes {
  std::string bytes;
  std::size_t at = 0;
};

DWORD CALLBACK stream_in(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* s = reinterpret_cast<StreamBytes*>(cookie);
  const std::size_t n = std::min(static_cast<std::size_t>(wanted), s->bytes.size() - s->at);
  std::memcpy(buffer, s->bytes.data() + s->at, n);
  s->at += n;
  *given = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK stream_out(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  reinterpret_cast<StreamBytes*>(cookie)->bytes.append(reinterpret_cast<const char*>(buffer),
                                                       static_cast<std::size_t>(count));
  *taken = count;
  return 0;
}

bool read_whole_file(const std::string& path, std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  bytes.clear();
  // A file of known size is read in one piece; anything else (a pipe) in chunks.
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    std::rewind(f);
    if (size > 0) {
      bytes.resize(static_cast<std::size_t>(size));
      bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    }
  }
  char chunk[65536];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0) bytes.append(chunk, n);
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

// A file mapped into memory, read in place: fresh memory costs more to touch than pages
// the system already holds for the file, and a large file is read only once.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    HANDLE mapping = GetFileSizeEx(file, &size) && size.QuadPart > 0
                         ? CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr)
                         : nullptr;
    if (mapping != nullptr) {
      view_ = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
      if (view_ != nullptr)
        bytes_ = std::string_view(static_cast<const char*>(view_), static_cast<std::size_t>(size.QuadPart));
      CloseHandle(mapping);
    }
    CloseHandle(file);
  }
  ~MappedFile() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  bool mapped() const { return view_ != nullptr; }
  std::string_view bytes() const { return bytes_; }

 private:
  void* view_ = nullptr;
  std::string_view bytes_;
};

void after_new_text(Editor& editor) {
  editor.cache_valid = false;
  editor.bookmarks.clear();
  SendMessageW(editor.text, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(editor.text, EM_SETMODIFY, 0, 0);
  select_range(editor, 0, 0);
}

std::string utf8_of(const wchar_t* text) {
  std::u16string wide_text(reinterpret_cast<const char16_t*>(text));
  return encode_text(wide_text, TextEncoding::Utf8);
}

// A file name asked with the platform's open or save box; empty when cancelled.
std::string ask_file(Editor& editor, bool save) {
  wchar_t name[MAX_PATH] = {};
  OPENFILENAMEW box{};
  box.lStructSize = sizeof(box);
  box.hwndOwner = windows().windows[static_cast<std::size_t>(editor.window)].frame;
  box.lpstrFilter = rich_mode(editor.mode) ? L"Rich text (*.rtf)\0*.rtf\0All files\0*.*\0"
                                           : L"Text files (*.txt)\0*.txt\0All files\0*.*\0";
  box.lpstrFile = name;
  box.nMaxFile = MAX_PATH;
  box.Flags = save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
  const BOOL chosen = save ? GetSaveFileNameW(&box) : GetOpenFileNameW(&box);
  return chosen ? utf8_of(name) : std::string();
}

void report_file(Editor& editor, int code, const std::string& path) {
  if (code == 0) return;
  const std::string text = (code == error::kFileOpen ? "Cannot open " : "Cannot write ") + path;
  status(editor, text);
  MessageBoxA(windows().windows[static_cast<std::size_t>(editor.window)].frame, text.c_str(), "Editor",
              MB_OK | MB_ICONEXCLAMATION);
}

// Asks for a line number in a small modal box made in memory; 0 when cancelled.
INT_PTR CALLBACK line_box_proc(HWND box, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
    EndDialog(box,
              LOWORD(wparam) == IDOK ? static_cast<INT_PTR>(GetDlgItemInt(box, 100, nullptr, FALSE)) : 0);
    return TRUE;
  }
  return FALSE;
}

void append_words(std::vector<WORD>& t, const wchar_t* text) {
  do t.push_back(static_cast<WORD>(*text));
  while (*text++ != 0);
}

void add_item(std::vector<WORD>& t, DWORD style, short x, short y, short w, short h, WORD id, WORD type,
              const wchar_t* text) {
  if (t.size() % 2 != 0) t.push_back(0);  // DWORD alignment
  const DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, w, h, id};
  const auto* words = reinterpret_cast<const WORD*>(&item);
  t.insert(t.end(), words, words + sizeof(item) / sizeof(WORD));
  t.push_back(0xFFFF);
  t.push_back(type);
  append_words(t, text);
  t.push_back(0);
}

int ask_line(HWND owner) {
  std::vector<WORD> t;
  const DLGTEMPLATE head{
      DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 0, 4, 0, 0, 150, 50};
  const auto* words = reinterpret_cast<const WORD*>(&head);
  t.insert(t.end(), words, words + sizeof(head) / sizeof(WORD));
  t.push_back(0);  // no menu
  t.push_back(0);  // standard class
  append_words(t, L"Go to line");
  t.push_back(8);
  append_words(t, L"MS Shell Dlg");
  add_item(t, SS_LEFT, 7, 9, 40, 10, 101, 0x0082, L"Line:");
  add_item(t, ES_NUMBER | WS_BORDER | WS_TABSTOP, 50, 7, 90, 12, 100, 0x0081, L"");
  add_item(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 36, 28, 50, 14, IDOK, 0x0080, L"OK");
  add_item(t, BS_PUSHBUTTON | WS_TABSTOP, 92, 28, 50, 14, IDCANCEL, 0x0080, L"Cancel");
  return static_cast<int>(DialogBoxIndirectW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<DLGTEMPLATE*>(t.data()), owner, line_box_proc));
}

}  // namespace

std::u16string editor_input(Editor& editor, std::string_view bytes) {
  return decode_text(bytes, editor.encoding);
}

std::string editor_output(const Editor& editor, std::u16string_view text) {
  return encode_text(text, editor.encoding);
}

std::u16string_view editor_text(Editor& editor) {
  if (TextDocument* doc = text_view_document(editor.text)) return doc->store().whole();
  if (editor.cache_valid) return editor.cached;
  GETTEXTLENGTHEX ask{GTL_NUMCHARS | GTL_PRECISE, 1200};
  const LRESULT length = SendMessageW(editor.text, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&ask), 0);
  editor.cached.assign(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, u'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(editor.cached.size() * sizeof(char16_t));
  get.flags = GT_DEFAULT;
  get.codepage = 1200;
  const LRESULT got = SendMessageW(editor.text, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                   reinterpret_cast<LPARAM>(editor.cached.data()));
  editor.cached.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
  editor.cache_valid = true;
  return editor.cached;
}

std::u16string editor_range(Editor& editor, std::size_t from, std::size_t to) {
  if (const TextDocument* doc = text_view_document(editor.text)) {
    const std::size_t size = doc->store().size();
    return doc->store().text(std::min(from, size), std::clamp(to, std::min(from, size), size));
  }
  const std::u16string_view all = editor_text(editor);
  from = std::min(from, all.size());
  return std::u16string(all.substr(from, std::clamp(to, from, all.size()) - from));
}

void put_editor_text(Editor& editor, std::u16string text) {
  if (text_view_document(editor.text) != nullptr) {
    text_view_set_text(editor.text, std::move(text));
    return;
  }
  SETTEXTEX set{ST_DEFAULT, 1200};
  SendMessageW(editor.text, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set),
               reinterpret_cast<LPARAM>(wide(text)));
  editor.cache_valid = false;
}

void replace_selection(Editor& editor, std::u16string_view text, bool undoable) {
  const std::u16string copy(text);
  SendMessageW(editor.text, EM_REPLACESEL, undoable ? TRUE : FALSE, reinterpret_cast<LPARAM>(wide(copy)));
  editor.cache_valid = false;
}

void get_selection(Editor& editor, CHARRANGE& range) {
  SendMessageW(editor.text, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void select_range(Editor& editor, long from, long to) {
  CHARRANGE range{from, to};
  SendMessageW(editor.text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageW(editor.text, EM_SCROLLCARET, 0, 0);
}

int caret_line(Editor& editor) {
  CHARRANGE range{};
  get_selection(editor, range);
  return static_cast<int>(SendMessageW(editor.text, EM_EXLINEFROMCHAR, 0, range.cpMin));
}

void go_to_line(Editor& editor, int line) {
  const int lines = static_cast<int>(SendMessageW(editor.text, EM_GETLINECOUNT, 0, 0));
  const int target = std::clamp(line, 1, std::max(lines, 1)) - 1;
  const long at = static_cast<long>(SendMessageW(editor.text, EM_LINEINDEX, static_cast<WPARAM>(target), 0));
  select_range(editor, at, at);
}

int load_file(Editor& editor, const std::string& path) {
  std::string bytes;
  if (text_view_document(editor.text) != nullptr) {
    // The view keeps the file's bytes as its store, read in place through a mapping.
    auto mapped = std::make_shared<const MappedFile>(path);
    std::shared_ptr<const void> owner = mapped;
    std::string_view kept = mapped->bytes();
    if (!mapped->mapped()) {
      if (!read_whole_file(path, bytes)) return error::kFileOpen;
      auto read = std::make_shared<const std::string>(std::move(bytes));
      kept = *read;
      owner = read;
    }
    text_view_set_bytes(editor.text, std::move(owner), kept, editor.encoding);
    editor.file = path;
    after_new_text(editor);
    return 0;
  }
  if (!read_whole_file(path, bytes)) return error::kFileOpen;
  // Nothing is drawn while the control takes the text in.
  SendMessageW(editor.text, WM_SETREDRAW, FALSE, 0);
  if (rich_mode(editor.mode) && bytes.rfind("{\\rtf", 0) == 0) {
    StreamBytes source{std::move(bytes), 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, stream_in};
    SendMessageW(editor.text, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  } else {
    put_editor_text(editor, decode_text(bytes, editor.encoding));
  }
  SendMessageW(editor.text, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(editor.text, nullptr, TRUE);
  editor.file = path;
  after_new_text(editor);
  return 0;
}

int save_file(Editor& editor, const std::string& path) {
  std::string bytes;
  if (rich_mode(editor.mode)) {
    StreamBytes sink;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&sink), 0, stream_out};
    SendMessageW(editor.text, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    bytes = std::move(sink.bytes);
  } else if (TextDocument* doc = text_view_document(editor.text)) {
    bytes = doc->store().encode(editor.encoding);
    // The file may be the one the text still reads in place.
    doc->store().own_bytes();
  } else {
    bytes = editor_output(editor, editor_text(editor));
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return error::kFileOpen;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) return error::kFileReadWrite;
  editor.file = path;
  SendMessageW(editor.text, EM_SETMODIFY, 0, 0);
  editor.saved_changed = true;
  return 0;
}

bool find_next(Editor& editor, std::u16string_view what, int options, bool show_miss) {
  CHARRANGE range{};
  get_selection(editor, range);
  const bool up = (options & kFindUp) != 0;
  const auto from = static_cast<std::size_t>(up ? range.cpMin : range.cpMax);
  const TextDocument* doc = text_view_document(editor.text);
  const auto at = doc != nullptr ? doc->store().find(what, from, options)
                                 : find_text(editor_text(editor), what, from, options);
  if (!at) {
    const std::string shown = encode_text(what, TextEncoding::Utf8);
    status(editor, "Not found: " + shown);
    MessageBeep(MB_ICONASTERISK);
    if (show_miss) {
      HWND owner = editor.find_dialog != nullptr ? editor.find_dialog : editor.container;
      MessageBoxW(
          owner, reinterpret_cast<const wchar_t*>((u"Cannot find \"" + std::u16string(what) + u"\"").c_str()),
          L"Find", MB_OK | MB_ICONINFORMATION);
    }
    return false;
  }
  select_range(editor, static_cast<long>(*at), static_cast<long>(*at + what.size()));
  return true;
}

int replace_one(Editor& editor, std::u16string_view what, std::u16string_view with, int options) {
  CHARRANGE range{};
  get_selection(editor, range);
  int count = 0;
  // The selection is the match when it is one, the character before it counting for a
  // whole word.
  const auto from = static_cast<std::size_t>(std::max(range.cpMin, 1L) - 1);
  if (range.cpMax - range.cpMin == static_cast<long>(what.size()) &&
      find_text(editor_range(editor, from, static_cast<std::size_t>(range.cpMax)), what,
                static_cast<std::size_t>(range.cpMin) - from,
                options & ~kFindUp) == static_cast<std::size_t>(range.cpMin) - from) {
    replace_selection(editor, with, true);
    count = 1;
  }
  find_next(editor, what, options, false);
  return count;
}

int replace_all(Editor& editor, std::u16string_view what, std::u16string_view with, int options) {
  std::u16string text(editor_text(editor));
  const int count = replace_all_text(text, what, with, options);
  if (count == 0) {
    status(editor, "Not found: " + encode_text(what, TextEncoding::Utf8));
    return 0;
  }
  // One change for undo: the whole text replaced as a selection.
  select_range(editor, 0, -1);
  replace_selection(editor, text, true);
  select_range(editor, 0, 0);
  status(editor, std::to_string(count) + " replaced");
  return count;
}

void show_find_dialog(Editor& editor, bool replace) {
  if (editor.find_dialog != nullptr && IsWindow(editor.find_dialog)) DestroyWindow(editor.find_dialog);
  // The word at a selection is the first guess.
  CHARRANGE range{};
  get_selection(editor, range);
  if (range.cpMax > range.cpMin && range.cpMax - range.cpMin < 255) {
    const std::u16string picked =
        editor_range(editor, static_cast<std::size_t>(range.cpMin), static_cast<std::size_t>(range.cpMax));
    if (picked.find(u'\r') == std::u16string::npos) {
      std::memcpy(editor.find_what, picked.c_str(), (picked.size() + 1) * sizeof(char16_t));
    }
  }
  FINDREPLACEW& f = editor.find;
  f = FINDREPLACEW{};
  f.lStructSize = sizeof(f);
  f.hwndOwner = editor.container;
  f.Flags = FR_DOWN;
  f.lpstrFindWhat = editor.find_what;
  f.wFindWhatLen = static_cast<WORD>(std::size(editor.find_what));
  f.lpstrReplaceWith = editor.replace_with;
  f.wReplaceWithLen = static_cast<WORD>(std::size(editor.replace_with));
  editor.find_dialog = replace ? ReplaceTextW(&f) : FindTextW(&f);
}

void find_dialog_message(Editor& editor, FINDREPLACEW& find) {
  if ((find.Flags & FR_DIALOGTERM) != 0) {
    editor.find_dialog = nullptr;
    SetFocus(editor.text);
    return;
  }
  int options = 0;
  if ((find.Flags & FR_MATCHCASE) != 0) options |= kFindMatchCase;
  if ((find.Flags & FR_WHOLEWORD) != 0) options |= kFindWholeWord;
  if ((find.Flags & FR_DOWN) == 0) options |= kFindUp;
  const std::u16string what(reinterpret_cast<const char16_t*>(find.lpstrFindWhat));
  const std::u16string with(
      reinterpret_cast<const char16_t*>(find.lpstrReplaceWith != nullptr ? find.lpstrReplaceWith : L""));
  if ((find.Flags & FR_FINDNEXT) != 0) {
    find_next(editor, what, options, true);
  } else if ((find.Flags & FR_REPLACE) != 0) {
    replace_one(editor, what, with, options);
  } else if ((find.Flags & FR_REPLACEALL) != 0) {
    replace_all(editor, what, with, options);
  }
}

void bookmark_command(Editor& editor, int command, int line) {
  const int here = caret_line(editor);
  std::optional<int> target;
  switch (command) {
    case kCmdBookmarkToggle: {
      const int at = line > 0 ? line - 1 : here;
      status(editor, (editor.bookmarks.toggle(at) ? "Bookmark set on line " : "Bookmark cleared on line ") +
                         std::to_string(at + 1));
      return;
    }
    case kCmdBookmarkClear:
      editor.bookmarks.clear();
      status(editor, "Bookmarks cleared");
      return;
    case kCmdBookmarkNext: target = editor.bookmarks.next(here); break;
    case kCmdBookmarkPrevious: target = editor.bookmarks.previous(here); break;
    default: return;
  }
  if (!target) {
    status(editor, "No bookmarks");
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  go_to_line(editor, *target + 1);
}

bool run_command(Editor& editor, int command) {
  const bool read_only = editor.mode == ViewerPlain || editor.mode == ViewerRich;
  switch (command) {
    case kCmdNew:
      if (read_only) return true;
      put_editor_text(editor, u"");
      editor.file.clear();
      after_new_text(editor);
      return true;
    case kCmdOpen: {
      const std::string path = ask_file(editor, false);
      if (!path.empty()) report_file(editor, load_file(editor, path), path);
      return true;
    }
    case kCmdSave:
    case kCmdSaveAs: {
      std::string path = command == kCmdSave ? editor.file : std::string();
      if (path.empty()) path = ask_file(editor, true);
      if (!path.empty()) report_file(editor, save_file(editor, path), path);
      return true;
    }
    case kCmdPrint: print_editor(editor, 10, {}, {}, 15); return true;
    case kCmdClose:
      PostMessageA(windows().windows[static_cast<std::size_t>(editor.window)].frame, WM_CLOSE, 0, 0);
      return true;
    case kCmdUndo: SendMessageW(editor.text, EM_UNDO, 0, 0); return true;
    case kCmdRedo: SendMessageW(editor.text, EM_REDO, 0, 0); return true;
    case kCmdCut: SendMessageW(editor.text, WM_CUT, 0, 0); return true;
    case kCmdCopy: SendMessageW(editor.text, WM_COPY, 0, 0); return true;
    case kCmdPaste: SendMessageW(editor.text, WM_PASTE, 0, 0); return true;
    case kCmdSelectAll: select_range(editor, 0, -1); return true;
    case kCmdFind: show_find_dialog(editor, false); return true;
    case kCmdReplace:
      if (!read_only) show_find_dialog(editor, true);
      return true;
    case kCmdFindNext: {
      if (editor.find_what[0] == 0) {
        show_find_dialog(editor, false);
        return true;
      }
      int options = 0;
      if ((editor.find.Flags & FR_MATCHCASE) != 0) options |= kFindMatchCase;
      if ((editor.find.Flags & FR_WHOLEWORD) != 0) options |= kFindWholeWord;
      find_next(editor, reinterpret_cast<const char16_t*>(editor.find_what), options, true);
      return true;
    }
    case kCmdGoToLine: {
      const int line = ask_line(windows().windows[static_cast<std::size_t>(editor.window)].frame);
      if (line > 0) go_to_line(editor, line);
      SetFocus(editor.text);
      return true;
    }
    case kCmdBookmarkToggle:
    case kCmdBookmarkNext:
    case kCmdBookmarkPrevious:
    case kCmdBookmarkClear: bookmark_command(editor, command, 0); return true;
    default: return false;
  }
}

void tooltip_text(NMTTDISPINFOA& info) {
  static const std::pair<int, const char*> tips[] = {
      {kCmdNew, "New"},   {kCmdOpen, "Open"},   {kCmdSave, "Save"}, {kCmdPrint, "Print"}, {kCmdCut, "Cut"},
      {kCmdCopy, "Copy"}, {kCmdPaste, "Paste"}, {kCmdUndo, "Undo"}, {kCmdFind, "Find"}};
  for (const auto& [id, text] : tips) {
    if (static_cast<UINT_PTR>(id) == info.hdr.idFrom) info.lpszText = const_cast<char*>(text);
  }
}

}  // namespace quill

namespace quill {

bool ask_to_save(Editor& editor) {
  if (SendMessageW(editor.text, EM_GETMODIFY, 0, 0) == 0) return true;
  HWND frame = windows().windows[static_cast<std::size_t>(editor.window)].frame;
  const std::string question =
      "Save the changes" + (editor.file.empty() ? std::string() : " to " + editor.file) + "?";
  const int answer = MessageBoxA(frame, question.c_str(), "Editor", MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return false;
  if (answer == IDYES) run_command(editor, kCmdSave);
  return answer == IDNO || SendMessageW(editor.text, EM_GETMODIFY, 0, 0) == 0;
}

}  // namespace quill
