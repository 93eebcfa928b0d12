// The public question which hardcopy drivers a build has.
#include <algorithm>

#include "graphics/driver.hpp"
#include "quill/graphics.hpp"

void IGrHardCopyDriver(int driver, int& present, std::span<char> default_file) {
  const quill::DriverInfo* info = quill::driver_info(driver);
  const bool has = info != nullptr && quill::probe_driver(driver) != quill::kProbeValue;
  present = has ? 1 : 0;
  const std::string_view file = has ? info->default_file : std::string_view();
  const std::size_t n = std::min(file.size(), default_file.size());
  std::fill(std::copy_n(file.begin(), n, default_file.begin()), default_file.end(), ' ');
}
