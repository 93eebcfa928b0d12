// Calls the registration function of every driver folder the build found.
#include "graphics/driver.hpp"

#define QUILL_DRIVER(folder) void register_driver_##folder();
namespace quill {
#include "registered_drivers.inc"
}  // namespace quill
#undef QUILL_DRIVER

namespace quill {

void register_builtin_drivers() {
#define QUILL_DRIVER(folder) register_driver_##folder();
#include "registered_drivers.inc"
#undef QUILL_DRIVER
}

}  // namespace quill
