// Loading, showing, hiding and unloading dialogs, and the events of the dialog
// procedure, with real key presses and clicks.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/window_table.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "dialog_test_ids.h"
#include "dialog_test_support.hpp"
#include "dialog/dialog_settings.hpp"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"

namespace {

using namespace dialog_test;

int current_handle() { return quill::dialogs().current_handle; }

// Events until one of type arrives (others dropped); type 0 when none comes.
Event wait_for(int type) {
  for (int i = 0; i < 10; ++i) {
    Event event = next_event();
    if (event.type == type || event.type == 0) return event;
  }
  return {};
}

TEST(CalculatorPath, KeypadIsCombinedCurrentAndDressedByItsData) {
  HWND keypad = quill::find_dialog(TD_KEYPAD);
  ASSERT_NE(keypad, nullptr);
  EXPECT_EQ(current_handle(), TD_KEYPAD);
  EXPECT_EQ(GetParent(keypad), quill::windows().windows[0].client);
  EXPECT_TRUE(IsWindowVisible(keypad));
  const quill::DialogRecord* record = quill::dialog_record(keypad);
  EXPECT_EQ(record->accelerators, 1);
  EXPECT_EQ(record->combined, quill::windows().windows[0].frame);

  HWND display = GetDlgItem(keypad, TD_DISPLAY);
  // The multi-line display's limit of 65535 gives way to the data's 18.
  EXPECT_EQ(SendMessageW(display, EM_GETLIMITTEXT, 0, 0), 18);
  EXPECT_EQ(SendMessageW(GetDlgItem(keypad, TD_INPUT), EM_GETLIMITTEXT, 0, 0), 2);
  const quill::FieldRecord* display_record = quill::field_record(display);
  EXPECT_EQ(display_record->text_colour, 0);
  EXPECT_EQ(display_record->background_colour, 0xFFFFFF);

  LOGFONTW font{};
  ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(display, WM_GETFONT, 0, 0)), sizeof(font), &font),
            0);
  HDC dc = CreateCompatibleDC(nullptr);
  const int expected_height = -MulDiv(18, GetDeviceCaps(dc, LOGPIXELSY), 72);
  DeleteDC(dc);
  EXPECT_STREQ(font.lfFaceName, L"Lucida Sans Unicode");
  EXPECT_EQ(font.lfHeight, expected_height);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfItalic, 0);
  EXPECT_EQ(font.lfPitchAndFamily, 50);

  const std::string eighteen = "-12345678901234.56";
  WDialogPutString(TD_DISPLAY, eighteen);
  char shown[18];
  WDialogGetString(TD_DISPLAY, shown);
  EXPECT_EQ(std::string(shown, 18), eighteen);

  // The display is disabled, yet its text is drawn black on white as its data says.
  RedrawWindow(display, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(display, &client);
  HDC window_dc = GetDC(display);
  int black = 0;
  int other = 0;
  for (int y = 0; y < client.bottom; y += 1) {
    for (int x = 0; x < client.right; x += 1) {
      const COLORREF pixel = GetPixel(window_dc, x, y);
      if (pixel == RGB(0, 0, 0)) {
        ++black;
      } else if (pixel != RGB(255, 255, 255)) {
        ++other;
      }
    }
  }
  ReleaseDC(display, window_dc);
  EXPECT_GT(black, 100);
  EXPECT_LT(other, black);
}

TEST(CalculatorPath, TypedCharacterGivesOneFieldChangeAndProgramTextNone) {
  WDialogSelect(TD_KEYPAD);
  SetForegroundWindow(quill::windows().windows[0].frame);
  clear_error();
  WDialogFieldOptions(TD_INPUT, 3, 1);
  WDialogPutString(TD_INPUT, "");
  WDialogSetField(TD_INPUT, 1);
  EXPECT_EQ(last_error(), 0);
  drain();
  ASSERT_EQ(GetFocus(), field(TD_INPUT));

  press(VK_OEM_MINUS);
  const Event typed = next_event();
  EXPECT_EQ(typed.type, EvFieldEdited);
  EXPECT_EQ(typed.record.window, TD_KEYPAD);
  EXPECT_EQ(typed.record.detail1, TD_INPUT);
  EXPECT_EQ(typed.record.detail2, TD_INPUT);
  EXPECT_EQ(next_event(400).type, 0);

  char text[18];
  WDialogGetString(TD_INPUT, text);
  EXPECT_EQ(std::string(text, 18), "-" + std::string(17, ' '));
  WDialogPutString(TD_INPUT, "");
  EXPECT_EQ(next_event(400).type, 0);
}

