// Toolkit-wide settings of the text conversions, set at start-up.
#pragma once

namespace quill {

struct TextSettings {
  char decimal_separator = '.';
  bool locale_separator = false;  // number texts use decimal_separator
};

TextSettings& text_settings();
// Test-only: back to the settings after start-up.
void reset_text_settings();

}  // namespace quill
