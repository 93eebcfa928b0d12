// The process-wide error state behind IErrorReport, and the silent try that toolkit
// code uses to test whether a call fails without showing or keeping anything.
#pragma once

#include "quill/errors.hpp"

namespace quill {

struct ErrorState {
  int report_mode = 0;
  int last_error = 0;
  int os_error = 0;           // system error number behind codes 13, 1035, 1044, 1072, 1083, 1084
  int file_error = 0;         // status of the last recorded input/output operation
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
