// Toolkit-wide settings gathered by WStartup: screen, operating system, locale,
// directories, temporary names, command line, unit numbers and hardcopy defaults.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quill {

// Texts are kept without blank padding; the limits are the widths of the original
// fixed fields and are enforced when the texts are set.
inline constexpr std::size_t kPathLength = 260;
inline constexpr std::size_t kCharsetFileLength = 248;
inline constexpr std::size_t kCommandLineLength = 2048;
inline constexpr int kStartedMarker = -9999;
inline constexpr int kUndefinedInteger = -999;
inline constexpr float kUndefinedReal = -999.0f;

struct Settings {
  int initialised = 0;  // kStartedMarker once WStartup has run

  // Screen of the desktop.
  int screen_width = 0;
  int screen_height = 0;
  int pixels_per_inch = 96;
  int bit_planes = 1;
  int bits_per_pixel = 24;     // capped at 24
  long long colour_count = 0;  // 2 ** (planes * bits per pixel)
  int application_colours = 256;

  // Operating system.
  bool nt_family = false;
  int os_major = 0;
  int os_minor = 0;

  char path_separator = '\\';
  char decimal_separator = '.';

  std::string home_directory;     // ends in '\' when set
  std::string charset_directory;  // ends in '\' when set
  std::string charset_file;
  std::string config_file;     // empty when none was found
  std::string temp_directory;  // ends in '\'
  std::string temp_plot_file;
  std::string temp_dump_file;
  std::string command_line;  // captured once, at most kCommandLineLength characters
  bool command_line_captured = false;

  int general_unit = 40;
  int plot_unit = 42;

  // Hardcopy defaults from the configuration, for the graphics layer; 0 = not configured.
  // printer_type: the hardcopy driver selected at start (1, 2, 4, 10 or 12 when that
  // driver is present); plotter_type: the pen-plotter model of driver 1 (1..4);
  // hpgl2_setting: the HP-GL/2 printer model of driver 12 (1..5); raster_setting: the
  // raster printer model of driver 4 (1..4). Other values are ignored.
  int printer_type = 0;
  int plotter_type = 0;
  int hpgl2_setting = 0;
  int raster_setting = 0;
  int dump_device = 10;  // the system printer
  bool version_requested = false;
};

Settings& settings();

// Test-only: back to the state before any WStartup.
void reset_settings_for_test();

// WStartup's work once the layers are registered: runs once per process. True when this
// call did the work (the first call), false when start-up had already run.
bool start_up(std::optional<std::string_view> config_file);

// Fills the temporary directory and the two temporary file names from TEMP, TMP or the
// platform's default (the first free number 00 to 99).
void choose_temporary_names(Settings& s);
// The temporary plot file (hardcopy output kept for printing); chosen on first use when
// WStartup has not run.
const std::string& temporary_plot_file();

}  // namespace quill
