// The extended data as it lands on the controls, and the field routines on every kind.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/dialog_internal_win32.hpp"
#include "dialog_test_ids.h"
#include "dialog_test_support.hpp"
#include "dialog/dialog_settings.hpp"
#include "quill/dialog.hpp"

namespace {

using namespace dialog_test;

class FieldsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    WDialogLoad(TD_FIELDS);
    dialog_ = current_dialog();
    ASSERT_NE(dialog_, nullptr);
    clear_error();
  }
  void TearDown() override {
    WDialogSelect(TD_FIELDS);
    WDialogUnload();
    WDialogSelect(TD_KEYPAD);
    drain();
  }
  quill::FieldRecord& record(int id) { return *quill::field_record(GetDlgItem(dialog_, id)); }
  LRESULT send(int id, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(GetDlgItem(dialog_, id), message, wparam, lparam);
  }
  std::string get_string(int id, std::size_t size) {
    std::string text(size, '#');
    WDialogGetString(id, text);
    return text;
  }
  HWND dialog_ = nullptr;
};

TEST_F(FieldsDialog, ExtendedDataLandsOnEveryKindOfControl) {
  EXPECT_EQ(send(TD_PROGRESS, PBM_GETRANGE, TRUE, 0), 10);
  EXPECT_EQ(send(TD_PROGRESS, PBM_GETRANGE, FALSE, 0), 90);
  EXPECT_EQ(send(TD_PROGRESS, PBM_GETPOS), 40);
  EXPECT_EQ(send(TD_TRACKBAR, TBM_GETRANGEMAX), 50);
  EXPECT_EQ(send(TD_TRACKBAR, TBM_GETPOS), 7);
  EXPECT_EQ(send(TD_TRACKBAR, TBM_GETLINESIZE), 2);
  EXPECT_EQ(send(TD_TRACKBAR, TBM_GETPAGESIZE), 10);
  EXPECT_EQ(send(TD_TRACKBAR, TBM_GETSELSTART), 3);
  EXPECT_EQ(send(TD_TRACKBAR, TBM_GETSELEND), 9);
  EXPECT_EQ(record(TD_RANGED).lower, 1.0);
  EXPECT_EQ(record(TD_RANGED).upper, 3.0);

  // A plain check box became automatic and took its initial state.
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog_, TD_CHECK), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_EQ(send(TD_CHECK, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog_, TD_RADIO_2), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);

  ASSERT_EQ(send(TD_LIST, LB_GETCOUNT), 3);
  wchar_t option[32] = {};
  send(TD_LIST, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(option));
  EXPECT_STREQ(option, L"  word");
  EXPECT_EQ(send(TD_LIST, LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(record(TD_LIST).flags, 1);
  EXPECT_EQ(send(TD_DROPDOWN, CB_GETCURSEL), 1);

  ASSERT_EQ(send(TD_TAB, TCM_GETITEMCOUNT), 2);
  const wchar_t* tab_texts[] = {L"First", L"Second page"};
  for (int index = 0; index < 2; ++index) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    send(TD_TAB, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, tab_texts[index]);
  }
  EXPECT_EQ(send(TD_TAB, TCM_GETCURSEL), 0);  // page 999 names no tab
  EXPECT_NE(quill::find_dialog(TD_PAGE_ONE), nullptr);
  EXPECT_NE(quill::find_dialog(TD_PAGE_TWO), nullptr);
  EXPECT_EQ(quill::dialogs().current_handle, TD_FIELDS);

  EXPECT_EQ(record(TD_EDIT_A).text_colour, 160 << 16);
  EXPECT_EQ(record(TD_EDIT_A).background_colour, -1);
  EXPECT_EQ(record(TD_EDIT_B).text_colour, 10 | 20 << 8 | 30 << 16);  // red -1 kept it
  EXPECT_EQ(record(TD_EDIT_B).background_colour, -1);

  EXPECT_EQ(send(TD_MULTI, EM_GETLIMITTEXT), 18);
  EXPECT_EQ(record(TD_MULTI).max_length, 18);
  EXPECT_EQ(record(TD_COMBO).max_length, 5);
  EXPECT_EQ(record(TD_EDIT_B).max_length, 32767);
  EXPECT_EQ(record(TD_EDIT_A).format, "(F8.2)");

  EXPECT_EQ(send(TD_TREE, TVM_GETCOUNT), 4);
  TVITEMW selected{};
  selected.mask = TVIF_PARAM;
  selected.hItem = reinterpret_cast<HTREEITEM>(send(TD_TREE, TVM_GETNEXTITEM, TVGN_CARET));
  ASSERT_NE(selected.hItem, nullptr);
  send(TD_TREE, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&selected));
  EXPECT_EQ(selected.lParam, TD_TREE_LEAF);

  LOGFONTW font{};
  ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(send(TD_STATIC, WM_GETFONT)), sizeof(font), &font), 0);
  EXPECT_STREQ(font.lfFaceName, L"Microsoft Sans Serif");
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfItalic, 1);

  // Every visible, enabled field starts enabled.
  EXPECT_EQ(record(TD_EDIT_A).state, 1);
}

