// The grid field class "KVSGRID" of dialog templates: shows a grid of the registry
// (titles, cells with their justification and colours, check boxes, option menus) and
// lets a person move with the arrow keys and Tab, toggle check boxes with the space bar
// or a click, type into text and numeric cells and pick options from a drop-down list.
// Each change reaches the application as a field-edited event of the dialog. The same
// control, made by WGridWindow, covers a toolkit window's client area as a grid window.
#include <windows.h>

#include <algorithm>
#include <utility>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/error_codes.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "core/window_layers.hpp"
#include "grid/grid_field_win32.hpp"
#include "grid/grid_registry.hpp"
#include "grid/grid_setup.hpp"
#include "quill/errors.hpp"
#include "quill/events.hpp"
#include "quill/text.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

constexpr wchar_t kClassName[] = L"KVSGRID";
// Grid windows: the same control, made with its toolkit window number as creation data.
constexpr wchar_t kWindowClassName[] = L"QUILGRIDWINDOW";
constexpr int kEditorId = 1;
constexpr int kChooserId = 2;
constexpr int kPadding = 4;
// Posted to the grid control to close its option list outside the list's own messages.
constexpr UINT kCloseChooser = WM_APP + 1;

// What a grid control keeps: the first row and column shown, the font its dialog gave
// it, the in-place editor or option list while one is open, and the last sort. The
// current cell belongs to the grid.
struct GridView {
  int top = 1;
  int left = 1;
  HFONT font = nullptr;
  HWND editor = nullptr;
  HWND chooser = nullptr;
  WNDPROC editor_procedure = nullptr;
  int sorted_column = 0;
  int sort_order = 0;
  int window = -1;        // the toolkit window a grid window covers; -1 for a dialog field
  std::string last_find;  // the text of the last find, for finding the next match
  // The whole control waits for its next paint: a burst of grid routines asks the
  // window system to repaint it once.
  bool invalid = false;
  // The font's character size, measured once per font (each measure is a device context
  // from the window system).
  HFONT measured_font = nullptr;
  int char_width = 0;
  int char_height = 0;
  // Paints go to this bitmap first and reach the screen in one copy; it follows the
  // control's size.
  HBITMAP buffer = nullptr;
  SIZE buffer_size{};
};

std::vector<HWND>& live_controls() {
  static std::vector<HWND> controls;
  return controls;
}

GridView* view_of(HWND control) {
  return reinterpret_cast<GridView*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

// The registry key of a control: its dialog's handle identifier (0 outside a toolkit
// dialog) and its control identifier.
GridKey key_of(HWND control) {
  if (const GridView* view = view_of(control); view != nullptr && view->window >= 0) {
    return GridKey{0, view->window, 0};
  }
  const DialogRecord* record = dialog_record(GetParent(control));
  return GridKey{record != nullptr ? record->handle : 0, -1, GetDlgCtrlID(control)};
}

Grid* grid_of(HWND control) {
  auto& grids = grid_registry().grids;
  return &grids.try_emplace(key_of(control)).first->second;
}

// The control's grid when the registry has it. The dialog manager asks a control for its
// dialog code while creating the dialog, before the dialog has its record: that must
// not leave a grid behind under a wrong key.
const Grid* existing_grid_of(HWND control) {
  auto& grids = grid_registry().grids;
  const auto found = grids.find(key_of(control));
  return found == grids.end() ? nullptr : &found->second;
}

void notify_change(HWND control) {
  const GridKey key = key_of(control);
  if (key.window >= 0) {
    post_window_grid_event(key.window);
    return;
  }
  DialogRecord* record = dialog_record(GetParent(control));
  if (record == nullptr) return;
  record->previous_field = key.field;
  record->current_field = key.field;
  post_dialog_event(EvFieldEdited, record->handle, key.field, key.field);
}

// A grid field in state 2 (read-only), or a read-only grid window: cells cannot change.
bool read_only(HWND control) {
  const FieldRecord* record = field_record(control);
  return record != nullptr && record->state == 2;
}

bool option_set(HWND control, std::int32_t FieldRecord::*option) {
  const FieldRecord* record = field_record(control);
  return record != nullptr && record->*option != 0;
}

// Layout in pixels from the font's average character width and height.
struct Metrics {
  int char_width = 8;
  int row_height = 20;
  int title_width = 0;   // width of the row-title column, 0 without row titles
  int title_height = 0;  // height of the title row, 0 without column titles
};

HFONT font_of(const GridView& view) {
  return view.font ? view.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

Metrics metrics_of(HWND control, const Grid& grid) {
  Metrics m;
  GridView& view = *view_of(control);
  const HFONT font = font_of(view);
  if (view.measured_font != font || view.char_width == 0) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    view.measured_font = font;
    view.char_width = std::max<int>(tm.tmAveCharWidth, 1);
    view.char_height = tm.tmHeight;
  }
  m.char_width = view.char_width;
  m.row_height = view.char_height + 2 * kPadding;
  m.title_width = grid.row_titles ? 10 * m.char_width + 2 * kPadding : 0;
  m.title_height = grid.column_titles ? m.row_height : 0;
  return m;
}

int column_width(const Grid& grid, const Metrics& m, int column) {
  return grid.column(column).width * m.char_width + 2 * kPadding;
}

// The rectangle of a cell on screen; empty when it lies before the first shown cell.
RECT cell_rect(const Grid& grid, const GridView& view, const Metrics& m, int column, int row) {
  RECT r{0, 0, 0, 0};
  if (column < view.left || row < view.top) return r;
  r.left = m.title_width;
  for (int c = view.left; c < column; ++c) r.left += column_width(grid, m, c);
  r.right = r.left + column_width(grid, m, column);
  r.top = m.title_height + (row - view.top) * m.row_height;
  r.bottom = r.top + m.row_height;
  return r;
}

std::string_view display_text(const GridColumn& column, const GridCell& cell) {
  if (column.type == ColumnType::OptionMenu) return option_text(column, cell);
  if (column.type == ColumnType::CheckBox) return {};
  return cell.text;
}

void draw_text(HDC dc, RECT box, std::string_view text, int justification) {
  InflateRect(&box, -kPadding, 0);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (justification == kJustifyCentre) format |= DT_CENTER;
  if (justification == kJustifyRight) format |= DT_RIGHT;
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &box, format);
}

