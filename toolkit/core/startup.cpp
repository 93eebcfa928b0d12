// WStartup: environment, defaults, configuration file and report mode.
#include <algorithm>
#include <cstdio>

#include "base/error_codes.hpp"
#include "command_line.hpp"
#include "config.hpp"
#include "base/platform.hpp"
#include "base/error_state.hpp"
#include "os/os_internal.hpp"
#include "quill/startup.hpp"
#include "text/text_internal.hpp"
#include "settings.hpp"
#include "startup_steps.hpp"

namespace quill {
namespace {

bool ends_with_separator(const std::string& path) {
  return !path.empty() && path.back() == platform::kPathSeparator;
}

void append_separator(std::string& path) {
  if (!path.empty() && !ends_with_separator(path)) path += platform::kPathSeparator;
}

// A path from the environment that does not fit its setting counts as unset.
std::optional<std::string> environment_path(const char* name) {
  std::optional<std::string> value = platform::environment(name);
  if (value && value->size() > kPathLength) return std::nullopt;
  return value;
}

void query_screen(Settings& s) {
  const platform::ScreenInfo screen = platform::screen();
  s.screen_width = screen.width;
  s.screen_height = screen.height;
  s.pixels_per_inch = screen.pixels_per_inch;
  s.bit_planes = std::max(screen.planes, 1);
  s.bits_per_pixel = std::clamp(screen.bits_per_pixel, 1, 24);
  const int depth = std::min(s.bit_planes * s.bits_per_pixel, 24);
  s.colour_count = 1LL << depth;
  s.application_colours = application_colours(s.colour_count);
  const platform::OsVersion version = platform::os_version();
  s.nt_family = version.nt_family;
  s.os_major = version.major;
  s.os_minor = version.minor;
}

void read_config_file(Settings& s) {
  if (s.config_file.empty()) return;
  std::FILE* file = std::fopen(s.config_file.c_str(), "rb");
  if (file == nullptr) return;
  read_config_stream(file, s);
  std::fclose(file);
}

}  // namespace

int application_colours(long long colour_count) {
  switch (colour_count) {
    case 2: return 2;
    case 16: return 8;
    case 256: return 16;
    default: return 256;
  }
}

std::string home_directory_from(const std::optional<std::string>& quilla,
                                const std::optional<std::string>& wide) {
  std::string home;
  if (quilla) {
    home = *quilla;
  } else if (wide) {
    const std::size_t marker = wide->rfind("WIDE");
    home = marker == std::string::npos ? *wide : wide->substr(0, marker);
  }
  append_separator(home);
  if (home.size() > kPathLength) home.clear();
  return home;
}

std::string find_config_file(const std::string& home) {
  if (std::optional<std::string> named = environment_path("QUILINIT")) {
    if (platform::file_exists(*named)) return *named;
  }
  if (platform::file_exists("quilla.ini")) return "quilla.ini";
  if (!home.empty() && platform::file_exists(home + "quilla.ini")) return home + "quilla.ini";
  return {};
}

// The first number 00 to 99 whose plot and dump names are both free; 99 when none is.
TemporaryNames temporary_names(const std::string& directory) {
  TemporaryNames names;
  for (int number = 0; number <= 99; ++number) {
    char digits[3];
    std::snprintf(digits, sizeof(digits), "%02d", number);
    names.plot = directory + "kvs$$" + digits + ".plt";
    names.dump = directory + "kvs$$" + digits + ".dmp";
    if (!platform::file_exists(names.plot) && !platform::file_exists(names.dump)) break;
  }
  return names;
}

void choose_temporary_names(Settings& s) {
  s.temp_directory = os::temporary_directory();
  const TemporaryNames names = temporary_names(s.temp_directory);
  s.temp_plot_file = names.plot;
  s.temp_dump_file = names.dump;
}

}  // namespace quill

bool quill::start_up(std::optional<std::string_view> config_file) {
  using namespace quill;
  Settings& s = settings();
  if (s.initialised == kStartedMarker) return false;
  s.initialised = kStartedMarker;

  query_screen(s);

  s.path_separator = platform::kPathSeparator;
  s.decimal_separator = platform::locale_decimal_separator();
  set_decimal_separator(s.decimal_separator);
  s.home_directory = home_directory_from(environment_path("QUILLA"), environment_path("WIDE"));
  s.general_unit = 40;

  ErrorState& state = errors();
  state.report_mode = 0;
  state.last_error = 0;
  s.plot_unit = 42;

  s.charset_directory = s.home_directory.empty() ? std::string() : s.home_directory + "charsets";
  s.config_file = find_config_file(s.home_directory);
  s.charset_file = "standard.chr";

  choose_temporary_names(s);

  if (const std::optional<std::string> debug = platform::environment("QUILDEBUG")) {
    IErrorMode((*debug)[0] - '0');
  }

  state.last_error = 0;
  capture_command_line();

  if (config_file) {
    std::string_view name = *config_file;
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (!name.empty() && name.size() <= kPathLength && platform::file_exists(std::string(name))) {
      s.config_file.assign(name);
    }
  }
  read_config_file(s);

  if (!s.charset_directory.empty()) append_separator(s.charset_directory);
  s.dump_device = 10;

  if (s.version_requested) IAbnormalExit("Quillanthor version 9.20c", 0);
  return true;
}
