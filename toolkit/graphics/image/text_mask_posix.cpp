// Builds without a window system have no font engine: text is not drawn into bitmaps.
#include "graphics/image/text_mask.hpp"

namespace quill {

bool render_text_mask(std::string_view, const TextAttributes&, double, TextMask&) { return false; }

}  // namespace quill