// The check box marks of one paint: each look (state, colours, size) is drawn once by the
// window system into a small bitmap and copied into every cell that shows it, which is
// far cheaper than drawing a frame control per cell.
class CheckMarks {
 public:
  explicit CheckMarks(HDC target) : target_(target) {}
  CheckMarks(const CheckMarks&) = delete;
  CheckMarks& operator=(const CheckMarks&) = delete;
  ~CheckMarks() {
    for (Mark& mark : marks_) {
      SelectObject(mark.dc, mark.old_bitmap);
      DeleteObject(mark.bitmap);
      DeleteDC(mark.dc);
    }
  }

  void draw(const RECT& where, bool checked, COLORREF background, COLORREF text) {
    const int size = where.right - where.left;
    const UINT state = DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0);
    const Mark* mark = find_or_make(size, state, background, text);
    if (mark == nullptr) {
      RECT box = where;
      DrawFrameControl(target_, &box, DFC_BUTTON, state);
      return;
    }
    BitBlt(target_, where.left, where.top, size, size, mark->dc, 0, 0, SRCCOPY);
  }

 private:
  struct Mark {
    int size = 0;
    UINT state = 0;
    COLORREF background = 0;
    COLORREF text = 0;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old_bitmap = nullptr;
  };
  static constexpr std::size_t kMostMarks = 16;

  const Mark* find_or_make(int size, UINT state, COLORREF background, COLORREF text) {
    for (const Mark& mark : marks_) {
      if (mark.size == size && mark.state == state && mark.background == background && mark.text == text) {
        return &mark;
      }
    }
    if (size <= 0 || marks_.size() == kMostMarks) return nullptr;
    Mark mark{size, state, background, text};
    mark.dc = CreateCompatibleDC(target_);
    mark.bitmap = mark.dc != nullptr ? CreateCompatibleBitmap(target_, size, size) : nullptr;
    if (mark.bitmap == nullptr) {
      if (mark.dc != nullptr) DeleteDC(mark.dc);
      return nullptr;
    }
    mark.old_bitmap = SelectObject(mark.dc, mark.bitmap);
    // The same surroundings as in the cell: its background and colours.
    RECT box{0, 0, size, size};
    SetDCBrushColor(mark.dc, background);
    FillRect(mark.dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetBkColor(mark.dc, background);
    SetTextColor(mark.dc, text);
    DrawFrameControl(mark.dc, &box, DFC_BUTTON, state);
    marks_.push_back(mark);
    return &marks_.back();
  }

  HDC target_;
  std::vector<Mark> marks_;
};

