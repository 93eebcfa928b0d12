// The PNG encoder's body, for encode_png, which checks the description first.
#pragma once

#include "graphics/image/image_encoders.hpp"

namespace quill {

// Writes a valid description as PNG: one IDAT compressed in one zlib call at the default
// level, rows unfiltered. May throw std::bad_alloc.
ImageResult write_png(const PixelBuffer& image, ByteSink& sink);

}  // namespace quill
