// Memory metafiles on the clipboard, in the toolkit's private CGM format: the complete
// metafile, with the recorder's page size in points as the block's two values.
#include <string>
#include <vector>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "core/clipboard_ops.hpp"
#include "graphics/metafile/metafile_internal.hpp"
#include "quill/errors.hpp"
#include "quill/metafile.hpp"

namespace quill {
namespace {

constexpr int kFirstBuffer = 1 << 16;
constexpr int kOfferedSize = 2;

bool recorded(int handle) {
  release_destroyed_metafiles();
  return handle >= 1 && handle <= kMetafileSlots &&
         drawing().metafile_used[static_cast<std::size_t>(handle)] &&
         !metafiles().slots[static_cast<std::size_t>(handle)].empty();
}

}  // namespace
}  // namespace quill

using namespace quill;

void WMetafileToClipboard(int handle) {
  if (!recorded(handle)) {
    IErrorReport(error::kMetafileHandle, "WMetafileToClipboard");
    return;
  }
  const int code = allocating(error::kMetafileFull, [&] {
    const std::string bytes = complete_metafile(handle);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    return clipboard_put_cgm(static_cast<std::int32_t>(kMetafileWidth),
                             static_cast<std::int32_t>(kMetafileHeight), {data, bytes.size()});
  });
  if (code != 0) {
    IErrorReport(code, "WMetafileToClipboard");
  }
}

void WMetafileFromClipboard(int& handle) {
  handle = 0;
  // The clipboard says how large the block is: one too large for memory reports 1062.
  const int code = allocating(error::kMetafileFull, [&] {
    const int offered = clipboard_query(kOfferedSize);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(offered > 0 ? offered : kFirstBuffer));
    std::int32_t width = 0, height = 0;
    int copied = 0;
    int result = clipboard_get_cgm(buffer, width, height, copied);
    // The offered size may count the block's header or not: grow once if it was short.
    if (result != 0 && copied == static_cast<int>(buffer.size())) {
      buffer.resize(buffer.size() * 2 + kFirstBuffer);
      result = clipboard_get_cgm(buffer, width, height, copied);
    }
    if (result == 0) {
      result = adopt_metafile(
          {reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(copied)}, handle);
    }
    return result;
  });
  if (code != 0) {
    IErrorReport(code, "WMetafileFromClipboard");
  }
}
