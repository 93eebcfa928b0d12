// The keypad captions as key names, for the key-replay tool and for tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine.hpp"

namespace orlix {

// The key code of a keypad caption ("7", "+", "<-", "M+", "COPY", ...); nullopt if unknown.
std::optional<CalculatorKey> key_from_caption(std::string_view caption);
// Display or copy text as UTF-8: the Windows-1251 letters of the overflow word become
// their Cyrillic characters, ASCII stays as it is.
std::string windows1251_to_utf8(std::string_view text);

}  // namespace orlix
