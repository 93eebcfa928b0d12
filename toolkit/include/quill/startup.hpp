// Start-up: the first call of an application (IOsVariable, the environment, is in os.hpp).
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "quill/os.hpp"

// Gathers the environment, sets every toolkit-wide setting to its default, reads the
// configuration file (config_file when it names an existing file, else the one found
// through QUILINIT, the current directory or the toolkit home directory) and sets the
// report mode. Runs once per process; later calls return at once. The two further
// slots are accepted and ignored.
void WStartup(std::optional<std::string_view> config_file = std::nullopt,
              std::optional<int> reserved1 = std::nullopt, std::optional<int> reserved2 = std::nullopt);
