// The toolkit-wide settings, one instance for the process.
#include "settings.hpp"

namespace quill {

Settings& settings() {
  static Settings instance;
  return instance;
}

void reset_settings_for_test() { settings() = Settings{}; }

}  // namespace quill