TEST(CalculatorPath, PushButtonGivesEvButtonWithThePreviousField) {
  WDialogSelect(TD_KEYPAD);
  SetForegroundWindow(quill::windows().windows[0].frame);
  WDialogSetField(TD_INPUT, 1);
  drain();
  click(field(TD_KEY_ONE));
  const Event button = wait_for(EvButton);
  ASSERT_EQ(button.type, EvButton);
  EXPECT_EQ(button.record.window, TD_KEYPAD);
  EXPECT_EQ(button.record.detail1, TD_KEY_ONE);
  EXPECT_EQ(button.record.detail2, TD_INPUT);
  WDialogSetField(TD_INPUT, 1);
  drain();
}

// Inside the modal loop: type into the instance and press its "Other" button.
int modal_fallbacks = 0;
int modal_ticks = 0;
void CALLBACK drive_modal(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND instance = quill::dialogs().modal_instance;
  if (instance == nullptr) return;
  HWND other = GetDlgItem(instance, TD_MODAL_OTHER);
  if (modal_ticks == 0 && !clickable(other)) return;  // not on screen yet
  ++modal_ticks;
  if (modal_ticks == 1) {
    SetWindowTextW(GetDlgItem(instance, TD_MODAL_EDIT), L"typed");
    click(other);
  } else if (modal_ticks >= 40) {  // about 10 s: a loaded machine is slow to deliver
    ++modal_fallbacks;             // the click never arrived: end the display so the test goes on
    SendMessageW(other, BM_CLICK, 0, 0);
    KillTimer(nullptr, timer);
  }
}

TEST(CalculatorPath, ModalDisplayEndsOnAnyPushButtonAndCopiesStateBack) {
  WDialogLoad(TD_MODAL);
  ASSERT_EQ(current_handle(), TD_MODAL);
  WDialogPutString(TD_MODAL_EDIT, "before");
  modal_ticks = 0;
  modal_fallbacks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 250, drive_modal);
  clear_error();
  WDialogShow(-1, -1, 0, 1);
  KillTimer(nullptr, timer);
  EXPECT_EQ(modal_fallbacks, 0);
  EXPECT_EQ(last_error(), 0);
  EXPECT_EQ(WDialogQuery(1), TD_MODAL_OTHER);
  EXPECT_EQ(WDialogQuery(5), TD_MODAL);
  EXPECT_EQ(quill::dialogs().modal_instance, nullptr);
  char text[8];
  WDialogGetString(TD_MODAL_EDIT, text);
  EXPECT_EQ(std::string(text, 8), "typed   ");

  RECT rect{};
  GetWindowRect(current_dialog(), &rect);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);

  WDialogUnload();
  EXPECT_EQ(current_handle(), 0);
  EXPECT_EQ(quill::find_dialog(TD_MODAL), nullptr);
  // With no current dialog every field routine reports 1005.
  int number = 0;
  float real = 0.0f;
  char buffer[4];
  const std::string_view options[] = {"a"};
  const std::vector<std::function<void()>> routines = {
      [] { WDialogPutString(TD_MODAL_EDIT, "x"); },
      [&] { WDialogGetString(TD_MODAL_EDIT, buffer); },
      [&] { WDialogGetStringLength(TD_MODAL_EDIT, number); },
      [] { WDialogSetField(TD_MODAL_EDIT); },
      [] { WDialogFieldOptions(TD_MODAL_EDIT, 3, 1); },
      [] { WDialogFieldState(TD_MODAL_EDIT, 1); },
      [] { WDialogPutInteger(TD_MODAL_EDIT, 1); },
      [&] { WDialogGetInteger(TD_MODAL_EDIT, number); },
      [] { WDialogRangeInteger(TD_MODAL_EDIT, 1, 2); },
      [] { WDialogPutReal(TD_MODAL_EDIT, 1.0f); },
      [&] { WDialogGetReal(TD_MODAL_EDIT, real); },
      [] { WDialogPutCheckBox(TD_MODAL_EDIT, 1); },
      [&] { WDialogGetCheckBox(TD_MODAL_EDIT, number); },
      [] { WDialogPutRadioButton(TD_MODAL_EDIT); },
      [&] { WDialogGetRadioButton(TD_MODAL_EDIT, number); },
      [&] { WDialogPutMenu(TD_MODAL_EDIT, options, 1, 1); },
      [&] { WDialogGetMenu(TD_MODAL_EDIT, number); },
      [] { WDialogClearField(TD_MODAL_EDIT); },
      [] { WDialogPutImage(TD_MODAL_EDIT, 1); },
      [&] { WDialogGetFieldState(TD_MODAL_EDIT, number); },
      [] { WDialogPutDouble(TD_MODAL_EDIT, 1.0); },
      [&] {
        double d = 0;
        WDialogGetDouble(TD_MODAL_EDIT, d);
      },
      [] { WDialogGraphicsField(TD_MODAL_EDIT, 1); },
      [] { WDialogShow(); },
      [] { WDialogHide(); },
      [] { WDialogUnload(); },
      [] { WDialogTitle("t"); },
  };
  for (std::size_t index = 0; index < routines.size(); ++index) {
    clear_error();
    routines[index]();
    EXPECT_EQ(last_error(), 1005) << "routine " << index;
  }
  WDialogSelect(TD_KEYPAD);
  EXPECT_EQ(current_handle(), TD_KEYPAD);
}

