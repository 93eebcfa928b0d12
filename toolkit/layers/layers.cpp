// WStartup: the application's first call registers the window layers, then starts core
// and hands the configuration's hardcopy defaults to graphics.
#include "layers/layers.hpp"

#include "core/settings.hpp"
#include "graphics/routines.hpp"
#include "quill/startup.hpp"

void WStartup(std::optional<std::string_view> config_file, std::optional<int>, std::optional<int>) {
  quill::register_window_layers();
  if (quill::start_up(config_file)) quill::apply_hardcopy_defaults();
}
