// The plain-text view's window: painting, scrolling, caret, keys, mouse and clipboard.
// The editing itself is TextDocument's; this file turns messages into its calls.
#include "editor/text_view_win32.hpp"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace quill {
namespace {

constexpr wchar_t kViewClass[] = L"QUILTEXTVIEW";
constexpr int kMargin = 2;  // pixels left of the first column

struct View {
  TextDocument doc;
  bool read_only = false;
  HFONT font = nullptr;
  bool own_font = false;
  int cell = 8;  // width of one column
  int line_height = 16;
  std::size_t top = 0;   // first line shown
  std::size_t left = 0;  // first column shown
  bool selecting = false;
  // What the scroll bars were last given (range, page, position of each).
  int bars[2][3] = {{-1, -1, -1}, {-1, -1, -1}};
  // Scratch for painting one row, kept to spare allocations.
  std::vector<wchar_t> cells;
  std::vector<unsigned char> marked;
  std::vector<INT> advances;
};

View* view_of(HWND hwnd) { return reinterpret_cast<View*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

std::size_t rows(HWND hwnd, const View& v) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return static_cast<std::size_t>(std::max(1L, r.bottom / v.line_height));
}

std::size_t columns(HWND hwnd, const View& v) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return static_cast<std::size_t>(std::max(1L, (r.right - kMargin) / v.cell));
}

void set_font(HWND hwnd, View& v, HFONT font) {
  if (v.own_font && v.font != nullptr && v.font != font) DeleteObject(v.font);
  v.own_font = font == nullptr;
  if (font == nullptr) {
    HDC screen = GetDC(hwnd);
    const int height = -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(hwnd, screen);
    font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
  }
  v.font = font;
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, v.font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  v.cell = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
  v.line_height = std::max(1, static_cast<int>(metrics.tmHeight));
  v.advances.clear();  // they hold the old cell width
}

constexpr UINT_PTR kScrollBarTimer = 1;

// Drawing a scroll bar costs Wine more than a screen of text, so the bars take changed
// values at once but are drawn a moment later, after the keys that came meanwhile.
void update_scroll_bars(HWND hwnd, View& v) {
  const TextStore& store = v.doc.store();
  v.top = std::min(v.top, store.line_count() - 1);
  const int wanted[2][3] = {
      {static_cast<int>(std::min<std::size_t>(store.line_count() - 1, 0x7FFFFFFF)),
       static_cast<int>(rows(hwnd, v)), static_cast<int>(v.top)},
      {static_cast<int>(std::min<std::size_t>(std::max(store.widest_line(), v.left) + 1, 0x7FFFFFFF)),
       static_cast<int>(columns(hwnd, v)), static_cast<int>(v.left)}};
  bool changed = false;
  for (int bar = 0; bar < 2; ++bar) {
    if (std::equal(wanted[bar], wanted[bar] + 3, v.bars[bar])) continue;
    std::copy(wanted[bar], wanted[bar] + 3, v.bars[bar]);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = wanted[bar][0];
    info.nPage = static_cast<UINT>(wanted[bar][1]);
    info.nPos = wanted[bar][2];
    SetScrollInfo(hwnd, bar == 0 ? SB_VERT : SB_HORZ, &info, FALSE);
    changed = true;
  }
  if (changed) SetTimer(hwnd, kScrollBarTimer, 40, nullptr);
}

// Repaints the strips right of and below the client area, where the scroll bars are.
void draw_scroll_bars(HWND hwnd) {
  KillTimer(hwnd, kScrollBarTimer);
  RECT c{};
  GetClientRect(hwnd, &c);
  const int across = GetSystemMetrics(SM_CXVSCROLL), down = GetSystemMetrics(SM_CYHSCROLL);
  HRGN bars = CreateRectRgn(c.right, 0, c.right + across, c.bottom + down);
  HRGN bottom = CreateRectRgn(0, c.bottom, c.right, c.bottom + down);
  CombineRgn(bars, bars, bottom, RGN_OR);
  RedrawWindow(hwnd, nullptr, bars, RDW_FRAME | RDW_INVALIDATE);
  DeleteObject(bottom);
  DeleteObject(bars);
}

