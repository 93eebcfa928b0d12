// Feeds arbitrary bytes to the configuration reader as a whole file: line splitting,
// the line parser and the applier must stay in bounds and keep their invariants.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "core/config.hpp"
#include "core/settings.hpp"
#include "base/error_state.hpp"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

void check_settings(const quill::Settings& s) {
  check(s.general_unit != s.plot_unit);
  check(s.charset_directory.size() <= quill::kPathLength);
  check(s.charset_file.size() <= quill::kCharsetFileLength);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quill::ErrorState& state = quill::errors();

  quill::Settings by_lines;
  quill::for_each_config_line(text, [&](std::string_view line) {
    check(line.size() <= quill::kConfigLineLength);
    const quill::ConfigEntry entry = quill::parse_config_line(line);
    check(entry.value.size() < quill::kConfigLineLength);
    check(entry.value.empty() || (entry.value.front() != ' ' && entry.value.back() != ' '));
    check(entry.value.find('\t') == std::string::npos);
    quill::apply_config_entry(entry, by_lines);
    check(state.last_error == 0);
    check(state.report_mode >= 0 && state.report_mode <= 4);
    state.report_mode = 0;  // reports in other modes would only print
  });
  check_settings(by_lines);

  // The file reader must reach the same settings from the same bytes.
  if (size > 0) {
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file != nullptr) {
      quill::Settings by_stream;
      quill::read_config_stream(file, by_stream);
      std::fclose(file);
      state.report_mode = 0;
      check_settings(by_stream);
      check(by_stream.printer_type == by_lines.printer_type);
      check(by_stream.plotter_type == by_lines.plotter_type);
      check(by_stream.hpgl2_setting == by_lines.hpgl2_setting);
      check(by_stream.general_unit == by_lines.general_unit);
      check(by_stream.plot_unit == by_lines.plot_unit);
      check(by_stream.charset_directory == by_lines.charset_directory);
      check(by_stream.charset_file == by_lines.charset_file);
      check(by_stream.version_requested == by_lines.version_requested);
    }
  }
  return 0;
}
