// WStartup: the application's first call registers the window layers, then starts core.
#include "layers/layers.hpp"

#include "core/settings.hpp"
#include "quill/startup.hpp"

void WStartup(std::optional<std::string_view> config_file, std::optional<int>, std::optional<int>) {
  quill::register_window_layers();
  quill::start_up(config_file);
}
