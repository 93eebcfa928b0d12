// The clipboard transfers the bitmap, metafile and graphics code build on. Each opens the
// clipboard without an owner, does its work and closes it; results are error codes
// (0 success, 1021, 1023, 1066, 1094, 1095). Windows build only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace quill {

struct BitmapSlot {
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};

struct MetafileSlot {
  HENHMETAFILE metafile = nullptr;
  HDC recording = nullptr;  // a metafile still being recorded
};

// text: NUL-terminated, size bytes including the NUL.
int clipboard_put_text(const char* text, std::size_t size);
// Copies at most buffer.size() characters; copied receives how many.
int clipboard_get_text(std::span<char> buffer, int& copied);
int clipboard_put_bitmap(const BitmapSlot& slot);
int clipboard_get_bitmap(BitmapSlot& slot);
int clipboard_put_metafile(MetafileSlot& slot);
// width/height in points and in device pixels of the picture.
int clipboard_get_metafile(MetafileSlot& slot, int& width_pt, int& height_pt, int& width_px, int& height_px);
int clipboard_put_cgm(std::int32_t value1, std::int32_t value2, std::span<const unsigned char> data);
int clipboard_get_cgm(std::span<unsigned char> buffer, std::int32_t& value1, std::int32_t& value2,
                      int& copied);
// 1 offered format (0 empty, 1 text, 2 bitmap, 3 metafile, 6 private CGM only, -1 other),
// 2 size of the offered data, 3 and 4 bitmap width and height.
int clipboard_query(int item);

}  // namespace quill
