// Error reporting: the one way every toolkit routine reports a failure.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// Records code as the last-error code and shows one report line in the current mode.
void IErrorReport(int code, std::string_view routine);
// Sets the report mode 0 (silent) to 4 (message box); other values are ignored.
void IErrorMode(int mode);
// Writes the message for value from table kind (1 when absent), blank-padded.
void IErrorText(int value, std::span<char> text, std::optional<int> kind = std::nullopt);
// Shows text (unless all blank) in a last message box and ends the process.
[[noreturn]] void IAbnormalExit(std::string_view text, int exit_code);
// Modal message box owned by the current window; the result is kept as the last
// message-box result (1 OK/Yes/Retry, 2 No/Abort, 0 Cancel/Ignore).
void WMessageBox(int buttons, int icon, int default_button, std::string_view message,
                 std::string_view title);

namespace quill {

// The process-wide error state. Toolkit code reads and writes it through errors().
struct ErrorState {
  int report_mode = 0;
  int last_error = 0;
  int os_error = 0;         // system error number behind codes 13, 1035, 1044, 1072, 1083, 1084
  int file_error = 0;       // status of the last recorded input/output operation
  int file_error_source = 0;  // 2 when file_error came from the operating system
  int last_message_box_result = 0;
};

ErrorState& errors();

// Runs call with the report mode and the last-error code both 0, returns the code the
// call left, and restores both: a failure inside shows nothing and leaves no trace.
template <typename Call>
int silent_try(Call&& call) {
  ErrorState& state = errors();
  const int saved_mode = state.report_mode;
  const int saved_error = state.last_error;
  state.report_mode = 0;
  state.last_error = 0;
  call();
  const int code = state.last_error;
  state.report_mode = saved_mode;
  state.last_error = saved_error;
  return code;
}

}  // namespace quill