TEST_F(FieldsDialog, UnloadTakesTheTabPagesWithIt) {
  WDialogUnload();
  EXPECT_EQ(quill::find_dialog(TD_PAGE_ONE), nullptr);
  EXPECT_EQ(quill::find_dialog(TD_PAGE_TWO), nullptr);
  WDialogLoad(TD_FIELDS);
}

TEST_F(FieldsDialog, NumbersFromTextAndTheUndefinedValue) {
  struct Case {
    const char* text;
    int integer;
    float real;
    int error;
  };
  const Case cases[] = {
      {"2.9", 2, 2.9f, 0},
      {"-2.9", -2, -2.9f, 0},
      {"17", 17, 17.0f, 0},
      {"", -999, -999.0f, 1010},
      {"   ", -999, -999.0f, 1010},
      // Text that is not a number reports the conversion's code and gives the
      // undefined value, so it cannot pass for a field holding 0.
      {"0", 0, 0.0f, 0},
      {"abc", -999, -999.0f, 12},
      {"1.2.3", -999, -999.0f, 11},
      {"1E2.5", -999, -999.0f, 12},
      {"1E999", -999, -999.0f, 4},
  };
  for (const Case& c : cases) {
    WDialogPutString(TD_EDIT_B, c.text);
    clear_error();
    int integer = 0;
    WDialogGetInteger(TD_EDIT_B, integer);
    EXPECT_EQ(integer, c.integer) << c.text;
    EXPECT_EQ(last_error(), c.error) << c.text;
    clear_error();
    float real = 0.0f;
    WDialogGetReal(TD_EDIT_B, real);
    EXPECT_FLOAT_EQ(real, c.real) << c.text;
    EXPECT_EQ(last_error(), c.error) << c.text;
  }
  // Beyond single precision the real reader fails; the integer reader saturates.
  WDialogPutString(TD_EDIT_B, "1E39");
  clear_error();
  float beyond = 0.0f;
  WDialogGetReal(TD_EDIT_B, beyond);
  EXPECT_EQ(beyond, -999.0f);
  EXPECT_EQ(last_error(), 4);
  clear_error();
  int saturated = 0;
  WDialogGetInteger(TD_EDIT_B, saturated);
  EXPECT_EQ(saturated, 2147483647);
  EXPECT_EQ(last_error(), 0);
  // The static text is read the same way.
  int from_static = 0;
  WDialogGetInteger(TD_STATIC, from_static);
  EXPECT_EQ(from_static, 2);
}

TEST_F(FieldsDialog, IntegersAndRealsRespectTheRange) {
  WDialogPutInteger(TD_RANGED, 2);
  EXPECT_EQ(get_string(TD_RANGED, 3), "2  ");
  clear_error();
  WDialogPutInteger(TD_RANGED, 5);
  EXPECT_EQ(last_error(), 1009);
  EXPECT_EQ(get_string(TD_RANGED, 3), "2  ");
  clear_error();
  WDialogPutReal(TD_RANGED, 3.5f);
  EXPECT_EQ(last_error(), 1009);

  WDialogRangeInteger(TD_RANGED);
  clear_error();
  WDialogPutInteger(TD_RANGED, -123456);
  EXPECT_EQ(last_error(), 0);
  EXPECT_EQ(get_string(TD_RANGED, 8), "-123456 ");
  EXPECT_EQ(record(TD_RANGED).value, -123456.0);
  EXPECT_EQ(record(TD_RANGED).defined, 1);
  WDialogRangeInteger(TD_RANGED, 0);
  EXPECT_EQ(record(TD_RANGED).upper, 2147483647.0);

  // A display format is for the real classes: a plain edit field writes "(G15.5E2)".
  WDialogPutReal(TD_EDIT_A, 2.5f);
  EXPECT_EQ(get_string(TD_EDIT_A, 7), "2.5000 ");
  WDialogPutReal(TD_EDIT_A, 2.5f, "(F5.1)  ");
  EXPECT_EQ(get_string(TD_EDIT_A, 6), "2.5   ");
  EXPECT_EQ(record(TD_EDIT_A).format, "(F5.1)");
}

