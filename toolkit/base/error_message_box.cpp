// WMessageBox: the toolkit's general message box, owned by the current window.
#include "base/error_codes.hpp"
#include "base/error_report.hpp"
#include "base/platform.hpp"
#include "base/error_state.hpp"
#include "base/report_layer.hpp"

namespace quill {
namespace {

using platform::Answer;
using platform::ButtonSet;
using platform::Icon;

ButtonSet button_set(int buttons) {
  switch (buttons) {
    case 1: return ButtonSet::OkCancel;
    case 2: return ButtonSet::RetryCancel;
    case 3: return ButtonSet::YesNo;
    case 4: return ButtonSet::YesNoCancel;
    case 5: return ButtonSet::AbortRetryIgnore;
    default: return ButtonSet::Ok;
  }
}

Icon icon_of(int icon) {
  switch (icon) {
    case 1: return Icon::Stop;
    case 2: return Icon::Question;
    case 3: return Icon::Exclamation;
    case 4: return Icon::Information;
    default: return Icon::None;
  }
}

// The default is named by the result value of its button; this gives the button's
// position in the set (Abort, Retry, Ignore has Retry second).
int default_index(ButtonSet set, int default_button) {
  switch (set) {
    case ButtonSet::Ok: return 0;
    case ButtonSet::OkCancel:
    case ButtonSet::RetryCancel:
    case ButtonSet::YesNo: return default_button == 1 ? 0 : 1;
    case ButtonSet::YesNoCancel: return default_button == 1 ? 0 : default_button == 2 ? 1 : 2;
    case ButtonSet::AbortRetryIgnore: return default_button == 1 ? 1 : default_button == 2 ? 0 : 2;
  }
  return 0;
}

int result_of(Answer answer) {
  switch (answer) {
    case Answer::Ok:
    case Answer::Yes:
    case Answer::Retry: return 1;
    case Answer::No:
    case Answer::Abort: return 2;
    default: return 0;
  }
}

}  // namespace
}  // namespace quill

void WMessageBox(int buttons, int icon, int default_button, std::string_view message,
                 std::string_view title) {
  using namespace quill;
  if (const ReportLayer* windows = first_layer_with(&ReportLayer::before_message_box)) {
    if (const int code = windows->before_message_box(); code != 0) IErrorReport(code, "WMessageBox");
  }
  platform::MessageBoxRequest request;
  request.text = message;
  request.caption = title;
  request.buttons = button_set(buttons);
  request.icon = icon_of(icon);
  request.default_index = default_index(request.buttons, default_button);
  request.owner = first_answer(&ReportLayer::current_window_handle);
  const platform::Answer answer = platform::message_box(request);
  tell_layers(&ReportLayer::after_message_box);
  if (answer == platform::Answer::Failed) {
    IErrorReport(quill::error::kCommonDialog, "WMessageBox");
    return;
  }
  errors().last_message_box_result = result_of(answer);
}
