// What the bitmap tests share.
#pragma once

#include "base/error_state.hpp"

// The last error code, which it resets.
inline int take_error() {
  const int code = quill::errors().last_error;
  quill::errors().last_error = 0;
  return code;
}