// A cell without its frame line, which draw_cell_frames draws for all cells at once.
void draw_cell(HDC dc, CheckMarks& marks, const GridColumn& column, const GridCell& cell, RECT box) {
  const COLORREF background =
      cell.background_colour >= 0 ? static_cast<COLORREF>(cell.background_colour) : GetSysColor(COLOR_WINDOW);
  const COLORREF text =
      cell.text_colour >= 0 ? static_cast<COLORREF>(cell.text_colour) : GetSysColor(COLOR_WINDOWTEXT);
  SetDCBrushColor(dc, background);
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetBkColor(dc, background);
  SetTextColor(dc, text);
  if (column.type == ColumnType::CheckBox) {
    const int size = std::min<int>(box.bottom - box.top - 2 * kPadding, 13);
    const int x = column.justification == kJustifyLeft    ? box.left + kPadding
                  : column.justification == kJustifyRight ? box.right - kPadding - size
                                                          : (box.left + box.right - size) / 2;
    const RECT mark{x, (box.top + box.bottom - size) / 2, x + size, (box.top + box.bottom + size) / 2};
    marks.draw(mark, cell.check, background, text);
  } else if (const std::string_view shown = display_text(column, cell); !shown.empty()) {
    draw_text(dc, box, shown, column.justification);
  }
}

// The light grey frame inside every cell box of the block [left, right) x [top, bottom)
// of cells, each cell width wide and row_height high: a line per row and column edge
// instead of four per cell, the same pixels.
void draw_cell_frames(HDC dc, const std::vector<int>& column_edges, int top, int bottom, int row_height) {
  if (column_edges.size() < 2 || bottom <= top || row_height <= 0) return;
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  const int left = column_edges.front();
  const int width = column_edges.back() - left;
  for (int y = top; y < bottom; y += row_height) {
    PatBlt(dc, left, y, width, 1, PATCOPY);
    PatBlt(dc, left, y + row_height - 1, width, 1, PATCOPY);
  }
  for (std::size_t i = 0; i + 1 < column_edges.size(); ++i) {
    PatBlt(dc, column_edges[i], top, 1, bottom - top, PATCOPY);
    PatBlt(dc, column_edges[i + 1] - 1, top, 1, bottom - top, PATCOPY);
  }
  SelectObject(dc, old_brush);
}

void draw_title(HDC dc, RECT box, std::string_view text, int justification) {
  FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  draw_text(dc, box, text, justification);
  DrawEdge(dc, &box, BDR_RAISEDINNER, BF_RECT);
}

// Scrolls so that the current cell is in view.
void scroll_to_current(HWND control) {
  GridView& view = *view_of(control);
  const Grid& grid = *grid_of(control);
  if (!grid.valid_cell(grid.current_column, grid.current_row)) return;
  const Metrics m = metrics_of(control, grid);
  RECT client;
  GetClientRect(control, &client);
  view.top = std::clamp(std::min(view.top, grid.current_row), 1, std::max(grid.rows, 1));
  view.left = std::clamp(std::min(view.left, grid.current_column), 1, std::max(grid.column_count(), 1));
  // The lowest top row that still shows the current row whole, or the current row itself
  // when not even one row fits.
  const int rows_shown = m.row_height > 0 ? (client.bottom - m.title_height) / m.row_height : 0;
  view.top = std::max(view.top, grid.current_row - std::max(rows_shown, 1) + 1);
  while (view.left < grid.current_column &&
         cell_rect(grid, view, m, grid.current_column, grid.current_row).right > client.right) {
    ++view.left;
  }
}

