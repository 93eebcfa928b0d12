// Configuration lines: parsing, applying, reading a file.
#include "config.hpp"

#include <algorithm>

#include "base/error_state.hpp"
#include "quill/text.hpp"

namespace quill {
namespace {

std::string_view trim_blanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

struct KeyName {
  std::string_view name;
  ConfigKey key;
};

constexpr KeyName kKeys[] = {
    {"CHARDIR", ConfigKey::Chardir}, {"CHARSET", ConfigKey::Charset}, {"DEBUG", ConfigKey::Debug},
    {"HPGL2", ConfigKey::Hpgl2},     {"LFNGEN", ConfigKey::Lfngen},   {"LFNPLOTI", ConfigKey::Lfnploti},
    {"PLOTTER", ConfigKey::Plotter}, {"PRINTER", ConfigKey::Printer}, {"RASTER", ConfigKey::Raster},
};

void assign_bounded(std::string& target, std::string_view value, std::size_t limit) {
  target.assign(value.substr(0, limit));
}

}  // namespace

ConfigEntry parse_config_line(std::string_view raw) {
  ConfigEntry entry;
  const std::string_view bounded = raw.substr(0, kConfigLineLength);
  const std::size_t equals = bounded.find('=');
  if (equals == std::string_view::npos || equals == 0 || equals == kConfigLineLength - 1) {
    return entry;
  }
  std::string line(bounded);
  std::replace(line.begin(), line.end(), '\t', ' ');
  const std::string_view text = line;

  const std::string_view key_text = trim_blanks(text.substr(0, equals));
  if (key_text.size() < 3) return entry;
  std::string key(key_text.substr(0, 8));
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  entry.version = key.compare(0, 3, "VER") == 0;

  const std::string_view value = trim_blanks(text.substr(equals + 1));
  if (value.empty()) return entry;
  for (const KeyName& known : kKeys) {
    if (key == known.name) {
      entry.key = known.key;
      entry.value.assign(value);
      break;
    }
  }
  return entry;
}

void apply_config_entry(const ConfigEntry& entry, Settings& target) {
  if (entry.version) target.version_requested = true;
  switch (entry.key) {
    case ConfigKey::None: return;
    case ConfigKey::Chardir: assign_bounded(target.charset_directory, entry.value, kPathLength); return;
    case ConfigKey::Charset: assign_bounded(target.charset_file, entry.value, kCharsetFileLength); return;
    default: break;
  }

  ErrorState& state = errors();
  int number = 0;
  IStringToInteger(entry.value, number);
  const int conversion_error = state.last_error;
  state.last_error = 0;
  if (conversion_error != 0) return;
  switch (entry.key) {
    case ConfigKey::Debug: IErrorMode(number); break;
    case ConfigKey::Hpgl2: target.hpgl2_setting = number; break;
    case ConfigKey::Lfngen:
      if (number != target.plot_unit) target.general_unit = number;
      break;
    case ConfigKey::Lfnploti:
      if (number != target.general_unit) target.plot_unit = number;
      break;
    case ConfigKey::Plotter: target.plotter_type = number; break;
    case ConfigKey::Printer: target.printer_type = number; break;
    case ConfigKey::Raster: target.raster_setting = number; break;
    default: break;
  }
}

void read_config_stream(std::FILE* file, Settings& target) {
  std::string line;
  line.reserve(kConfigLineLength);
  bool pending = false;
  for (;;) {
    const int c = std::fgetc(file);
    if (c == EOF) break;
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      apply_config_entry(parse_config_line(line), target);
      line.clear();
      pending = false;
      continue;
    }
    pending = true;
    // One more than the line length is kept so that a CR before LF can be dropped.
    if (line.size() <= kConfigLineLength) line.push_back(static_cast<char>(c));
  }
  if (pending) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    apply_config_entry(parse_config_line(line), target);
  }
}

}  // namespace quill