// Presses "No" on the message box captioned "Item four" once it is up.
void CALLBACK answer_box_no(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA("#32770", "Item four");
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
}

TEST(Registry, InformationItemFourIsTheLastMessageBoxResult) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, answer_box_no);
  WMessageBox(3, 2, 1, "Keep going?", "Item four");  // Yes/No: "No" gives 2
  KillTimer(nullptr, timer);
  EXPECT_EQ(WDialogQuery(4), 2);
  clear_error();
  EXPECT_EQ(WDialogQuery(6), 0);
  EXPECT_EQ(last_error(), 1011);
  WDialogSelect(TD_KEYPAD);
}

// Rich edit is loaded on demand: a template naming its class still loads.
TEST(Registry, DialogWithARichEditControlLoads) {
  clear_error();
  WDialogLoad(TD_RICH);
  EXPECT_EQ(last_error(), 0);
  EXPECT_EQ(current_handle(), TD_RICH);
  HWND rich = field(TD_RICH_EDIT);
  ASSERT_NE(rich, nullptr);
  wchar_t name[32] = {};
  GetClassNameW(rich, name, 32);
  EXPECT_STREQ(name, L"RichEdit20W");
  EXPECT_EQ(window_text(rich), L"rich text");
  WDialogUnload();
  WDialogSelect(TD_KEYPAD);
}

TEST(Registry, SameHandleTwiceMakesOneDialogAndTheHundredAndFirstFails) {
  const int before = quill::dialogs().slots.count;
  WDialogLoad(TD_TINY, 900);
  HWND first = current_dialog();
  WDialogLoad(TD_TINY, 900);
  EXPECT_EQ(current_dialog(), first);
  EXPECT_EQ(quill::dialogs().slots.count, before + 1);

  for (int handle = 1000; quill::dialogs().slots.count < quill::kMaxDialogs; ++handle) {
    clear_error();
    WDialogLoad(TD_TINY, handle);
    ASSERT_EQ(last_error(), 0);
  }
  const int last_handle = current_handle();
  clear_error();
  WDialogLoad(TD_TINY, 5000);
  EXPECT_EQ(last_error(), 1087);
  EXPECT_EQ(current_handle(), last_handle);
  EXPECT_EQ(quill::dialogs().slots.count, quill::kMaxDialogs);
  EXPECT_EQ(quill::find_dialog(900), first);

  // Unloading closes the gaps: the keypad keeps working as the others go.
  for (int handle = 900; handle <= last_handle; ++handle) {
    if (quill::find_dialog(handle) == nullptr) continue;
    WDialogSelect(handle);
    WDialogUnload();
  }
  EXPECT_EQ(quill::dialogs().slots.count, before);
  WDialogSelect(TD_KEYPAD);
  EXPECT_EQ(current_handle(), TD_KEYPAD);

  clear_error();
  WDialogLoad(TD_MISSING);
  EXPECT_EQ(last_error(), 1007);
  EXPECT_EQ(current_handle(), TD_KEYPAD);
  clear_error();
  WDialogSelect(4242);
  EXPECT_EQ(last_error(), 1008);
  EXPECT_EQ(current_handle(), TD_KEYPAD);
}

