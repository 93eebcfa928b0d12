// The toolkit-wide settings, one instance for the process.
#include "settings.hpp"

namespace quill {

Settings& settings() {
  static Settings instance;
  return instance;
}

void reset_settings_for_test() { settings() = Settings{}; }

const std::string& temporary_plot_file() {
  Settings& s = settings();
  if (s.temp_plot_file.empty()) choose_temporary_names(s);
  return s.temp_plot_file;
}

}  // namespace quill