TEST_F(FieldsDialog, StringsArePaddedAndTrimmed) {
  WDialogPutString(TD_EDIT_A, "Z");
  EXPECT_EQ(get_string(TD_EDIT_A, 1), "Z");
  WDialogPutString(TD_EDIT_A, "   ");
  EXPECT_EQ(window_text(GetDlgItem(dialog_, TD_EDIT_A)), L"");
  EXPECT_EQ(get_string(TD_EDIT_A, 1), " ");
  EXPECT_EQ(record(TD_EDIT_A).defined, 0);
  WDialogPutString(TD_EDIT_A, "ab  c  ");
  int length = 0;
  WDialogGetStringLength(TD_EDIT_A, length);
  EXPECT_EQ(length, 5);
  EXPECT_EQ(get_string(TD_EDIT_A, 3), "ab ");
  clear_error();
  EXPECT_EQ(get_string(TD_MISSING, 2), "  ");
  EXPECT_EQ(last_error(), 1006);
}

TEST_F(FieldsDialog, FieldTextGoesThroughTheFieldsCodePage) {
  quill::set_field_code_page(TD_EDIT_A, 1251);
  const std::string cyrillic = "\xCE\xE2\xE5\xF0";
  WDialogPutString(TD_EDIT_A, cyrillic);
  EXPECT_EQ(window_text(GetDlgItem(dialog_, TD_EDIT_A)), L"\x041E\x0432\x0435\x0440");
  EXPECT_EQ(get_string(TD_EDIT_A, 4), cyrillic);
}

TEST_F(FieldsDialog, FocusAndCaretPosition) {
  WDialogShow(40, 40);
  WDialogPutString(TD_EDIT_A, "abcdef");
  struct Case {
    std::optional<int> position;
    DWORD start;
    DWORD end;
  };
  const Case cases[] = {{1, 0, 0}, {3, 2, 2}, {std::nullopt, 0, 6}};
  for (const Case& c : cases) {
    WDialogSetField(TD_EDIT_A, c.position);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, TD_EDIT_A));
    DWORD start = 99;
    DWORD end = 99;
    send(TD_EDIT_A, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(end, c.end);
  }
  EXPECT_EQ(quill::dialog_record(dialog_)->current_field, TD_EDIT_A);
}

TEST_F(FieldsDialog, ChecksAndRadioGroups) {
  WDialogPutRadioButton(TD_RADIO_2);
  int position = 0;
  WDialogGetRadioButton(TD_RADIO_3, position);
  EXPECT_EQ(position, 2);
  WDialogPutRadioButton(TD_RADIO_3);
  EXPECT_EQ(send(TD_RADIO_2, BM_GETCHECK), BST_UNCHECKED);
  WDialogClearField(TD_RADIO_1);
  clear_error();
  WDialogGetRadioButton(TD_RADIO_1, position);
  EXPECT_EQ(position, -999);
  EXPECT_EQ(last_error(), 1010);

  WDialogPutCheckBox(TD_CHECK, 0);
  int state = 9;
  WDialogGetCheckBox(TD_CHECK, state);
  EXPECT_EQ(state, 0);
  for (int id : {TD_EDIT_A, TD_OTHER}) {
    clear_error();
    WDialogPutCheckBox(id, 1);
    EXPECT_EQ(last_error(), 1006);
  }
  clear_error();
  WDialogPutRadioButton(TD_CHECK);
  EXPECT_EQ(last_error(), 1006);
}

