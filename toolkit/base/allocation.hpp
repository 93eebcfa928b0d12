// Sizes chosen by callers and by files can exceed what the process may allocate. No
// routine ends the process for that: the operation that allocates runs here, and a
// failed allocation becomes the toolkit code the caller reports.
#pragma once

#include <new>
#include <stdexcept>
#include <type_traits>

namespace quill {

// Runs op and returns its result (Result{} for an op returning nothing), or failure when
// op could not get its memory. op must leave its state as it was when it throws: build
// into new storage and commit with operations that cannot fail.
template <typename Result, typename Op>
Result allocating(Result failure, Op&& op) noexcept {
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Op&>>) {
      op();
      return Result{};
    } else {
      return op();
    }
  } catch (const std::bad_alloc&) {
    return failure;
  } catch (const std::length_error&) {
    return failure;
  }
}

}  // namespace quill