TEST(Show, CombinedDialogsAreNotShownHiddenOrUnloadedByTheDialogRoutines) {
  WDialogSelect(TD_KEYPAD);
  for (const auto& routine : std::vector<std::function<void()>>{[] { WDialogShow(); }, [] { WDialogHide(); },
                                                                [] { WDialogUnload(); }}) {
    clear_error();
    routine();
    EXPECT_EQ(last_error(), 1047);
  }
  EXPECT_TRUE(IsWindowVisible(quill::find_dialog(TD_KEYPAD)));
  // A child dialog in a window that holds a combined dialog is not shown.
  WDialogLoad(TD_CHILD);
  clear_error();
  WDialogShow();
  EXPECT_EQ(last_error(), 1046);
  EXPECT_FALSE(IsWindowVisible(current_dialog()));
  WDialogUnload();
  WDialogSelect(TD_KEYPAD);
}

TEST(Show, ChildDialogIsModelessAndPlacedInRelativeUnits) {
  WDialogLoad(TD_FIELDS);
  WDialogShow(10, 10, 0, 2);
  HWND parent = current_dialog();
  ASSERT_TRUE(IsWindowVisible(parent));
  quill::dialogs().active_dialog = parent;
  WDialogLoad(TD_CHILD, std::nullopt, -1);
  HWND child = current_dialog();
  ASSERT_EQ(GetParent(child), parent);
  clear_error();
  WDialogShow(-1, -1, 0, 1);
  EXPECT_EQ(last_error(), 1014);
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_EQ(quill::dialog_record(child)->show_type, 2);

  RECT area{};
  GetClientRect(parent, &area);
  RECT own{};
  GetWindowRect(child, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  struct Case {
    int x, y, left, top;
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {9999, 9999, area.right - 1, area.bottom - 1},
      {5000, 2500, (area.right - 1) * 5000 / 9999, (area.bottom - 1) * 2500 / 9999},
      {-1, -1, (area.right - width) / 2, (area.bottom - height) / 2},
  };
  for (const Case& c : cases) {
    WDialogHide();
    WDialogShow(c.x, c.y);
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, c.left) << c.x;
    EXPECT_EQ(rect.top, c.top) << c.y;
  }
  WDialogUnload();
  WDialogSelect(TD_FIELDS);
  WDialogUnload();
  WDialogSelect(TD_KEYPAD);
}

TEST(Events, TypingTabbingEscAndCloseOnAModelessDialog) {
  WDialogLoad(TD_FIELDS);
  WDialogFieldOptions(TD_EDIT_A, 3, 1);
  WDialogShow(20, 20, TD_EDIT_A, 2);
  HWND dialog = current_dialog();
  SetForegroundWindow(dialog);
  drain();
  ASSERT_EQ(GetFocus(), field(TD_EDIT_A));

  press('X');
  Event typed = next_event();
  EXPECT_EQ(typed.type, EvFieldEdited);
  EXPECT_EQ(typed.record.window, TD_FIELDS);
  EXPECT_EQ(typed.record.detail1, TD_EDIT_A);
  EXPECT_EQ(typed.record.detail2, TD_EDIT_A);
  EXPECT_EQ(next_event(400).type, 0);

  press(VK_TAB);
  Event tabbed = next_event();
  EXPECT_EQ(tabbed.type, EvFieldEdited);
  EXPECT_EQ(tabbed.record.detail1, TD_EDIT_A);
  EXPECT_EQ(tabbed.record.detail2, TD_EDIT_B);
  EXPECT_EQ(next_event(400).type, 0);
  // Field B has no change report: typing into it says nothing.
  press('Y');
  EXPECT_EQ(next_event(400).type, 0);

  press(VK_ESCAPE);
  Event escape = wait_for(EvButton);
  EXPECT_EQ(escape.type, EvButton);
  EXPECT_EQ(escape.record.detail1, IDCANCEL);
  EXPECT_TRUE(IsWindowVisible(dialog));
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  Event closed = wait_for(EvButton);
  EXPECT_EQ(closed.type, EvButton);
  EXPECT_EQ(closed.record.detail1, IDCANCEL);
  EXPECT_TRUE(IsWindowVisible(dialog));

  WDialogUnload();
  WDialogSelect(TD_KEYPAD);
  drain();
}