// The control's picture, drawn into dc, which covers the client area.
void draw_grid(HWND control, HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
  GridView& view = *view_of(control);
  const Grid& grid = *grid_of(control);
  const Metrics m = metrics_of(control, grid);
  HGDIOBJ old_font = SelectObject(dc, font_of(view));
  if (grid.column_titles && grid.row_titles) {
    draw_title(dc, RECT{0, 0, m.title_width, m.title_height}, grid.corner_title, kJustifyCentre);
  }
  // Only the cells in view are formatted and drawn.
  CheckMarks marks(dc);
  std::vector<int> column_edges;
  int cells_bottom = m.title_height;
  for (int c = view.left; c <= grid.column_count(); ++c) {
    const RECT first = cell_rect(grid, view, m, c, view.top);
    if (first.left >= client.right) break;
    if (column_edges.empty()) column_edges.push_back(first.left);
    column_edges.push_back(first.right);
    if (grid.column_titles) {
      draw_title(dc, RECT{first.left, 0, first.right, m.title_height}, grid.column(c).title, kJustifyCentre);
    }
    RECT box = first;
    for (int r = view.top; r <= grid.rows && box.top < client.bottom; ++r) {
      draw_cell(dc, marks, grid.column(c), grid.cell(c, r), box);
      cells_bottom = box.bottom;
      OffsetRect(&box, 0, m.row_height);
    }
  }
  draw_cell_frames(dc, column_edges, m.title_height, cells_bottom, m.row_height);
  if (grid.row_titles) {
    for (int r = view.top; r <= grid.rows && m.title_height + (r - view.top) * m.row_height < client.bottom;
         ++r) {
      const int top = m.title_height + (r - view.top) * m.row_height;
      draw_title(dc, RECT{0, top, m.title_width, top + m.row_height}, *row_title(grid, r), 0);
    }
  }
  if (grid.valid_cell(grid.current_column, grid.current_row)) {
    RECT current = cell_rect(grid, view, m, grid.current_column, grid.current_row);
    InflateRect(&current, -1, -1);
    if (GetFocus() == control) {
      DrawFocusRect(dc, &current);
    } else {
      FrameRect(dc, &current, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
  }
  SelectObject(dc, old_font);
}

// The back buffer of the control's size; null when none can be made.
HBITMAP paint_buffer(GridView& view, HDC screen, const RECT& client) {
  const SIZE size{std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)};
  if (view.buffer != nullptr && view.buffer_size.cx == size.cx && view.buffer_size.cy == size.cy) {
    return view.buffer;
  }
  if (view.buffer != nullptr) DeleteObject(view.buffer);
  view.buffer = CreateCompatibleBitmap(screen, size.cx, size.cy);
  view.buffer_size = size;
  return view.buffer;
}

// Cells are drawn into a bitmap of the control's size and copied to the screen at once:
// one transfer to the display instead of several per cell, and no flicker.
void paint(HWND control) {
  GridView& view = *view_of(control);
  view.invalid = false;
  scroll_to_current(control);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(control, &ps);
  RECT client;
  GetClientRect(control, &client);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP buffer = memory != nullptr ? paint_buffer(view, dc, client) : nullptr;
  if (buffer == nullptr) {
    draw_grid(control, dc, client);
  } else {
    HGDIOBJ old_bitmap = SelectObject(memory, buffer);
    draw_grid(control, memory, client);
    const RECT& area = ps.rcPaint;
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, area.left,
           area.top, SRCCOPY);
    SelectObject(memory, old_bitmap);
  }
  if (memory != nullptr) DeleteDC(memory);
  EndPaint(control, &ps);
}

// Moves the current cell, within the grid.
void move_to(HWND control, int column, int row) {
  Grid& grid = *grid_of(control);
  if (grid.column_count() == 0 || grid.rows == 0) return;
  grid.current_column = std::clamp(column, 1, grid.column_count());
  grid.current_row = std::clamp(row, 1, grid.rows);
  scroll_to_current(control);
  InvalidateRect(control, nullptr, TRUE);
}

// Moves as move_to; a move below the last row adds a row first when the grid lets the
// user add rows (option 1) and has room.
void move_or_grow(HWND control, int column, int row) {
  Grid& grid = *grid_of(control);
  if (row > grid.rows && grid.rows > 0 && grid.user_adds_rows && !read_only(control) &&
      set_rows(grid, grid.rows + 1) == 0) {
    notify_change(control);
  }
  move_to(control, column, row);
}

