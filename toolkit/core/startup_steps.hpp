// The pieces of WStartup that depend only on their inputs, for its tests.
#pragma once

#include <optional>
#include <string>

namespace quill {

// The application colour count for a display with colour_count colours.
int application_colours(long long colour_count);

// The toolkit home directory from the values of QUILLA and WIDE (nullopt = unset):
// ends in the path separator when set, empty when neither gives one.
std::string home_directory_from(const std::optional<std::string>& quilla,
                                const std::optional<std::string>& wide);

// The configuration file: QUILINIT when it names an existing file, else "quilla.ini"
// in the current directory, else in home; empty when none exists.
std::string find_config_file(const std::string& home);

struct TemporaryNames {
  std::string plot;
  std::string dump;
};
TemporaryNames temporary_names(const std::string& directory);

}  // namespace quill