TEST(Show, TabPagesCannotBeHiddenOrUnloadedAlone) {
  WDialogLoad(TD_FIELDS);
  WDialogShow(10, 10);
  HWND fields = current_dialog();
  HWND page = quill::find_dialog(TD_PAGE_ONE);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(GetParent(page), fields);
  EXPECT_TRUE(IsWindowVisible(page));
  EXPECT_FALSE(IsWindowVisible(quill::find_dialog(TD_PAGE_TWO)));
  WDialogSelect(TD_PAGE_ONE);
  for (const auto& routine :
       std::vector<std::function<void()>>{[] { WDialogHide(); }, [] { WDialogUnload(); }}) {
    clear_error();
    routine();
    EXPECT_EQ(last_error(), 1069);
  }
  // Switching the tab reports the page left and the page selected.
  drain();
  HWND tab = GetDlgItem(fields, TD_TAB);
  SetFocus(tab);
  drain();
  press(VK_RIGHT);
  const Event page_switch = wait_for(EvPageSwitch);
  EXPECT_EQ(page_switch.type, EvPageSwitch);
  EXPECT_EQ(page_switch.record.detail1, TD_PAGE_ONE);
  EXPECT_EQ(page_switch.record.detail2, TD_PAGE_TWO);
  EXPECT_TRUE(IsWindowVisible(quill::find_dialog(TD_PAGE_TWO)));
  EXPECT_FALSE(IsWindowVisible(page));

  WDialogSelect(TD_FIELDS);
  WDialogUnload(1);
  EXPECT_NE(quill::find_dialog(TD_PAGE_ONE), nullptr);
  for (int page_id : {TD_PAGE_ONE, TD_PAGE_TWO}) {
    WDialogSelect(page_id);
    WDialogUnload();
  }
  EXPECT_EQ(quill::find_dialog(TD_PAGE_ONE), nullptr);
  WDialogSelect(TD_KEYPAD);
  drain();
}

TEST(Show, ResizableDialogMovesItsFieldsByTheirFlags) {
  WDialogLoad(TD_RESIZABLE);
  WDialogShow(30, 30);
  HWND dialog = current_dialog();
  const quill::DialogRecord* record = quill::dialog_record(dialog);
  ASSERT_NE(record->resize_anchor, nullptr);
  EXPECT_NE(GetDlgItem(dialog, quill::kGripId), nullptr);
  auto rect_of = [&](int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  const RECT list = rect_of(TD_RESIZE_LIST);
  const RECT button = rect_of(TD_RESIZE_BUTTON);
  RECT frame{};
  GetWindowRect(dialog, &frame);
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left + 40, frame.bottom - frame.top + 30,
               SWP_NOMOVE | SWP_NOZORDER);
  const RECT list_after = rect_of(TD_RESIZE_LIST);
  const RECT button_after = rect_of(TD_RESIZE_BUTTON);
  EXPECT_EQ(list_after.left, list.left);
  EXPECT_EQ(list_after.right - list.right, 40);
  EXPECT_EQ(list_after.bottom - list.bottom, 30);
  EXPECT_EQ(button_after.left - button.left, 40);
  EXPECT_EQ(button_after.right - button.right, 40);
  EXPECT_EQ(button_after.top, button.top);

  MINMAXINFO info{};
  SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, record->initial_width);
  EXPECT_EQ(info.ptMinTrackSize.y, record->initial_height);
  WDialogUnload();
  WDialogSelect(TD_KEYPAD);
}

}  // namespace

namespace {

TEST(Show, SemiModelessDisablesTheOthersUntilHidden) {
  HWND frame = quill::windows().windows[0].frame;
  WDialogLoad(TD_MODAL);
  WDialogShow(10, 10);
  HWND modeless = current_dialog();
  WDialogLoad(TD_FIELDS);
  WDialogShow(300, 10, 0, 3);
  HWND semi = current_dialog();
  EXPECT_EQ(quill::dialogs().semi_depth, 1);
  EXPECT_FALSE(IsWindowEnabled(frame));
  EXPECT_FALSE(IsWindowEnabled(modeless));
  EXPECT_TRUE(IsWindowEnabled(semi));

  // A modeless request while it is in force becomes semi-modeless (1014, still shown).
  WDialogLoad(TD_RESIZABLE);
  clear_error();
  WDialogShow(500, 10, 0, 2);
  EXPECT_EQ(last_error(), 1014);
  EXPECT_EQ(quill::dialog_record(current_dialog())->show_type, 3);
  EXPECT_EQ(quill::dialogs().semi_depth, 2);
  EXPECT_FALSE(IsWindowEnabled(semi));
  WDialogUnload();
  EXPECT_EQ(quill::dialogs().semi_depth, 1);
  EXPECT_TRUE(IsWindowEnabled(semi));
  EXPECT_FALSE(IsWindowEnabled(frame));

  WDialogSelect(TD_FIELDS);
  WDialogHide();
  EXPECT_EQ(quill::dialogs().semi_depth, 0);
  EXPECT_TRUE(IsWindowEnabled(frame));
  EXPECT_TRUE(IsWindowEnabled(modeless));
  EXPECT_FALSE(IsWindowVisible(semi));
  WDialogUnload();
  WDialogSelect(TD_MODAL);
  WDialogUnload();
  WDialogSelect(TD_KEYPAD);
  drain();
}

}  // namespace

