// Shared by the tests of the operating-system services, natively and under Wine.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace os_test {

// The bytes of a file ("" when it cannot be read). The name goes to the stream as bytes,
// never through a path object, which on Windows would re-encode code-page bytes.
inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace os_test
