// The Windows printer and metafile drivers need GDI: builds without it have neither, and
// selecting them produces no output.
#include "graphics/driver.hpp"

namespace quill {

void register_driver_gdi() {}

}  // namespace quill
