// Arbitrary bytes as a PCX file.
#include "image_fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return image_fuzz::decode_and_check(quill::decode_pcx, {data, size});
}
