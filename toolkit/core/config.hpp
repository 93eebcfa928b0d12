// The configuration file: key=value lines. A parser turns one line into a plain
// ConfigEntry; a separate step applies entries to the settings.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "settings.hpp"

namespace quill {

// Only this many characters of a line are read; the rest is lost.
inline constexpr std::size_t kConfigLineLength = 270;

enum class ConfigKey { None, Chardir, Charset, Debug, Hpgl2, Lfngen, Lfnploti, Plotter, Printer, Raster };

struct ConfigEntry {
  bool version = false;  // the key begins with "VER"
  ConfigKey key = ConfigKey::None;
  std::string value;  // trimmed; empty when the line has none
};

// Parses one line (without its line end). Lines that are ignored give an entry with
// neither version nor key.
ConfigEntry parse_config_line(std::string_view line);

// Applies an entry to settings: text keys take the value as it stands, integer keys
// only when the value converts as a decimal integer (the conversion reports in the
// current mode; the last-error code is set back to 0 afterwards).
void apply_config_entry(const ConfigEntry& entry, Settings& target);

// Splits data into lines (LF or CR LF ends a line; the last line needs no end), each
// cut to kConfigLineLength characters, and calls line for each.
template <typename LineFn>
void for_each_config_line(std::string_view data, LineFn&& line) {
  while (!data.empty()) {
    std::size_t end = data.find('\n');
    std::string_view text = data.substr(0, end);
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    line(text.substr(0, kConfigLineLength));
  }
}

// Reads the configuration from an open file until its end or a read error, keeping
// at most kConfigLineLength characters per line, and applies every line.
void read_config_stream(std::FILE* file, Settings& target);

}  // namespace quill