void place_caret(HWND hwnd, const View& v) {
  if (GetFocus() != hwnd) return;
  const std::size_t caret = v.doc.caret();
  const std::size_t line = v.doc.store().line_of(caret);
  const std::size_t column = v.doc.column_of(caret);
  const bool shown = line >= v.top && line < v.top + rows(hwnd, v) + 1 && column >= v.left;
  const int x = shown ? kMargin + static_cast<int>(column - v.left) * v.cell : -100;
  const int y = shown ? static_cast<int>(line - v.top) * v.line_height : -100;
  SetCaretPos(x, y);
}

// Scrolls so that the caret is in sight.
void reveal_caret(HWND hwnd, View& v) {
  const std::size_t line = v.doc.store().line_of(v.doc.caret());
  const std::size_t shown = rows(hwnd, v);
  if (line < v.top)
    v.top = line;
  else if (line >= v.top + shown)
    v.top = line - shown + 1;
  const std::size_t column = v.doc.column_of(v.doc.caret()), width = columns(hwnd, v);
  if (column < v.left)
    v.left = column > width / 4 ? column - width / 4 : 0;
  else if (column >= v.left + width)
    v.left = column - width * 3 / 4;
  update_scroll_bars(hwnd, v);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void notify_selection(HWND hwnd, const View& v) {
  SELCHANGE change{};
  change.nmhdr.hwndFrom = hwnd;
  change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
  change.nmhdr.code = EN_SELCHANGE;
  change.chrg.cpMin = static_cast<LONG>(v.doc.selection_begin());
  change.chrg.cpMax = static_cast<LONG>(v.doc.selection_end());
  change.seltyp = static_cast<WORD>(change.chrg.cpMin == change.chrg.cpMax ? SEL_EMPTY : SEL_TEXT);
  SendMessageW(GetParent(hwnd), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

// After the selection moved: redraw, and keep the caret in sight when asked.
void selection_moved(HWND hwnd, View& v, bool reveal) {
  if (reveal) reveal_caret(hwnd, v);
  InvalidateRect(hwnd, nullptr, FALSE);
  place_caret(hwnd, v);
  notify_selection(hwnd, v);
}

void text_changed(HWND hwnd, View& v) {
  update_scroll_bars(hwnd, v);
  SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_CHANGE),
               reinterpret_cast<LPARAM>(hwnd));
  selection_moved(hwnd, v, true);
}

// One row of the text: the cells from the first column shown to the window's edge, a tab
// as blanks, the line end as one blank cell that shows when it is selected.
void paint_row(HDC dc, View& v, std::size_t line, int y, int width) {
  const TextStore& store = v.doc.store();
  const std::size_t sel_from = v.doc.selection_begin(), sel_to = v.doc.selection_end();
  const std::size_t first = v.left, last = v.left + static_cast<std::size_t>(width / v.cell) + 2;
  v.cells.clear();
  v.marked.clear();
  std::size_t column = 0;
  const std::size_t end = store.line_end(line);
  for (std::size_t at = store.line_start(line); at < end && column < last; ++at) {
    const char16_t c = store.at(at);
    const std::size_t next =
        c == u'\t' ? (column / TextDocument::kTabWidth + 1) * TextDocument::kTabWidth : column + 1;
    for (; column < next; ++column) {
      if (column < first) continue;
      v.cells.push_back(c == u'\t' ? L' ' : static_cast<wchar_t>(c));
      v.marked.push_back(at >= sel_from && at < sel_to);
    }
  }
  if (column >= first && column < last && end < store.size() && end >= sel_from && end < sel_to) {
    v.cells.push_back(L' ');
    v.marked.push_back(1);
  }
  if (v.advances.size() < v.cells.size()) v.advances.assign(v.cells.size(), v.cell);
  int x = kMargin;
  RECT cell_rect{0, y, kMargin, y + v.line_height};
  ExtTextOutW(dc, 0, y, ETO_OPAQUE, &cell_rect, L"", 0, nullptr);
  for (std::size_t i = 0; i < v.cells.size();) {
    std::size_t j = i;
    while (j < v.cells.size() && v.marked[j] == v.marked[i]) ++j;
    SetTextColor(dc, GetSysColor(v.marked[i] ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(v.marked[i] ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    cell_rect = RECT{x, y, x + static_cast<int>(j - i) * v.cell, y + v.line_height};
    ExtTextOutW(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &cell_rect, v.cells.data() + i, static_cast<UINT>(j - i),
                v.advances.data());
    x = cell_rect.right;
    i = j;
  }
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  cell_rect = RECT{x, y, std::max(x, width), y + v.line_height};
  ExtTextOutW(dc, x, y, ETO_OPAQUE, &cell_rect, L"", 0, nullptr);
}

void paint(HWND hwnd, View& v) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  HGDIOBJ old = SelectObject(dc, v.font);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  const std::size_t lines = v.doc.store().line_count();
  const int from_row = std::max(0L, ps.rcPaint.top / v.line_height);
  for (int row = from_row; row * v.line_height < ps.rcPaint.bottom; ++row) {
    const std::size_t line = v.top + static_cast<std::size_t>(row);
    const int y = row * v.line_height;
    if (line < lines) {
      paint_row(dc, v, line, y, client.right);
    } else {
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      RECT blank{0, y, client.right, ps.rcPaint.bottom};
      ExtTextOutW(dc, 0, y, ETO_OPAQUE, &blank, L"", 0, nullptr);
      break;
    }
  }
  SelectObject(dc, old);
  EndPaint(hwnd, &ps);
}

void scroll(HWND hwnd, View& v, int bar, WPARAM request) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(hwnd, bar, &info);
  long long at = bar == SB_VERT ? static_cast<long long>(v.top) : static_cast<long long>(v.left);
  const long long page = std::max<long long>(1, static_cast<long long>(info.nPage));
  switch (LOWORD(request)) {
    case SB_LINEUP: at -= 1; break;
    case SB_LINEDOWN: at += 1; break;
    case SB_PAGEUP: at -= page; break;
    case SB_PAGEDOWN: at += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: at = info.nTrackPos; break;  // 32 bits, unlike the message's
    case SB_TOP: at = 0; break;
    case SB_BOTTOM: at = info.nMax; break;
    default: return;
  }
  at = std::clamp<long long>(at, 0, std::max<long long>(0, info.nMax - page + 1));
  (bar == SB_VERT ? v.top : v.left) = static_cast<std::size_t>(at);
  update_scroll_bars(hwnd, v);
  InvalidateRect(hwnd, nullptr, FALSE);
  place_caret(hwnd, v);
}

// The caret position nearest a point, or (on_edge false) that of the character under it.
std::size_t position_at_point(const View& v, LPARAM point, bool on_edge = true) {
  const int x = static_cast<short>(LOWORD(point)), y = static_cast<short>(HIWORD(point));
  const long long row = y < 0 ? -1 : y / v.line_height;
  const long long line = std::max<long long>(0, static_cast<long long>(v.top) + row);
  const long long column =
      static_cast<long long>(v.left) + std::max(0, x - kMargin + (on_edge ? v.cell / 2 : 0)) / v.cell;
  return v.doc.position_at(static_cast<std::size_t>(line), static_cast<std::size_t>(column));
}

void copy_selection(HWND hwnd, const View& v) {
  const std::size_t from = v.doc.selection_begin(), to = v.doc.selection_end();
  if (from == to || !OpenClipboard(hwnd)) return;
  EmptyClipboard();
  const std::u16string text = v.doc.store().text(from, to);
  const std::size_t breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\r'));
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + breaks + 1) * sizeof(wchar_t));
  if (memory != nullptr) {
    auto* out = static_cast<wchar_t*>(GlobalLock(memory));
    for (char16_t c : text) {
      *out++ = static_cast<wchar_t>(c);
      if (c == u'\r') *out++ = L'\n';
    }
    *out = 0;
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

void paste(HWND hwnd, View& v) {
  if (!OpenClipboard(hwnd)) return;
  std::u16string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
      text = with_return_line_ends(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (text.empty()) return;
  v.doc.replace_selection(text);
  text_changed(hwnd, v);
}

void edit(HWND hwnd, View& v, void (TextDocument::*erase)()) {
  const std::size_t size = v.doc.store().size(), caret = v.doc.caret();
  (v.doc.*erase)();
  if (v.doc.store().size() != size || v.doc.caret() != caret) text_changed(hwnd, v);
}

bool key_down(HWND hwnd, View& v, WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  Motion motion{};
  switch (key) {
    case VK_LEFT: motion = ctrl ? Motion::WordLeft : Motion::Left; break;
    case VK_RIGHT: motion = ctrl ? Motion::WordRight : Motion::Right; break;
    case VK_UP: motion = Motion::Up; break;
    case VK_DOWN: motion = Motion::Down; break;
    case VK_HOME: motion = ctrl ? Motion::TextStart : Motion::LineStart; break;
    case VK_END: motion = ctrl ? Motion::TextEnd : Motion::LineEnd; break;
    case VK_PRIOR: motion = Motion::PageUp; break;
    case VK_NEXT: motion = Motion::PageDown; break;
    case VK_DELETE:
      if (v.read_only) return true;
      if (shift)
        SendMessageW(hwnd, WM_CUT, 0, 0);
      else
        edit(hwnd, v, &TextDocument::erase_forward);
      return true;
    case VK_INSERT:
      if (ctrl)
        SendMessageW(hwnd, WM_COPY, 0, 0);
      else if (shift)
        SendMessageW(hwnd, WM_PASTE, 0, 0);
      return true;
    default:
      if (!ctrl) return false;
      switch (key) {
        case 'A':
          v.doc.select(0, v.doc.store().size());
          selection_moved(hwnd, v, false);
          return true;
        case 'C': SendMessageW(hwnd, WM_COPY, 0, 0); return true;
        case 'X': SendMessageW(hwnd, WM_CUT, 0, 0); return true;
        case 'V': SendMessageW(hwnd, WM_PASTE, 0, 0); return true;
        case 'Z': SendMessageW(hwnd, EM_UNDO, 0, 0); return true;
        case 'Y': SendMessageW(hwnd, EM_REDO, 0, 0); return true;
        default: return false;
      }
  }
  if (motion == Motion::PageUp || motion == Motion::PageDown) {
    // The page moves with the caret.
    const std::size_t page = std::max<std::size_t>(rows(hwnd, v) - 1, 1);
    v.top = motion == Motion::PageUp ? (v.top > page ? v.top - page : 0) : v.top + page;
    v.doc.move(motion, shift, page);
  } else {
    v.doc.move(motion, shift, 1);
  }
  selection_moved(hwnd, v, true);
  return true;
}

void typed(HWND hwnd, View& v, wchar_t c) {
  if (v.read_only) return;
  if (c == L'\b') {
    edit(hwnd, v, &TextDocument::erase_backward);
  } else if (c == L'\r' || c == L'\t' || c >= 0x20) {
    if (c == 0x7F) return;  // Ctrl+Backspace
    const char16_t unit = static_cast<char16_t>(c);
    v.doc.replace_selection(std::u16string_view(&unit, 1), true, true);
    text_changed(hwnd, v);
  }
}

// Answers for the edit-control messages; handled tells whether the message was one.
LRESULT edit_message(HWND hwnd, View& v, UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  handled = true;
  TextStore& store = v.doc.store();
  switch (message) {
    case EM_EXGETSEL: {
      auto* range = reinterpret_cast<CHARRANGE*>(lparam);
      range->cpMin = static_cast<LONG>(v.doc.selection_begin());
      range->cpMax = static_cast<LONG>(v.doc.selection_end());
      return 0;
    }
    case EM_GETSEL:
      if (wparam != 0) *reinterpret_cast<DWORD*>(wparam) = static_cast<DWORD>(v.doc.selection_begin());
      if (lparam != 0) *reinterpret_cast<DWORD*>(lparam) = static_cast<DWORD>(v.doc.selection_end());
      return 0;
    case EM_EXSETSEL:
    case EM_SETSEL: {
      LONG from = static_cast<LONG>(wparam), to = static_cast<LONG>(lparam);
      if (message == EM_EXSETSEL) {
        const auto* range = reinterpret_cast<const CHARRANGE*>(lparam);
        from = range->cpMin;
        to = range->cpMax;
      }
      const std::size_t size = store.size();
      // -1 as the end means the end of the text; -1 as the start keeps no selection.
      const std::size_t end = to < 0 ? size : static_cast<std::size_t>(to);
      const std::size_t start = from < 0 ? end : static_cast<std::size_t>(from);
      v.doc.select(start, end);
      selection_moved(hwnd, v, false);
      return static_cast<LRESULT>(v.doc.selection_end());
    }
    case EM_EXLINEFROMCHAR:
    case EM_LINEFROMCHAR: {
      const auto at = static_cast<long long>(lparam);
      const std::size_t position =
          at < 0 ? v.doc.caret() : std::min(static_cast<std::size_t>(at), store.size());
      return static_cast<LRESULT>(
          store.line_of(message == EM_LINEFROMCHAR ? std::min(position, store.size()) : position));
    }
    case EM_LINEINDEX: {
      const auto line = static_cast<long long>(static_cast<int>(wparam));
      if (line < 0) return static_cast<LRESULT>(store.line_start(store.line_of(v.doc.caret())));
      if (static_cast<std::size_t>(line) >= store.line_count()) return -1;
      return static_cast<LRESULT>(store.line_start(static_cast<std::size_t>(line)));
    }
    case EM_GETLINECOUNT: return static_cast<LRESULT>(store.line_count());
    case EM_SCROLLCARET:
      reveal_caret(hwnd, v);
      place_caret(hwnd, v);
      return 0;
    case EM_GETMODIFY: return v.doc.modified ? 1 : 0;
    case EM_SETMODIFY: v.doc.modified = wparam != 0; return 0;
    case EM_CANUNDO: return v.doc.can_undo() ? 1 : 0;
    case EM_EMPTYUNDOBUFFER: v.doc.forget_undo(); return 0;
    case EM_CANREDO: return v.doc.can_redo() ? 1 : 0;
    case EM_UNDO:
    case WM_UNDO:
    case EM_REDO: {
      if (v.read_only) return 0;
      const bool done = message == EM_REDO ? v.doc.redo() : v.doc.undo();
      if (done) text_changed(hwnd, v);
      return done ? 1 : 0;
    }
    case EM_REPLACESEL:
      v.doc.replace_selection(with_return_line_ends(reinterpret_cast<const char16_t*>(lparam)), wparam != 0);
      text_changed(hwnd, v);
      return 0;
    case EM_SETREADONLY: v.read_only = wparam != 0; return 1;
    case WM_SETTEXT:
      text_view_set_text(
          hwnd, with_return_line_ends(lparam != 0 ? reinterpret_cast<const char16_t*>(lparam) : u""));
      return TRUE;
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(store.size());
    case WM_COPY: copy_selection(hwnd, v); return 0;
    case WM_CUT:
    case WM_CLEAR:
      if (v.read_only) return 0;
      if (message == WM_CUT) copy_selection(hwnd, v);
      if (v.doc.selection_begin() != v.doc.selection_end()) edit(hwnd, v, &TextDocument::erase_forward);
      return 0;
    case WM_PASTE:
      if (!v.read_only) paste(hwnd, v);
      return 0;
    default: handled = false; return 0;
  }
}

LRESULT CALLBACK view_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* made = new View;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    made->read_only = (create->style & ES_READONLY) != 0;
    set_font(hwnd, *made, nullptr);
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  View* v = view_of(hwnd);
  if (v == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  bool handled = false;
  const LRESULT answer = edit_message(hwnd, *v, message, wparam, lparam, handled);
  if (handled) return answer;
  switch (message) {
    case WM_NCDESTROY:
      if (v->own_font) DeleteObject(v->font);
      delete v;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return 0;
    case WM_SETFONT:
      set_font(hwnd, *v, reinterpret_cast<HFONT>(wparam));
      update_scroll_bars(hwnd, *v);
      if (LOWORD(lparam) != 0) InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(v->font);
    case WM_SIZE:
      update_scroll_bars(hwnd, *v);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_TIMER:
      if (wparam == kScrollBarTimer) draw_scroll_bars(hwnd);
      return 0;
    case WM_PAINT: paint(hwnd, *v); return 0;
    case WM_SETFOCUS:
      CreateCaret(hwnd, nullptr, 2, v->line_height);
      place_caret(hwnd, *v);
      ShowCaret(hwnd);
      return 0;
    case WM_KILLFOCUS: DestroyCaret(); return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case WM_VSCROLL: scroll(hwnd, *v, SB_VERT, wparam); return 0;
    case WM_HSCROLL: scroll(hwnd, *v, SB_HORZ, wparam); return 0;
    case WM_MOUSEWHEEL: {
      const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
      for (int i = 0; i < std::abs(notches) * 3; ++i)
        scroll(hwnd, *v, SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
      return 0;
    }
    case WM_KEYDOWN:
      if (key_down(hwnd, *v, wparam)) return 0;
      break;
    case WM_CHAR: typed(hwnd, *v, static_cast<wchar_t>(wparam)); return 0;
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd);
      SetCapture(hwnd);
      v->selecting = true;
      const std::size_t at = position_at_point(*v, lparam);
      v->doc.select((wparam & MK_SHIFT) != 0 ? v->doc.anchor() : at, at);
      selection_moved(hwnd, *v, false);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      // The word under the pointer (the character the click is on, not the nearer edge).
      v->doc.select_word(position_at_point(*v, lparam, false));
      selection_moved(hwnd, *v, false);
      return 0;
    case WM_MOUSEMOVE:
      if (v->selecting) {
        // Above or below the window the text scrolls a line at a time.
        RECT r{};
        GetClientRect(hwnd, &r);
        const int y = static_cast<short>(HIWORD(lparam));
        if (y < 0) scroll(hwnd, *v, SB_VERT, SB_LINEUP);
        if (y >= r.bottom) scroll(hwnd, *v, SB_VERT, SB_LINEDOWN);
        v->doc.select(v->doc.anchor(), position_at_point(*v, lparam));
        selection_moved(hwnd, *v, false);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (v->selecting) {
        v->selecting = false;
        if (message == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    default: break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool register_view_class() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = view_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
  wc.lpszClassName = kViewClass;
  registered = RegisterClassW(&wc) != 0;
  return registered;
}

}  // namespace

HWND create_text_view(HWND parent, bool read_only) {
  if (!register_view_class()) return nullptr;
  return CreateWindowExW(
      WS_EX_CLIENTEDGE, kViewClass, L"",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | (read_only ? ES_READONLY : 0), 0, 0, 0,
      0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TextDocument* text_view_document(HWND view) {
  wchar_t name[32] = {};
  if (GetClassNameW(view, name, 32) == 0 || std::wcscmp(name, kViewClass) != 0) return nullptr;
  View* v = view_of(view);
  return v == nullptr ? nullptr : &v->doc;
}

namespace {

template <typename Fill>
void refill(HWND view, Fill&& fill) {
  View* v = view_of(view);
  if (v == nullptr || text_view_document(view) == nullptr) return;
  fill(v->doc);
  v->top = v->left = 0;
  text_changed(view, *v);
}

}  // namespace

void text_view_set_text(HWND view, std::u16string text) {
  refill(view, [&](TextDocument& doc) { doc.set_text(std::move(text)); });
}

void text_view_set_bytes(HWND view, std::shared_ptr<const void> owner, std::string_view bytes,
                         TextEncoding& encoding) {
  refill(view, [&](TextDocument& doc) { doc.set_bytes(std::move(owner), bytes, encoding); });
}

}  // namespace quill
