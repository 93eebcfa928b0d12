// WMessageBox: the toolkit's general message box, owned by the current window.
#include "base/error_codes.hpp"
#include "base/error_report.hpp"
#include "base/platform.hpp"
#include "base/error_state.hpp"
#include "base/report_hooks.hpp"

namespace quill {
namespace {

using platform::Answer;
using platform::ButtonSet;
using platform::Icon;

ButtonSet button_set(int buttons) {
  switch (buttons) {
    case 1: return ButtonSet::ok_cancel;
    case 2: return ButtonSet::retry_cancel;
    case 3: return ButtonSet::yes_no;
    case 4: return ButtonSet::yes_no_cancel;
    case 5: return ButtonSet::abort_retry_ignore;
    default: return ButtonSet::ok;
  }
}

Icon icon_of(int icon) {
  switch (icon) {
    case 1: return Icon::stop;
    case 2: return Icon::question;
    case 3: return Icon::exclamation;
    case 4: return Icon::information;
    default: return Icon::none;
  }
}

// The default is named by the result value of its button; this gives the button's
// position in the set (Abort, Retry, Ignore has Retry second).
int default_index(ButtonSet set, int default_button) {
  switch (set) {
    case ButtonSet::ok: return 0;
    case ButtonSet::ok_cancel:
    case ButtonSet::retry_cancel:
    case ButtonSet::yes_no: return default_button == 1 ? 0 : 1;
    case ButtonSet::yes_no_cancel: return default_button == 1 ? 0 : default_button == 2 ? 1 : 2;
    case ButtonSet::abort_retry_ignore:
      return default_button == 1 ? 1 : default_button == 2 ? 0 : 2;
  }
  return 0;
}

int result_of(Answer answer) {
  switch (answer) {
    case Answer::ok:
    case Answer::yes:
    case Answer::retry: return 1;
    case Answer::no:
    case Answer::abort: return 2;
    default: return 0;
  }
}

}  // namespace
}  // namespace quill

void WMessageBox(int buttons, int icon, int default_button, std::string_view message,
                 std::string_view title) {
  using namespace quill;
  const ReportHooks& hooks = report_hooks();
  if (hooks.before_message_box) {
    if (const int code = hooks.before_message_box(); code != 0) IErrorReport(code, "WMessageBox");
  }
  platform::MessageBoxRequest request;
  request.text = message;
  request.caption = title;
  request.buttons = button_set(buttons);
  request.icon = icon_of(icon);
  request.default_index = default_index(request.buttons, default_button);
  request.owner = hooks.current_window_handle ? hooks.current_window_handle() : nullptr;
  const platform::Answer answer = platform::message_box(request);
  if (hooks.after_message_box) hooks.after_message_box();
  if (answer == platform::Answer::failed) {
    IErrorReport(quill::error::kCommonDialog, "WMessageBox");
    return;
  }
  errors().last_message_box_result = result_of(answer);
}