namespace {

struct InstanceView {
  bool seen = false;
  LRESULT list_count = -1;
  LRESULT tree_count = -1;
  LRESULT tab_count = -1;
  LRESULT trackbar_position = -1;
  std::wstring edit_text;
  bool page_inside = false;
  int fallbacks = 0;
  int ticks_since_click = 0;
};
InstanceView instance_view;

// Reads what the modal instance shows, unchecks its check box and presses OK.
void CALLBACK inspect_modal(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND instance = quill::dialogs().modal_instance;
  if (instance == nullptr) return;
  if (!instance_view.seen && !clickable(GetDlgItem(instance, IDOK))) return;  // not on screen yet
  if (!instance_view.seen) {
    instance_view.seen = true;
    instance_view.list_count = SendDlgItemMessageW(instance, TD_LIST, LB_GETCOUNT, 0, 0);
    instance_view.tree_count = SendDlgItemMessageW(instance, TD_TREE, TVM_GETCOUNT, 0, 0);
    instance_view.tab_count = SendDlgItemMessageW(instance, TD_TAB, TCM_GETITEMCOUNT, 0, 0);
    instance_view.trackbar_position = SendDlgItemMessageW(instance, TD_TRACKBAR, TBM_GETPOS, 0, 0);
    instance_view.edit_text = window_text(GetDlgItem(instance, TD_EDIT_A));
    instance_view.page_inside = GetParent(quill::find_dialog(TD_PAGE_ONE)) == instance;
    SendDlgItemMessageW(instance, TD_CHECK, BM_SETCHECK, BST_UNCHECKED, 0);
    SetWindowTextW(GetDlgItem(instance, TD_EDIT_B), L"back");
    click(GetDlgItem(instance, IDOK));
    return;
  }
  // A loaded machine can take seconds to deliver the click: wait about 10 s for it.
  if (++instance_view.ticks_since_click < 33) return;
  ++instance_view.fallbacks;
  SendDlgItemMessageW(instance, IDOK, BM_CLICK, 0, 0);
  KillTimer(nullptr, timer);
}

TEST(Show, ModalInstanceShowsTheLoadedStateAndGivesItBack) {
  WDialogLoad(TD_FIELDS);
  WDialogPutString(TD_EDIT_A, "shown");
  instance_view = InstanceView{};
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, inspect_modal);
  WDialogShow(-1, -1, TD_EDIT_B, 1);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(instance_view.seen);
  EXPECT_EQ(instance_view.fallbacks, 0);
  EXPECT_EQ(instance_view.list_count, 3);
  EXPECT_EQ(instance_view.tree_count, 4);
  EXPECT_EQ(instance_view.tab_count, 2);
  EXPECT_EQ(instance_view.trackbar_position, 7);
  EXPECT_EQ(instance_view.edit_text, L"shown");
  EXPECT_TRUE(instance_view.page_inside);

  EXPECT_EQ(WDialogQuery(1), IDOK);
  int check = 9;
  WDialogGetCheckBox(TD_CHECK, check);
  EXPECT_EQ(check, 0);
  char text[4];
  WDialogGetString(TD_EDIT_B, text);
  EXPECT_EQ(std::string(text, 4), "back");
  HWND page = quill::find_dialog(TD_PAGE_ONE);
  ASSERT_NE(page, nullptr);
  EXPECT_NE(GetParent(page), current_dialog());
  EXPECT_FALSE(IsWindowVisible(page));
  EXPECT_TRUE(IsWindowEnabled(quill::windows().windows[0].frame));
  WDialogUnload();
  WDialogSelect(TD_KEYPAD);
  drain();
}

}  // namespace
