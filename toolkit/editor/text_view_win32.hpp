// The toolkit's plain-text view: a window that shows a TextDocument in a fixed-pitch
// font, painting only the lines in sight, so that huge texts open and scroll at once.
// It answers the edit-control messages the editor sends (EM_EXGETSEL, EM_EXSETSEL,
// EM_EXLINEFROMCHAR, EM_LINEINDEX, EM_GETLINECOUNT, EM_SCROLLCARET, EM_REPLACESEL,
// EM_GETMODIFY, EM_SETMODIFY, EM_UNDO, EM_EMPTYUNDOBUFFER, EM_SETREADONLY, WM_CUT, WM_COPY,
// WM_PASTE, WM_SETTEXT) and tells its parent of changes with EN_CHANGE and EN_SELCHANGE
// as a rich-edit control does. Windows only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "editor/text_document.hpp"

namespace quill {

// A view as a child of parent; null when the window cannot be made.
HWND create_text_view(HWND parent, bool read_only);
// The document of a view (null for any other window).
TextDocument* text_view_document(HWND view);
// Gives the view a new text (line ends already single '\r's): caret at the start, no undo,
// not modified, shown from the first line.
void text_view_set_text(HWND view, std::u16string text);
// The same with a file's bytes, kept as read where they can be (TextStore::assign_bytes).
void text_view_set_bytes(HWND view, std::shared_ptr<const void> owner, std::string_view bytes,
                         TextEncoding& encoding);

}  // namespace quill
