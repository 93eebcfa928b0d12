// Image fields of dialogs from memory: WDialogPutImage types 3 (a copy of a memory bitmap)
// and 4 (a memory metafile drawn at the field's size).
#include <windows.h>

#include <algorithm>

#include "base/error_codes.hpp"
#include "bitmap/bitmap_layer_win32.hpp"
#include "bitmap/dib_win32.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/metafile/metafile_internal.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"
#include "quill/metafile.hpp"

namespace quill {
namespace {

bool metafile_recorded(int handle) {
  release_destroyed_metafiles();
  return drawing().metafile_used[static_cast<std::size_t>(handle)] &&
         !metafiles().slots[static_cast<std::size_t>(handle)].empty();
}

// Makes saved the current drawable again.
void reselect(const Drawable& saved) {
  switch (saved.kind) {
    case DrawableKind::Field: IGrSelectField(saved.dialog, saved.id); break;
    case DrawableKind::Window:
    case DrawableKind::Bitmap:
    case DrawableKind::Metafile: IGrSelect(static_cast<int>(saved.kind), saved.id); break;
    default: drawing().drawable = saved; break;
  }
}

// The metafile drawn into a 24-bit bitmap of the field's size.
FieldImage metafile_picture(int handle, HWND field) {
  RECT r{};
  GetClientRect(field, &r);
  int scratch = 0;
  WBitmapCreate(scratch, std::max<int>(r.right, 1), std::max<int>(r.bottom, 1), 24);
  if (scratch == 0) return FieldImage{nullptr, error::kInvalidImage};
  const Drawable saved = drawing().drawable;
  IGrSelect(2, scratch);
  WMetafileReplay(handle);
  reselect(saved);
  HBITMAP picture = make_gdi_bitmap(*bitmap_slot(scratch));
  WBitmapDestroy(scratch);
  return FieldImage{picture, picture != nullptr ? 0 : error::kInvalidImage};
}

FieldImage memory_image(int type, int id, HWND field) {
  if (type == 3) {
    const MemoryBitmap* bitmap = bitmap_slot(id);
    HBITMAP copy = bitmap != nullptr ? make_gdi_bitmap(*bitmap) : nullptr;
    return FieldImage{copy, copy != nullptr ? 0 : error::kInvalidImage};
  }
  if (id < 1 || id > kMetafileSlots) return FieldImage{nullptr, error::kInvalidImage};
  if (!metafile_recorded(id)) return FieldImage{nullptr, error::kMetafileFormat};
  return metafile_picture(id, field);
}

}  // namespace

void register_image_fields() {
  register_layer(DialogFieldLayer{.name = "bitmaps", .memory_image = memory_image});
}

}  // namespace quill
