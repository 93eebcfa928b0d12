// The grid's small modal prompts (find, go to cell): a dialog template built in memory
// with a label, one edit line and OK and Cancel buttons.
#include <windows.h>

#include <string>
#include <vector>

#include "grid/grid_field_win32.hpp"

namespace quill {
namespace {

constexpr WORD kEditId = 100;
constexpr WORD kLabelId = 101;

// Writes a DLGTEMPLATE and its items word by word, keeping the alignment each part needs.
class TemplateWriter {
 public:
  void dialog(DWORD style, WORD items, short width, short height, const wchar_t* title) {
    align(2);
    put(DLGTEMPLATE{style, 0, items, 0, 0, width, height});
    put_word(0);  // no menu
    put_word(0);  // the standard dialog class
    put_text(title);
    put_word(8);  // DS_SETFONT: point size and face
    put_text(L"MS Shell Dlg");
  }
  void item(DWORD style, short x, short y, short width, short height, WORD id, WORD class_atom,
            const wchar_t* text) {
    align(4);
    put(DLGITEMTEMPLATE{style | WS_CHILD | WS_VISIBLE, 0, x, y, width, height, id});
    put_word(0xFFFF);
    put_word(class_atom);
    put_text(text);
    put_word(0);  // no creation data
  }
  const DLGTEMPLATE* get() {
    align(4);
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
  }

 private:
  template <typename T>
  void put(const T& value) {
    static_assert(sizeof(T) % 2 == 0);
    const auto* first = reinterpret_cast<const WORD*>(&value);
    words_.insert(words_.end(), first, first + sizeof(T) / 2);
  }
  void put_word(WORD word) { words_.push_back(word); }
  void put_text(const wchar_t* text) {
    for (; *text != L'\0'; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }
  void align(std::size_t bytes) {
    while ((words_.size() * 2) % bytes != 0) words_.push_back(0);
  }
  std::vector<WORD> words_;
};

struct PromptState {
  std::string text;
  bool accepted = false;
};

INT_PTR CALLBACK prompt_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    state = reinterpret_cast<PromptState*>(lparam);
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    HWND edit = GetDlgItem(dialog, kEditId);
    SetWindowTextA(edit, state->text.c_str());
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    return FALSE;  // the focus is set
  }
  if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
    if (LOWORD(wparam) == IDOK) {
      HWND edit = GetDlgItem(dialog, kEditId);
      const int length = GetWindowTextLengthA(edit);
      std::string text(static_cast<std::size_t>(length) + 1, '\0');
      GetWindowTextA(edit, text.data(), length + 1);
      text.resize(static_cast<std::size_t>(length));
      state->text = std::move(text);
      state->accepted = true;
    }
    EndDialog(dialog, LOWORD(wparam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

std::optional<std::string> grid_prompt(HWND owner, GridPrompt kind, const std::string& initial) {
  const bool find = kind == GridPrompt::Find;
  constexpr WORD kButton = 0x0080;
  constexpr WORD kEdit = 0x0081;
  constexpr WORD kStatic = 0x0082;
  TemplateWriter writer;
  writer.dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER, 4, 200, 62,
                find ? L"Find" : L"Go to cell");
  writer.item(SS_LEFT, 7, 9, 60, 10, kLabelId, kStatic, find ? L"Find what:" : L"Column, row:");
  writer.item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 70, 7, 123, 14, kEditId, kEdit, L"");
  writer.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 86, 41, 50, 14, IDOK, kButton, find ? L"Find next" : L"OK");
  writer.item(BS_PUSHBUTTON | WS_TABSTOP, 143, 41, 50, 14, IDCANCEL, kButton, L"Cancel");
  PromptState state;
  state.text = initial;
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.get(), owner, &prompt_procedure,
                          reinterpret_cast<LPARAM>(&state));
  if (!state.accepted) return std::nullopt;
  return state.text;
}

}  // namespace quill
