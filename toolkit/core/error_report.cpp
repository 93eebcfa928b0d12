// The error reporter: records the last-error code and shows one line in the
// current report mode.
#include "quill/errors.hpp"

namespace quill {

ErrorState& errors() {
  static ErrorState state;
  return state;
}

}  // namespace quill

void IErrorMode(int mode) {
  if (mode >= 0 && mode <= 4) quill::errors().report_mode = mode;
}

void IErrorReport(int code, std::string_view routine) {
  quill::ErrorState& state = quill::errors();
  state.last_error = code;
  if (state.report_mode == 0) return;
  (void)routine;
}
