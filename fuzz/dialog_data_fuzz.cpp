// Feeds arbitrary bytes to the extended dialog data parser: it must stay inside the
// data (the buffer is exactly the input, so AddressSanitizer sees any overrun) and keep
// its length limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dialog/dialog_data.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const quill::DialogData parsed = quill::parse_dialog_data(text);
  for (const quill::DataEntry& entry : parsed.entries) {
    if (entry.section == quill::DataSection::Fonts && entry.text.size() > quill::kFaceNameLimit) std::abort();
    if (entry.text.size() > quill::kDataLineLimit) std::abort();
    for (const auto& line : entry.lines) {
      if (line.size() > quill::kDataLineLimit) std::abort();
    }
    for (const auto& tab : entry.tabs) {
      if (tab.text.size() > quill::kDataLineLimit) std::abort();
    }
    if (entry.count < 0) std::abort();
  }
  return 0;
}
