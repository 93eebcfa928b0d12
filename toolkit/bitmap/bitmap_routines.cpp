// The public bitmap operations: copying with bitwise modes, rotating, single pixels.
#include <new>

#include "base/error_codes.hpp"
#include "bitmap/bitmap_ops.hpp"
#include "bitmap/screen_pixels.hpp"
#include "graphics/drawing_state.hpp"
#include "quill/bitmap.hpp"
#include "quill/errors.hpp"

namespace quill {

const ScreenPixels* screen_pixels() { return first_layer_with(&ScreenPixels::read); }

namespace {

// Where a handle's pixels are: a memory bitmap (with its handle), the screen drawable,
// or nowhere (code says why).
struct PixelPlace {
  MemoryBitmap* bitmap = nullptr;
  int id = 0;
  bool screen = false;
  int code = 0;
};

PixelPlace place_of(int handle) {
  PixelPlace place;
  if (handle != 0) {
    place.bitmap = bitmap_slot(handle);
    place.id = handle;
    if (place.bitmap == nullptr) place.code = error::kInvalidBitmap;
    return place;
  }
  const Drawable& drawable = drawing().drawable;
  switch (drawable.kind) {
    case DrawableKind::Bitmap:
      place.bitmap = current_bitmap();
      place.id = drawable.id;
      if (place.bitmap == nullptr) place.code = error::kDrawingSurface;
      break;
    case DrawableKind::Metafile: place.code = error::kMetafileBitmapOperation; break;
    case DrawableKind::Window:
    case DrawableKind::Field:
      place.screen = true;
      if (screen_pixels() == nullptr) place.code = error::kDrawingSurface;
      break;
    default: place.code = error::kDrawingSurface; break;
  }
  return place;
}

int copy(int source, PixelBox box, int target, int to_x, int to_y, BitwiseMode mode) {
  const PixelPlace from = place_of(source);
  if (from.code != 0) return from.code;
  const PixelPlace to = place_of(target);
  if (to.code != 0) return to.code;
  std::unique_ptr<MemoryBitmap> read;
  const MemoryBitmap* pixels = from.bitmap;
  if (from.screen) {
    read = screen_pixels()->read(box);
    if (!read) return error::kBitmapCopy;
    pixels = read.get();
    box.x = box.y = 0;
  }
  if (to.screen) return screen_pixels()->write(*pixels, box, to_x, to_y, mode) ? 0 : error::kBitmapCopy;
  copy_pixels(*pixels, box, *to.bitmap, to_x, to_y, mode);
  bitmap_changed(to.id);
  return 0;
}

}  // namespace
}  // namespace quill

using namespace quill;

void WBitmapCopy(int source, int x, int y, int width, int height, int target, int to_x, int to_y,
                 std::optional<int> mode) {
  const int bits = mode.value_or(BitmapCopyMode);
  if (!valid_bitwise_mode(bits)) {
    IErrorReport(error::kBitwiseMode, "WBitmapCopy");
    return;
  }
  int code = 0;
  try {
    code = copy(source, {x, y, width, height}, target, to_x, to_y, static_cast<BitwiseMode>(bits));
  } catch (const std::bad_alloc&) {
    code = error::kBitmapCopy;
  }
  if (code != 0) IErrorReport(code, "WBitmapCopy");
}

void WBitmapRotate(int handle, int angle) {
  if (angle != 90 && angle != 180 && angle != 270) {
    IErrorReport(error::kRotationAngle, "WBitmapRotate");
    return;
  }
  MemoryBitmap* bitmap = bitmap_slot(handle);
  if (bitmap == nullptr) {
    IErrorReport(error::kInvalidBitmap, "WBitmapRotate");
    return;
  }
  try {
    bitmaps().slots[static_cast<std::size_t>(handle)] = rotated(*bitmap, angle);
  } catch (const std::bad_alloc&) {
    IErrorReport(error::kBitmapCreation, "WBitmapRotate");
    return;
  }
  // A turned bitmap that is the current drawable takes its new size at once.
  const Drawable& drawable = drawing().drawable;
  if (drawable.kind == DrawableKind::Bitmap && drawable.id == handle) {
    set_drawable_size(bitmap_slot(handle)->width(), bitmap_slot(handle)->height());
  }
  bitmap_changed(handle);
}

void WBitmapGetPixel(int handle, int x, int y, int& colour) {
  colour = -1;
  const PixelPlace place = place_of(handle);
  if (place.code != 0) {
    IErrorReport(place.code, "WBitmapGetPixel");
    return;
  }
  std::unique_ptr<MemoryBitmap> read;
  const MemoryBitmap* bitmap = place.bitmap;
  int px = x, py = y;
  if (place.screen && x >= 0 && y >= 0) {
    read = screen_pixels()->read({x, y, 1, 1});
    bitmap = read.get();
    px = py = 0;
  }
  if (bitmap == nullptr || px < 0 || py < 0 || px >= bitmap->width() || py >= bitmap->height()) {
    IErrorReport(error::kBitmapCopy, "WBitmapGetPixel");
    return;
  }
  colour = pixel_colour(*bitmap, px, py);
}

void WBitmapPutPixel(int handle, int x, int y, int colour) {
  const PixelPlace place = place_of(handle);
  if (place.code != 0) {
    IErrorReport(place.code, "WBitmapPutPixel");
    return;
  }
  bool ok = false;
  if (place.screen) {
    MemoryBitmap dot(1, 1, 24);
    ok = x >= 0 && y >= 0 && put_pixel_colour(dot, 0, 0, colour) &&
         screen_pixels()->write(dot, {0, 0, 1, 1}, x, y, BitwiseMode::Copy);
  } else if (x >= 0 && y >= 0 && x < place.bitmap->width() && y < place.bitmap->height()) {
    ok = put_pixel_colour(*place.bitmap, x, y, colour);
    if (ok) bitmap_changed(place.id);
  }
  if (!ok) IErrorReport(error::kBitmapCopy, "WBitmapPutPixel");
}
