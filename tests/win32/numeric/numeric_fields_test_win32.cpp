// The numeric classes inside the process: records and up-down controls as created, the
// spin routines' checks, the shared state when fields go away, focus moves that two
// invalid fields or another application cause, and the locale separator.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "dialog/dialog_internal_win32.hpp"
#include "dialog/numeric_state.hpp"
#include "numeric_test_ids.h"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"
#include "quill/text.hpp"
#include "quill/window.hpp"
#include "test_support_win32.hpp"
#include "base/error_state.hpp"
#include "text/text_internal.hpp"

namespace {

class RootWindowEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WindowOpen(3, 200, 100, nullptr, nullptr, std::nullopt, {}, std::nullopt, "Numeric tests");
    win32_test::drain(200);
  }
  void TearDown() override { WindowShutdown(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new RootWindowEnvironment);

class NumericDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::reset_numeric_state();
    WDialogLoad(ND_FIELDS);
    dialog_ = quill::current_dialog_window();
    ASSERT_NE(dialog_, nullptr);
    quill::errors().last_error = 0;
  }
  void TearDown() override {
    if (quill::current_dialog_window() != nullptr) WDialogUnload();
    win32_test::drain(100);
  }
  void show() {
    WDialogShow(40, 40, ND_INT_RANGED, 2);
    win32_test::drain(200);
  }
  HWND field(int id) const { return GetDlgItem(dialog_, id); }
  quill::FieldRecord& record(int id) const { return *quill::field_record(field(id)); }
  std::wstring text(int id) const {
    wchar_t buffer[256] = {};
    GetWindowTextW(field(id), buffer, 256);
    return buffer;
  }
  int read_integer(int id, int& code) const {
    quill::errors().last_error = 0;
    int value = 0;
    WDialogGetInteger(id, value);
    code = quill::errors().last_error;
    return value;
  }
  int beeps(quill::BeepKind kind) const {
    return quill::numeric_state().beeps[static_cast<std::size_t>(kind)];
  }
  HWND dialog_ = nullptr;
};

TEST_F(NumericDialog, FieldsCreateTheirRecordsAndUpDowns) {
  const quill::FieldRecord& ranged = record(ND_INT_RANGED);
  EXPECT_EQ(ranged.small_step, 1.0);
  EXPECT_EQ(ranged.large_step, 5.0);
  EXPECT_EQ(ranged.lower, 1.0);  // from the extended data
  EXPECT_EQ(ranged.upper, 10.0);
  EXPECT_EQ(ranged.value, 5.0);
  EXPECT_EQ(ranged.defined, 1);
  EXPECT_EQ(ranged.max_length, 11);
  EXPECT_EQ(SendMessageW(field(ND_INT_RANGED), EM_GETLIMITTEXT, 0, 0), 11);
  EXPECT_EQ(ranged.companion, nullptr);
  EXPECT_EQ(record(ND_REAL).defined, 0);
  EXPECT_GT(SendMessageW(field(ND_REAL), EM_GETLIMITTEXT, 0, 0), 11);
  EXPECT_EQ(record(ND_REAL_SPIN).format, "(F8.2)");

  for (int id :
       {ND_INT_SPIN, ND_INT_SPIN_TOP, ND_REAL_SPIN, ND_DOUBLE_SPIN, ND_INT_SPIN_FAST, ND_READONLY_SPIN}) {
    HWND updown = static_cast<HWND>(record(id).companion);
    ASSERT_NE(updown, nullptr) << id;
    EXPECT_EQ(GetWindow(field(id), GW_HWNDNEXT), updown) << "the up-down follows its field, " << id;
    EXPECT_EQ(GetDlgCtrlID(updown), 65535);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)), field(id));
    EXPECT_EQ((GetWindowLongPtrW(updown, GWL_STYLE) & UDS_SETBUDDYINT), 0);
    EXPECT_EQ(IsWindowEnabled(updown) != FALSE, id != ND_READONLY_SPIN) << id;
  }
  // Field states skip the up-downs; the read-only spin is state 2.
  EXPECT_EQ(record(ND_READONLY_SPIN).state, 2);
  WDialogFieldState(ND_INT_SPIN, 0);
  EXPECT_FALSE(IsWindowEnabled(static_cast<HWND>(record(ND_INT_SPIN).companion)));
  WDialogFieldState(ND_INT_SPIN, 3);
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(record(ND_INT_SPIN).companion)) && IsWindowVisible(dialog_));
}

