// The clipboard: text, bitmap, enhanced-metafile and private CGM transfers, the query,
// and WClipboardPutString.
#include "clipboard_ops.hpp"

#include <algorithm>
#include <cstring>

#include "base/error_codes.hpp"
#include "clipboard_data.hpp"
#include "quill/clipboard.hpp"
#include "quill/errors.hpp"
#include "window_table.hpp"

namespace quill {
namespace {

using quill::error::kBitmapCopy;
using quill::error::kClipboard;
using quill::error::kClipboardType;
using quill::error::kInvalidBitmap;
using quill::error::kVariableTooSmall;

// Opens the clipboard for the lifetime of the object; closes it on every path.
class OpenClipboardScope {
 public:
  OpenClipboardScope() : open_(OpenClipboard(nullptr) != 0) {}
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool ok() const { return open_; }

 private:
  bool open_;
};

UINT cgm_format() {
  UINT& format = windows().cgm_clipboard_format;
  if (format == 0) format = RegisterClipboardFormatA("Quillanthor CGM");
  return format;
}

// Hands a movable shareable block holding bytes to the clipboard, which then owns it.
bool set_block(UINT format, const void* bytes, std::size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size == 0 ? 1 : size);
  if (block == nullptr) return false;
  void* target = GlobalLock(block);
  if (target == nullptr) {
    GlobalFree(block);
    return false;
  }
  if (size > 0) std::memcpy(target, bytes, size);
  GlobalUnlock(block);
  if (SetClipboardData(format, block) == nullptr) {
    GlobalFree(block);
    return false;
  }
  return true;
}

// Copies the top-left part of source that fits into target (both bitmaps).
bool copy_bitmap(HBITMAP source, HBITMAP target, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  HGDIOBJ old_from = SelectObject(from, source);
  HGDIOBJ old_to = SelectObject(to, target);
  const bool ok =
      old_from != nullptr && old_to != nullptr && BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY) != 0;
  SelectObject(from, old_from);
  SelectObject(to, old_to);
  DeleteDC(from);
  DeleteDC(to);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool bitmap_size(HBITMAP bitmap, int& width, int& height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  HDC screen = GetDC(nullptr);
  const int ok = GetDIBits(screen, bitmap, 0, 0, nullptr, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (!ok) return false;
  width = info.bmiHeader.biWidth;
  height = std::abs(info.bmiHeader.biHeight);
  return true;
}

}  // namespace

int clipboard_put_text(const char* text, std::size_t size) {
  OpenClipboardScope clipboard;
  if (!clipboard.ok()) return kClipboard;
  EmptyClipboard();
  const std::size_t length = strnlen(text, size == 0 ? 0 : size - 1);
  std::string copy(text, length);
  return set_block(CF_TEXT, copy.c_str(), length + 1) ? 0 : kClipboard;
}

int clipboard_get_text(std::span<char> buffer, int& copied) {
  copied = 0;
  OpenClipboardScope clipboard;
  if (!clipboard.ok()) return kClipboard;
  if (!IsClipboardFormatAvailable(CF_TEXT)) return kClipboardType;
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (text == nullptr) return kClipboard;
  const std::size_t length = strnlen(text, GlobalSize(data));
  const std::size_t count = std::min(length, buffer.size());
  std::memcpy(buffer.data(), text, count);
  GlobalUnlock(data);
  copied = static_cast<int>(count);
  return length > buffer.size() ? kVariableTooSmall : 0;
}

int clipboard_put_bitmap(const BitmapSlot& slot) {
  if (slot.bitmap == nullptr) return kInvalidBitmap;
  OpenClipboardScope clipboard;
  if (!clipboard.ok()) return kClipboard;
  HDC screen = GetDC(nullptr);
  HBITMAP copy = CreateCompatibleBitmap(screen, slot.width, slot.height);
  ReleaseDC(nullptr, screen);
  if (copy == nullptr || !copy_bitmap(slot.bitmap, copy, slot.width, slot.height)) {
    if (copy != nullptr) DeleteObject(copy);
    return kBitmapCopy;
  }
  EmptyClipboard();
  if (SetClipboardData(CF_BITMAP, copy) == nullptr) {
    DeleteObject(copy);
    return kBitmapCopy;
  }
  return 0;
}

int clipboard_get_bitmap(BitmapSlot& slot) {
  if (slot.bitmap == nullptr) return kInvalidBitmap;
  OpenClipboardScope clipboard;
  if (!clipboard.ok()) return kClipboard;
  if (!IsClipboardFormatAvailable(CF_BITMAP)) return kClipboardType;
  HBITMAP source = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  int width = 0;
  int height = 0;
  if (source == nullptr || !bitmap_size(source, width, height)) return kBitmapCopy;
  return copy_bitmap(source, slot.bitmap, std::min(width, slot.width), std::min(height, slot.height))
             ? 0
             : kBitmapCopy;
}

int clipboard_put_metafile(MetafileSlot& slot) {
  if (slot.recording != nullptr) {
    HENHMETAFILE closed = CloseEnhMetaFile(slot.recording);
    slot.recording = nullptr;
    if (closed != nullptr) {
      if (slot.metafile != nullptr) DeleteEnhMetaFile(slot.metafile);
      slot.metafile = closed;
    }
  }
  if (slot.metafile == nullptr) return kClipboardType;
  OpenClipboardScope clipboard;
  if (!clipboard.ok()) return kClipboard;
  HENHMETAFILE copy = CopyEnhMetaFileA(slot.metafile, nullptr);
  if (copy == nullptr) return kClipboard;
  EmptyClipboard();
  if (SetClipboardData(CF_ENHMETAFILE, copy) == nullptr) {
    DeleteEnhMetaFile(copy);
    return kClipboard;
  }
  return 0;
}

int clipboard_get_metafile(MetafileSlot& slot, int& width_pt, int& height_pt, int& width_px, int& height_px) {
  OpenClipboardScope clipboard;
  if (!clipboard.ok()) return kClipboard;
  if (!IsClipboardFormatAvailable(CF_ENHMETAFILE)) return kClipboardType;
  HENHMETAFILE source = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
  HENHMETAFILE copy = source ? CopyEnhMetaFileA(source, nullptr) : nullptr;
  if (copy == nullptr) return kClipboard;
  if (slot.metafile != nullptr) DeleteEnhMetaFile(slot.metafile);
  slot.metafile = copy;
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(copy, sizeof(header), &header);
  width_pt = (header.rclFrame.right - header.rclFrame.left) * 72 / 2540;
  height_pt = (header.rclFrame.bottom - header.rclFrame.top) * 72 / 2540;
  width_px = header.rclBounds.right - header.rclBounds.left + 1;
  height_px = header.rclBounds.bottom - header.rclBounds.top + 1;
  return 0;
}

int clipboard_put_cgm(std::int32_t value1, std::int32_t value2, std::span<const unsigned char> data) {
  const UINT format = cgm_format();
  OpenClipboardScope clipboard;
  if (!clipboard.ok() || format == 0) return kClipboard;
  const std::vector<unsigned char> block = pack_cgm_block(value1, value2, data);
  EmptyClipboard();
  return set_block(format, block.data(), block.size()) ? 0 : kClipboard;
}

int clipboard_get_cgm(std::span<unsigned char> buffer, std::int32_t& value1, std::int32_t& value2,
                      int& copied) {
  copied = 0;
  const UINT format = cgm_format();
  OpenClipboardScope clipboard;
  if (!clipboard.ok()) return kClipboard;
  if (format == 0 || !IsClipboardFormatAvailable(format)) return kClipboardType;
  HANDLE data = GetClipboardData(format);
  const auto* bytes = data ? static_cast<const unsigned char*>(GlobalLock(data)) : nullptr;
  if (bytes == nullptr) return kClipboard;
  const std::span<const unsigned char> block(bytes, GlobalSize(data));
  CgmHeader header;
  int result = kClipboardType;
  if (read_cgm_header(block, header)) {
    value1 = header.value1;
    value2 = header.value2;
    const std::size_t length = static_cast<std::size_t>(header.length);
    const std::size_t count = std::min(length, buffer.size());
    std::memcpy(buffer.data(), bytes + kCgmHeaderSize, count);
    copied = static_cast<int>(count);
    result = length > buffer.size() ? kVariableTooSmall : 0;
  }
  GlobalUnlock(data);
  return result;
}

int clipboard_query(int item) {
  const UINT cgm = cgm_format();
  const bool text = IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_OEMTEXT);
  const bool bitmap = IsClipboardFormatAvailable(CF_BITMAP);
  const bool metafile = IsClipboardFormatAvailable(CF_ENHMETAFILE);
  const bool private_cgm = cgm != 0 && IsClipboardFormatAvailable(cgm);
  if (item == 1) {
    if (text) return 1;
    if (bitmap) return 2;
    if (metafile) return 3;
    if (private_cgm) return 6;
    return CountClipboardFormats() == 0 ? 0 : -1;
  }
  if (item < 2 || item > 4) return 0;
  OpenClipboardScope clipboard;
  if (!clipboard.ok()) return 0;
  if (item == 2) {
    if (text) {
      const UINT format = IsClipboardFormatAvailable(CF_TEXT) ? CF_TEXT : CF_OEMTEXT;
      HANDLE data = GetClipboardData(format);
      const char* chars = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
      if (chars == nullptr) return 0;
      const int length = static_cast<int>(strnlen(chars, GlobalSize(data)));
      GlobalUnlock(data);
      return length;
    }
    if (bitmap) return 0;
    if (metafile) {
      HENHMETAFILE h = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
      return h ? static_cast<int>(GetEnhMetaFileBits(h, 0, nullptr)) : 0;
    }
    if (private_cgm) {
      HANDLE data = GetClipboardData(cgm);
      const auto* bytes = data ? static_cast<const unsigned char*>(GlobalLock(data)) : nullptr;
      if (bytes == nullptr) return 0;
      CgmHeader header;
      const bool ok = read_cgm_header({bytes, GlobalSize(data)}, header);
      GlobalUnlock(data);
      return ok ? header.length : 0;
    }
    return 0;
  }
  if (!bitmap) return 0;
  HBITMAP h = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  int width = 0;
  int height = 0;
  if (h == nullptr || !bitmap_size(h, width, height)) return 0;
  return item == 3 ? width : height;
}

}  // namespace quill

void WClipboardPutString(std::string_view text) {
  const std::string data = quill::clipboard_text(text);
  const int code = quill::clipboard_put_text(data.c_str(), data.size());
  if (code != 0) IErrorReport(code, "WClipboardPutString");
}

void WClipboardGetString(std::span<char> text) {
  std::fill(text.begin(), text.end(), ' ');
  int copied = 0;
  const int code = quill::clipboard_get_text(text, copied);
  if (code != 0) IErrorReport(code, "WClipboardGetString");
}

int WClipboardQuery(int item) { return quill::clipboard_query(item); }
