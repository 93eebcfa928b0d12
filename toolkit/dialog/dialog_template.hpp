// Facts read from a dialog template's bytes before the template is created.
#pragma once

#include <span>
#include <string_view>

namespace quill {

// True when the template names a control class that contains name (compared without
// regard to ASCII case), e.g. "richedit": class names are stored as UTF-16 text. A
// text or title containing name counts too, so the answer may be yes needlessly, never
// no wrongly.
bool template_mentions_class(std::span<const unsigned char> bytes, std::string_view name);

}  // namespace quill