TEST_F(NumericDialog, SpinRoutinesRefuseUnusableSteps) {
  struct Case {
    void (*call)();
    int code;
  };
  const Case cases[] = {
      {[] { WDialogSpinStepInteger(ND_INT_SPIN, 0); }, 1009},
      {[] { WDialogSpinStepInteger(ND_INT_SPIN, 2, -1); }, 1009},
      {[] { WDialogSpinStepReal(ND_INT_SPIN, 0.9F, 2.0F); }, 1009},
      {[] { WDialogSpinStepInteger(ND_REAL_SPIN, 2); }, 1006},
      {[] { WDialogSpinStepInteger(ND_INT_RANGED, 2); }, 1006},
      {[] { WDialogSpinStepReal(ND_REAL, 1.0F, 2.0F); }, 1006},
      {[] { WDialogSpinStepReal(ND_CLOSE, 1.0F, 2.0F); }, 1006},
  };
  for (const Case& c : cases) {
    quill::errors().last_error = 0;
    c.call();
    EXPECT_EQ(quill::errors().last_error, c.code);
  }
  EXPECT_EQ(record(ND_INT_SPIN).small_step, 1.0);  // nothing changed by the refusals
  EXPECT_EQ(record(ND_REAL_SPIN).small_step, 1.0);

  quill::errors().last_error = 0;
  WDialogSpinStepInteger(ND_INT_SPIN, 3, std::nullopt, 1);
  EXPECT_EQ(record(ND_INT_SPIN).large_step, 3.0);
  EXPECT_EQ(record(ND_INT_SPIN).spin_base, 1);
  WDialogSpinStepReal(ND_REAL_SPIN, 0.25F, 4.0F);
  EXPECT_EQ(record(ND_REAL_SPIN).small_step, 0.25);
  EXPECT_EQ(record(ND_REAL_SPIN).large_step, 4.0);
  EXPECT_EQ(quill::errors().last_error, 0);
}

TEST_F(NumericDialog, UnloadingLeavesNoHandleOfItsFields) {
  show();
  HWND ranged = field(ND_INT_RANGED);
  ASSERT_EQ(GetFocus(), ranged);
  WDialogPutString(ND_INT_RANGED, "11");
  SetFocus(field(IDCANCEL));  // the check is left to the button's command
  EXPECT_EQ(quill::dialogs().pending_invalid, ranged);
  EXPECT_EQ(quill::numeric_state().last_valid_owner, ranged);
  quill::numeric_state().tab_return = ranged;
  WDialogUnload();
  EXPECT_EQ(quill::dialogs().pending_invalid, nullptr);
  EXPECT_EQ(quill::numeric_state().last_valid_owner, nullptr);
  EXPECT_EQ(quill::numeric_state().tab_return, nullptr);
  EXPECT_TRUE(quill::numeric_state().last_valid_text.empty());
}

TEST_F(NumericDialog, TwoInvalidFieldsDoNotPassTheFocusBackAndForth) {
  show();
  WDialogPutString(ND_INT_RANGED, "11");
  WDialogPutString(ND_INT_OPTION, "12");
  SetFocus(field(ND_INT_OPTION));
  win32_test::drain(500);
  EXPECT_EQ(GetFocus(), field(ND_INT_RANGED));
  EXPECT_EQ(beeps(quill::BeepKind::ValidationFailure), 1);
  EXPECT_FALSE(quill::numeric_state().handling_failure);
  // The other invalid field had the focus for a moment only: its check did not run.
  EXPECT_EQ(text(ND_INT_OPTION), L"12");
}

