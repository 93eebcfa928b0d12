// Registers the drivers of the image folder with the driver table.
#include "graphics/driver.hpp"

namespace quill {

void register_driver_image() {}

}  // namespace quill