TEST_F(FieldsDialog, OptionLists) {
  const std::string_view options[] = {"a  ", "b", "c"};
  int selected = 0;
  char text[4];
  WDialogPutMenu(TD_LIST, options, 3, 0);
  clear_error();
  WDialogGetMenu(TD_LIST, selected);
  EXPECT_EQ(selected, -999);
  EXPECT_EQ(last_error(), 1010);
  WDialogPutMenu(TD_LIST, options, 3, 2);
  WDialogGetMenu(TD_LIST, selected, text);
  EXPECT_EQ(selected, 2);
  EXPECT_EQ(std::string(text, 4), "b   ");
  clear_error();
  WDialogPutMenu(TD_LIST, options, 2, 3);
  EXPECT_EQ(last_error(), 1011);
  EXPECT_EQ(send(TD_LIST, LB_GETCOUNT), 2);

  struct Case {
    const char* free_text;
    int selected;
    int error;
  };
  const Case cases[] = {{"b", 2, 0}, {"free", 0, 0}, {"", -999, 1010}};
  for (const Case& c : cases) {
    WDialogPutMenu(TD_COMBO, options, 3, 0, c.free_text);
    clear_error();
    WDialogGetMenu(TD_COMBO, selected, text);
    EXPECT_EQ(selected, c.selected) << c.free_text;
    EXPECT_EQ(last_error(), c.error) << c.free_text;
  }
  clear_error();
  WDialogPutMenu(TD_EDIT_A, options, 3, 1);
  EXPECT_EQ(last_error(), 1006);
}

TEST_F(FieldsDialog, StatesOptionsClearingAndImages) {
  WDialogFieldState(TD_EDIT_A, 2);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, TD_EDIT_A)));
  EXPECT_NE(GetWindowLongPtrW(GetDlgItem(dialog_, TD_EDIT_A), GWL_STYLE) & ES_READONLY, 0);
  WDialogFieldState(TD_OTHER, 2);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, TD_OTHER)));
  WDialogFieldState(TD_EDIT_B, 3);
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog_, TD_EDIT_B), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(record(TD_EDIT_B).state, 3);
  int state = 0;
  WDialogGetFieldState(TD_EDIT_B, state);
  EXPECT_EQ(state, 3);
  WDialogFieldState(TD_EDIT_B, 1);
  EXPECT_NE(GetWindowLongPtrW(GetDlgItem(dialog_, TD_EDIT_B), GWL_STYLE) & WS_VISIBLE, 0);

  clear_error();
  WDialogFieldOptions(TD_COMBO, 3, 1);
  WDialogFieldOptions(TD_EDIT_A, 7, 1);  // unknown options are ignored
  EXPECT_EQ(last_error(), 0);
  EXPECT_EQ(record(TD_COMBO).change_report, 1);
  for (int option : {3, 4}) {
    clear_error();
    WDialogFieldOptions(TD_LIST, option, 1);
    EXPECT_EQ(last_error(), 1006);
  }
  clear_error();
  WDialogFieldOptions(TD_EDIT_A, 4, 1);
  EXPECT_EQ(last_error(), 1006);

  WDialogClearField(TD_PROGRESS);
  EXPECT_EQ(send(TD_PROGRESS, PBM_GETPOS), 10);
  WDialogClearField(TD_TRACKBAR);
  EXPECT_EQ(send(TD_TRACKBAR, TBM_GETSELSTART), send(TD_TRACKBAR, TBM_GETSELEND));
  WDialogClearField(TD_TREE);
  EXPECT_EQ(send(TD_TREE, TVM_GETCOUNT), 0);
  WDialogClearField(TD_LIST);
  EXPECT_EQ(send(TD_LIST, LB_GETCOUNT), 0);
  clear_error();
  WDialogClearField(TD_TAB);
  EXPECT_EQ(last_error(), 1006);

  // A metafile handle in range whose recording was never completed: 1061.
  struct Case {
    int id;
    int type;
    int code;
  };
  const Case missing[] = {{TD_IMAGE_BITMAP, 1, 1015},
                          {4711, 2, 1015},
                          {0, 2, 1015},
                          {TD_IMAGE_METAFILE, 5, 1015},
                          {1, 3, 1015},
                          {21, 4, 1015},
                          {1, 4, 1061}};
  for (const Case& c : missing) {
    clear_error();
    WDialogPutImage(TD_STATIC, c.id, c.type);
    EXPECT_EQ(last_error(), c.code) << c.id << " " << c.type;
  }
}

}  // namespace