TEST_F(NumericDialog, AnotherApplicationGetsTheFocusWithoutAFight) {
  show();
  WDialogPutString(ND_DOUBLE, "1-");
  SetFocus(field(ND_DOUBLE));
  SendMessageW(field(ND_DOUBLE), EM_SETMODIFY, TRUE, 0);
  SendMessageW(field(ND_DOUBLE), WM_KILLFOCUS, 0, 0);  // what leaving for another application sends
  EXPECT_EQ(beeps(quill::BeepKind::ValidationFailure), 0);
  EXPECT_EQ(text(ND_DOUBLE), L"1-");
  int code = 0;
  EXPECT_EQ(read_integer(ND_DOUBLE, code), -999);
  EXPECT_EQ(code, 12);

  // A valid text is still written back in its canonical form.
  WDialogPutString(ND_INT_FREE, "+42");
  SetFocus(field(ND_INT_FREE));
  SendMessageW(field(ND_INT_FREE), WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(text(ND_INT_FREE), L"42");
}

TEST_F(NumericDialog, ProgramTextThatIsNotANumberReadsUndefined) {
  struct Case {
    int id;
    const char* text;
    int expected;
    int code;
  };
  const Case cases[] = {{ND_INT_FREE, "abc", -999, 12},
                        {ND_INT_FREE, "99999999999", -999, 1010},
                        {ND_INT_FREE, "-2147483648", -2147483647 - 1, 0},
                        {ND_REAL, "1E39", -999, 1010},
                        {ND_DOUBLE, "1D39", 2147483647, 0},
                        {ND_REAL, "2.9", 2, 0}};
  for (const Case& c : cases) {
    WDialogPutString(c.id, c.text);
    int code = 0;
    EXPECT_EQ(read_integer(c.id, code), c.expected) << c.text;
    EXPECT_EQ(code, c.code) << c.text;
  }
}

// Presses the upper arrow of a spin field's up-down control with the mouse messages a
// click sends.
void click_up_arrow(HWND updown) {
  RECT client{};
  GetClientRect(updown, &client);
  const LPARAM point = MAKELPARAM(client.right / 2, client.bottom / 4);
  SendMessageW(updown, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(updown, WM_LBUTTONUP, 0, point);
}

struct ModalView {
  bool seen = false;
  bool own_updown = false;
  std::wstring stepped;
};
ModalView modal_view;

void CALLBACK step_in_modal(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND instance = quill::dialogs().modal_instance;
  if (instance == nullptr) return;
  KillTimer(nullptr, timer);
  HWND spin = GetDlgItem(instance, ND_INT_SPIN);
  HWND updown = static_cast<HWND>(quill::field_record(spin)->companion);
  modal_view.seen = true;
  modal_view.own_updown =
      updown != nullptr && GetParent(updown) == instance && GetWindow(spin, GW_HWNDNEXT) == updown;
  if (updown != nullptr) click_up_arrow(updown);
  wchar_t buffer[32] = {};
  GetWindowTextW(spin, buffer, 32);
  modal_view.stepped = buffer;
  SendDlgItemMessageW(instance, IDCANCEL, BM_CLICK, 0, 0);
}

TEST_F(NumericDialog, ModalDisplayStepsItsOwnUpDownAndKeepsTheLoadedOne) {
  HWND loaded_updown = static_cast<HWND>(record(ND_INT_SPIN).companion);
  modal_view = ModalView{};
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, step_in_modal);
  WDialogShow(-1, -1, ND_INT_RANGED, 1);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(modal_view.seen);
  EXPECT_TRUE(modal_view.own_updown);
  EXPECT_EQ(modal_view.stepped, L"4");
  EXPECT_EQ(text(ND_INT_SPIN), L"4");  // copied back
  ASSERT_EQ(record(ND_INT_SPIN).companion, loaded_updown);
  show();
  click_up_arrow(loaded_updown);
  EXPECT_EQ(text(ND_INT_SPIN), L"5");
  EXPECT_EQ(record(ND_INT_SPIN).value, 5.0);
}

// A locked spin field changes neither its text nor its value and reports no change,
// whether a person presses keys in it or turns the wheel, or its arrows are pressed
// (they are enabled here on purpose: the field, not its up-down, must refuse the step).
TEST_F(NumericDialog, ReadOnlyAndDisabledSpinFieldsIgnoreEveryStep) {
  show();
  SetForegroundWindow(dialog_);
  WDialogFieldState(ND_DOUBLE_SPIN, 0);
  struct Case {
    int id;
    const wchar_t* text;
  };
  for (const Case& c :
       {Case{ND_READONLY_INT_SPIN, L"42"}, Case{ND_READONLY_SPIN, L"8"}, Case{ND_DOUBLE_SPIN, L"0"}}) {
    HWND spin = field(c.id);
    HWND updown = static_cast<HWND>(record(c.id).companion);
    if (IsWindowEnabled(spin)) {
      SetFocus(spin);
      win32_test::drain(100);
      ASSERT_EQ(GetFocus(), spin) << c.id;
      for (const WORD key : {VK_UP, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT}) win32_test::press(key);
      win32_test::mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
    } else {  // no input reaches a disabled window; its messages still may
      SendMessageW(spin, WM_KEYDOWN, VK_UP, 0);
      SendMessageW(spin, WM_KEYUP, VK_UP, 0);
    }
    win32_test::drain(200);
    EXPECT_EQ(text(c.id), c.text) << "after keys and the wheel";
    EnableWindow(updown, TRUE);
    click_up_arrow(updown);
    for (win32_test::Event e = win32_test::next_input_event(500); !win32_test::is_timeout(e);
         e = win32_test::next_input_event(500)) {
      EXPECT_FALSE(e.type == EvFieldEdited && e.record.detail1 == c.id && e.record.detail2 == c.id) << c.id;
    }
    EXPECT_EQ(text(c.id), c.text);
    int code = 0;
    EXPECT_EQ(read_integer(c.id, code), std::stoi(c.text)) << c.id;
    EXPECT_EQ(code, 0) << c.id;
  }
}

TEST(NumericLocale, InitialTextTakesTheLocaleSeparator) {
  quill::set_decimal_separator(',');
  quill::set_locale_separator_enabled(true);
  WDialogLoad(ND_FIELDS);
  HWND spin = GetDlgItem(quill::current_dialog_window(), ND_REAL_SPIN);
  wchar_t buffer[32] = {};
  GetWindowTextW(spin, buffer, 32);
  const double value = quill::field_record(spin)->value;
  WDialogUnload();
  quill::set_locale_separator_enabled(false);
  quill::set_decimal_separator('.');
  EXPECT_STREQ(buffer, L"1,5");
  EXPECT_EQ(value, 1.5);
}

}  // namespace