// Stores an edited text in the current cell: text as typed, numbers through the toolkit's
// conversions with the column's range. False (and a beep) when a number is not valid.
bool commit_text(HWND control, const std::string& text) {
  Grid& grid = *grid_of(control);
  if (!grid.valid_cell(grid.current_column, grid.current_row)) return true;  // the grid shrank meanwhile
  const GridColumn& column = grid.column(grid.current_column);
  int code = 0;
  if (column.type == ColumnType::Text) {
    code = put_text(grid, grid.current_column, grid.current_row, text);
  } else if (trim_trailing(text).empty()) {
    // As numeric fields do: a ranged cell that held a value may be emptied only with the
    // numeric option (4) set.
    const GridCell& cell = grid.cell(grid.current_column, grid.current_row);
    const bool ranged = column.low.has_value() || column.high.has_value();
    code = cell.defined && ranged && !option_set(control, &FieldRecord::numeric_option)
               ? error::kFieldValueOutOfRange
               : clear_cell(grid, grid.current_column, grid.current_row);
  } else {
    double value = 0.0;
    code = silent_try([&] {
      if (column.type == ColumnType::Integer) {
        int number = 0;
        IStringToInteger(text, number);
        value = number;
      } else {
        IStringToReal8(text, value);
      }
    });
    if (code == 0) code = put_number(grid, grid.current_column, grid.current_row, value);
  }
  if (code != 0) {
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
  notify_change(control);
  return true;
}

void close_editor(HWND control, bool keep, bool refocus = true) {
  GridView& view = *view_of(control);
  if (view.editor == nullptr) return;
  if (keep) {
    const int length = GetWindowTextLengthA(view.editor);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(view.editor, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    if (!commit_text(control, text)) return;
  }
  HWND editor = view.editor;
  view.editor = nullptr;
  DestroyWindow(editor);
  if (refocus) SetFocus(control);
  InvalidateRect(control, nullptr, TRUE);
}

// The in-place editor: Enter keeps the text, Escape drops it, Tab and the up and down
// arrows keep it and move on.
bool key_down(HWND control, WPARAM key);

// The keys of the grid's own commands: Ctrl+F, Ctrl+G and F3.
bool is_command_key(WPARAM key) {
  return key == VK_F3 || (GetKeyState(VK_CONTROL) < 0 && (key == 'F' || key == 'G'));
}

LRESULT CALLBACK editor_procedure(HWND editor, UINT message, WPARAM wparam, LPARAM lparam) {
  HWND control = GetParent(editor);
  GridView* view = view_of(control);
  const WNDPROC previous = view->editor_procedure;
  if (message == WM_GETDLGCODE)
    return DLGC_WANTALLKEYS | CallWindowProcW(previous, editor, message, wparam, lparam);
  if (message == WM_KEYDOWN && is_command_key(wparam)) return key_down(control, wparam) ? 0 : 1;
  if (message == WM_KEYDOWN) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (wparam) {
      case VK_RETURN: close_editor(control, true); return 0;
      case VK_ESCAPE: close_editor(control, false); return 0;
      case VK_TAB:
      case VK_UP:
      case VK_DOWN: {
        const int column = grid_of(control)->current_column;
        const int row = grid_of(control)->current_row;
        close_editor(control, true);
        if (view->editor != nullptr) return 0;
        if (wparam == VK_TAB) move_to(control, column + (shift ? -1 : 1), row);
        if (wparam != VK_TAB) move_or_grow(control, column, row + (wparam == VK_UP ? -1 : 1));
        return 0;
      }
      default: break;
    }
  }
  if (message == WM_CHAR && (wparam == '\r' || wparam == 27 || wparam == '\t')) return 0;
  if (message == WM_KILLFOCUS && view->editor == editor) {
    LRESULT result = CallWindowProcW(previous, editor, message, wparam, lparam);
    close_editor(control, true, false);
    return result;
  }
  return CallWindowProcW(previous, editor, message, wparam, lparam);
}

void open_editor(HWND control, const std::string& initial, bool select_all) {
  GridView& view = *view_of(control);
  if (view.editor != nullptr || view.chooser != nullptr) return;
  const Grid& grid = *grid_of(control);
  const RECT box = cell_rect(grid, view, metrics_of(control, grid), grid.current_column, grid.current_row);
  view.editor =
      CreateWindowExA(0, "EDIT", initial.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                      box.left, box.top, box.right - box.left, box.bottom - box.top, control,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)), nullptr, nullptr);
  if (view.editor == nullptr) return;
  SendMessageW(view.editor, WM_SETFONT, reinterpret_cast<WPARAM>(view.font), 0);
  view.editor_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(view.editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&editor_procedure)));
  SetFocus(view.editor);
  const int length = static_cast<int>(initial.size());
  SendMessageW(view.editor, EM_SETSEL, select_all ? 0 : length, length);
}

// The drop-down list of an option menu cell.
void open_chooser(HWND control) {
  GridView& view = *view_of(control);
  if (view.editor != nullptr || view.chooser != nullptr) return;
  const Grid& grid = *grid_of(control);
  const GridColumn& column = grid.column(grid.current_column);
  const RECT box = cell_rect(grid, view, metrics_of(control, grid), grid.current_column, grid.current_row);
  const int height = (static_cast<int>(column.options.size()) + 2) * (box.bottom - box.top);
  view.chooser = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                                 box.left, box.top, box.right - box.left, height, control,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChooserId)), nullptr, nullptr);
  if (view.chooser == nullptr) return;
  SendMessageW(view.chooser, WM_SETFONT, reinterpret_cast<WPARAM>(view.font), 0);
  for (const std::string& option : column.options) {
    SendMessageA(view.chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(option.c_str()));
  }
  const int option = grid.cell(grid.current_column, grid.current_row).option;
  SendMessageW(view.chooser, CB_SETCURSEL, static_cast<WPARAM>(option - 1), 0);
  SetFocus(view.chooser);
  SendMessageW(view.chooser, CB_SHOWDROPDOWN, TRUE, 0);
}

void close_chooser(HWND control, bool keep) {
  GridView& view = *view_of(control);
  if (view.chooser == nullptr) return;
  HWND chooser = view.chooser;
  view.chooser = nullptr;
  const int selected = static_cast<int>(SendMessageW(chooser, CB_GETCURSEL, 0, 0));
  Grid& grid = *grid_of(control);
  if (keep && selected >= 0 && put_option(grid, grid.current_column, grid.current_row, selected + 1) == 0) {
    notify_change(control);
  }
  DestroyWindow(chooser);
  SetFocus(control);
  InvalidateRect(control, nullptr, TRUE);
}

