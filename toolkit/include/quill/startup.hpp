// Start-up: the first call of an application, and environment access.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// Gathers the environment, sets every toolkit-wide setting to its default, reads the
// configuration file (config_file when it names an existing file, else the one found
// through QUILINIT, the current directory or the toolkit home directory) and sets the
// report mode. Runs once per process; later calls return at once. The two further
// slots are accepted and ignored.
void WStartup(std::optional<std::string_view> config_file = std::nullopt,
              std::optional<int> reserved1 = std::nullopt,
              std::optional<int> reserved2 = std::nullopt);

// Writes the value of environment variable name into value, blank-padded (all blank
// when unset). A value longer than value leaves it blank and reports 1023.
void IOsVariable(std::string_view name, std::span<char> value);
