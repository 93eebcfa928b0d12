// Shared by the tests of the operating-system services, natively and under Wine.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <span>
#include <sstream>
#include <string>

#include "quill/errors.hpp"
#include "quill/os.hpp"

namespace os_test {

// The bytes of a file ("" when it cannot be read). The name goes to the stream as bytes,
// never through a path object, which on Windows would re-encode code-page bytes.
inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A blank-padded text result without its padding.
inline std::string trimmed(std::span<const char> field) {
  std::string text(field.begin(), field.end());
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// A command run by IOsExecute in mode, and the last-error code and exit code it must give.
struct ExecuteCase {
  std::string command;
  int mode;
  std::optional<int> limit_ms;
  int code;
  int exit_code;
};

inline void expect_execute(const ExecuteCase& c) {
  IErrorReset();
  int exit_code = 12345;
  IOsExecute(c.command, c.mode, exit_code, c.limit_ms);
  EXPECT_EQ(IErrorCode(), c.code) << c.command;
  EXPECT_EQ(exit_code, c.exit_code) << c.command;
}

// Runs command, which outlasts limit_ms: 1034 and no exit code, after limit_ms and
// before most_ms.
inline void expect_time_limit(const std::string& command, int limit_ms, int most_ms) {
  const auto start = std::chrono::steady_clock::now();
  expect_execute({command, 1, limit_ms, 1034, -999});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(limit_ms));
  EXPECT_LT(took, std::chrono::milliseconds(most_ms));
}

}  // namespace os_test