// Space or a click on the current cell: toggles a check box, opens an option list,
// starts editing a text or numeric cell.
void activate(HWND control, bool by_mouse) {
  Grid& grid = *grid_of(control);
  if (!grid.valid_cell(grid.current_column, grid.current_row) || !IsWindowEnabled(control) ||
      read_only(control)) {
    return;
  }
  const GridColumn& column = grid.column(grid.current_column);
  if (column.type == ColumnType::CheckBox) {
    const int checked = grid.cell(grid.current_column, grid.current_row).check;
    put_check(grid, grid.current_column, grid.current_row, checked == 0 ? 1 : 0);
    notify_change(control);
    InvalidateRect(control, nullptr, TRUE);
  } else if (column.type == ColumnType::OptionMenu) {
    open_chooser(control);
  } else if (column.type == ColumnType::Text || is_numeric(column.type)) {
    if (!by_mouse)
      open_editor(control, std::string(grid.cell(grid.current_column, grid.current_row).text), true);
  }
}

// Sorts the rows by column, unless the order is locked (option 2).
bool sort_column(HWND control, int column, int order) {
  GridView& view = *view_of(control);
  Grid& grid = *grid_of(control);
  if (grid.sort_locked || sort_rows(grid, column, order) != 0) return false;
  view.sorted_column = column;
  view.sort_order = order;
  notify_change(control);
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

// Goes to the next cell after the current one whose shown text contains text; a beep
// when none does.
void find_next(HWND control, const std::string& text) {
  const Grid& grid = *grid_of(control);
  int column = grid.current_column;
  int row = grid.current_row;
  if (find_text(grid, text, column, row)) {
    move_to(control, column, row);
  } else {
    MessageBeep(MB_ICONASTERISK);
  }
}

// "column, row" (or "column row") of the go-to prompt; false for anything else.
bool parse_cell(const std::string& text, int& column, int& row) {
  int used = 0;
  return std::sscanf(text.c_str(), " %d%*[ ,;]%d %n", &column, &row, &used) == 2 &&
         static_cast<std::size_t>(used) == text.size();
}

// The grid's own commands, from its keys or, in a grid window, from the window's menu,
// toolbar and accelerators. False for any other command, which the window reports.
bool grid_command(HWND control, int command) {
  GridView& view = *view_of(control);
  if (command < GridCmdFind || command > GridCmdSortDescending) return false;
  close_chooser(control, false);
  close_editor(control, true);
  if (view.editor != nullptr) return true;  // the edited text was refused: stay in the cell
  HWND owner = GetAncestor(control, GA_ROOT);
  switch (command) {
    case GridCmdFind:
      if (auto text = grid_prompt(owner, GridPrompt::Find, view.last_find); text && !text->empty()) {
        view.last_find = *text;
        find_next(control, view.last_find);
      }
      SetFocus(control);
      return true;
    case GridCmdFindNext:
      if (view.last_find.empty()) return grid_command(control, GridCmdFind);
      find_next(control, view.last_find);
      return true;
    case GridCmdGoTo: {
      const Grid& grid = *grid_of(control);
      const std::string now = std::to_string(grid.current_column) + ", " + std::to_string(grid.current_row);
      int column = 0;
      int row = 0;
      if (auto text = grid_prompt(owner, GridPrompt::GoTo, now); text && !text->empty()) {
        if (parse_cell(*text, column, row) && grid.valid_cell(column, row)) {
          move_to(control, column, row);
        } else {
          MessageBeep(MB_ICONEXCLAMATION);
        }
      }
      SetFocus(control);
      return true;
    }
    case GridCmdSortAscending:
    case GridCmdSortDescending:
      sort_column(control, grid_of(control)->current_column, command == GridCmdSortAscending ? 0 : 1);
      return true;
    default: return false;
  }
}

// Tab leaves the grid from its last cell (Shift+Tab from its first).
bool wants_tab(HWND control) {
  const Grid* found = existing_grid_of(control);
  if (found == nullptr) return false;
  const Grid& grid = *found;
  if (GetKeyState(VK_SHIFT) < 0) return grid.current_column > 1 || grid.current_row > 1;
  const bool may_grow = grid.user_adds_rows && grid.rows < grid.max_rows && !read_only(control);
  return grid.current_column < grid.column_count() || grid.current_row < grid.rows || may_grow;
}

bool key_down(HWND control, WPARAM key) {
  const Grid& grid = *grid_of(control);
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (is_command_key(key)) {
    return grid_command(control, key == VK_F3 ? GridCmdFindNext : key == 'F' ? GridCmdFind : GridCmdGoTo);
  }
  int column = grid.current_column;
  int row = grid.current_row;
  switch (key) {
    case VK_LEFT: --column; break;
    case VK_RIGHT: ++column; break;
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    // Ctrl+Home and Ctrl+End go to the first and the last row as well.
    case VK_HOME:
      column = 1;
      if (GetKeyState(VK_CONTROL) < 0) row = 1;
      break;
    case VK_END:
      column = grid.column_count();
      if (GetKeyState(VK_CONTROL) < 0) row = grid.rows;
      break;
    case VK_PRIOR: row -= 10; break;
    case VK_NEXT: row += 10; break;
    case VK_TAB:
      column += shift ? -1 : 1;
      if (column < 1) {
        column = grid.column_count();
        --row;
      }
      if (column > grid.column_count()) {
        column = 1;
        ++row;
      }
      break;
    case VK_F2:
    case VK_RETURN: activate(control, false); return true;
    default: return false;
  }
  move_or_grow(control, column, row);
  return true;
}

// A click on a column title sorts by that column, ascending first, then descending.
void sort_by_title(HWND control, int x) {
  const GridView& view = *view_of(control);
  const Grid& grid = *grid_of(control);
  const Metrics m = metrics_of(control, grid);
  for (int c = view.left; c <= grid.column_count(); ++c) {
    const RECT box = cell_rect(grid, view, m, c, view.top);
    if (x < box.left || x >= box.right) continue;
    sort_column(control, c, view.sorted_column == c && view.sort_order == 0 ? 1 : 0);
    return;
  }
}

void click(HWND control, int x, int y) {
  GridView& view = *view_of(control);
  const Grid& grid = *grid_of(control);
  const Metrics m = metrics_of(control, grid);
  if (y < m.title_height && x >= m.title_width) {
    sort_by_title(control, x);
    return;
  }
  for (int r = view.top; r <= grid.rows; ++r) {
    for (int c = view.left; c <= grid.column_count(); ++c) {
      const RECT box = cell_rect(grid, view, m, c, r);
      if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) {
        const bool same = c == grid.current_column && r == grid.current_row;
        move_to(control, c, r);
        const ColumnType type = grid.column(c).type;
        if (type == ColumnType::CheckBox || type == ColumnType::OptionMenu || same) activate(control, !same);
        return;
      }
      if (box.left > x) break;
    }
  }
}

LRESULT CALLBACK grid_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  GridView* view = view_of(control);
  switch (message) {
    case WM_NCCREATE: {
      auto* created = new GridView;
      SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      live_controls().push_back(control);
      break;
    }
    case WM_NCDESTROY:
      std::erase(live_controls(), control);
      if (view != nullptr && view->window >= 0) forget_window_grid(view->window, control);
      if (view != nullptr && view->buffer != nullptr) DeleteObject(view->buffer);
      delete view;
      SetWindowLongPtrW(control, GWLP_USERDATA, 0);
      break;
    case WM_SETFONT:
      view->font = reinterpret_cast<HFONT>(wparam);
      if (LOWORD(lparam)) InvalidateRect(control, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(view->font);
    case WM_PAINT: paint(control); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(control, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (wants_tab(control)) code |= DLGC_WANTTAB;
      const MSG* msg = reinterpret_cast<const MSG*>(lparam);
      if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      // Keys typed ahead while the editor was opening still belong to it.
      if (view->editor != nullptr) return SendMessageW(view->editor, message, wparam, lparam);
      if (key_down(control, wparam)) return 0;
      break;
    case WM_CHAR:
      if (view->editor != nullptr) return SendMessageW(view->editor, message, wparam, lparam);
      if (view->chooser != nullptr || read_only(control)) return 0;
      if (wparam == ' ') {
        activate(control, false);
      } else if (wparam >= 0x20 && wparam != 0x7F) {
        const Grid& grid = *grid_of(control);
        const bool editable = grid.valid_cell(grid.current_column, grid.current_row) &&
                              (grid.column(grid.current_column).type == ColumnType::Text ||
                               is_numeric(grid.column(grid.current_column).type));
        if (editable) {
          open_editor(control, std::string(1, static_cast<char>(wparam)), false);
          if (view->editor != nullptr && option_set(control, &FieldRecord::change_report))
            notify_change(control);
        }
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(control);
      click(control, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
      return 0;
    case WM_COMMAND:
      if (lparam == 0 || GetParent(reinterpret_cast<HWND>(lparam)) != control) {
        return grid_command(control, LOWORD(wparam)) ? 1 : 0;
      }
      if (LOWORD(wparam) == kEditorId && HIWORD(wparam) == EN_CHANGE &&
          option_set(control, &FieldRecord::change_report)) {
        notify_change(control);
      } else if (LOWORD(wparam) == kChooserId && HIWORD(wparam) == CBN_SELENDOK) {
        PostMessageW(control, kCloseChooser, 1, 0);
      } else if (LOWORD(wparam) == kChooserId &&
                 (HIWORD(wparam) == CBN_SELENDCANCEL || HIWORD(wparam) == CBN_KILLFOCUS)) {
        PostMessageW(control, kCloseChooser, 0, 0);
      }
      return 0;
    case kCloseChooser: close_chooser(control, wparam != 0); return 0;
    default: break;
  }
  return DefWindowProcW(control, message, wparam, lparam);
}

// dialog_handle -1 stands for the grid windows.
void repaint_controls(int dialog_handle, int field) {
  for (HWND control : live_controls()) {
    const GridKey key = key_of(control);
    const bool window_grid = dialog_handle < 0 && key.window >= 0;
    if (!window_grid && (key.window >= 0 || key.dialog != dialog_handle || key.field != field)) continue;
    GridView* view = view_of(control);
    if (view != nullptr && view->invalid) continue;
    if (view != nullptr) view->invalid = true;
    InvalidateRect(control, nullptr, TRUE);
  }
}

// WDialogFieldOptions 1 (the user may add rows) and 2 (the row order is locked).
void set_option(HWND control, int option, int value) {
  Grid& grid = *grid_of(control);
  if (option == 1) grid.user_adds_rows = value != 0;
  if (option == 2) grid.sort_locked = value != 0;
}

// A grid field of the current toolkit dialog: its control must be of the grid class.
std::optional<GridFieldLookup> dialog_grid_lookup(int field) {
  HWND dialog = current_dialog_window();
  if (dialog == nullptr) return std::nullopt;  // no toolkit dialog: the registry's own selection
  HWND control = GetDlgItem(dialog, field);
  if (control == nullptr || field_kind(control) != FieldKind::Grid)
    return GridFieldLookup{error::kInvalidField, {}};
  const GridKey key = key_of(control);
  grid_registry().grids.try_emplace(key);
  return GridFieldLookup{0, key};
}

// One "[Grids]" line of the dialog's extended data. A line that cannot be read or applied
// is passed over, as the dialog data's other lines are. A grid that another control
// (the loaded dialog behind a modal display) has set up is left as it is.
void apply_setup_line(HWND control, std::string_view text) {
  Grid& grid = *grid_of(control);
  const auto owner = reinterpret_cast<std::uintptr_t>(control);
  if (grid.setup_owner != 0 && grid.setup_owner != owner) return;
  grid.setup_owner = owner;
  apply_grid_setup(grid, parse_grid_setup_line(text));
  InvalidateRect(control, nullptr, TRUE);
}

// Clearing the field empties its cells; columns, rows and titles stay.
void clear_control(HWND control) {
  Grid& grid = *grid_of(control);
  for (int r = 1; r <= grid.rows; ++r) clear_row(grid, r, false);
  InvalidateRect(control, nullptr, TRUE);
}

LRESULT CALLBACK window_grid_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = grid_procedure(control, message, wparam, lparam);
  if (message == WM_NCCREATE && result != 0) {
    const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lparam);
    view_of(control)->window = static_cast<int>(reinterpret_cast<INT_PTR>(create.lpCreateParams));
  }
  return result;
}

bool register_class(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

void register_grid_layer() {
  register_layer(WindowLayer{
      .name = "grids", .first_open = register_grid_field_class, .shutdown = release_grid_windows});
  register_layer(DialogFieldLayer{.name = "grids",
                                  .apply_grid_line = apply_setup_line,
                                  .clear_grid = clear_control,
                                  .grid_option = set_option,
                                  .dialog_released = detach_dialog_grids});
  register_layer(GridLayer{.name = "grid controls",
                           .dialog_field = dialog_grid_lookup,
                           .current_window = current_grid_window,
                           .repaint = repaint_controls});
}

void register_grid_field_class() {
  static bool registered = false;
  if (!registered) registered = register_class(kClassName, &grid_procedure);
}

HWND create_window_grid(HWND client, int window) {
  static bool registered = false;
  if (!registered) registered = register_class(kWindowClassName, &window_grid_procedure);
  RECT area{};
  GetClientRect(client, &area);
  return CreateWindowExW(0, kWindowClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0,
                         area.right, area.bottom, client, nullptr, GetModuleHandleW(nullptr),
                         reinterpret_cast<void*>(static_cast<INT_PTR>(window)));
}

GridFieldProbe grid_field_probe(HWND control) {
  const GridView* view = view_of(control);
  GridFieldProbe probe;
  if (view == nullptr) return probe;
  probe.column = grid_of(control)->current_column;
  probe.row = grid_of(control)->current_row;
  probe.editor = view->editor;
  probe.chooser = view->chooser;
  return probe;
}

RECT grid_field_cell_rect(HWND control, int column, int row) {
  const Grid& grid = *grid_of(control);
  return cell_rect(grid, *view_of(control), metrics_of(control, grid), column, row);
}

}  // namespace quill
