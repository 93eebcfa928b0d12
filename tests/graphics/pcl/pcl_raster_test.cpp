// The raster printer driver (4): its PCL files are decoded back into pixels by a reader
// written from the PCL raster commands (independent of the encoder) and compared with
// the same drawing rendered into a memory bitmap.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/settings.hpp"
#include "driver_fixture.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "graphics/pcl/pcl_raster.hpp"
#include "quill/image.hpp"

namespace quill::test {
namespace {

constexpr int kRasterDriver = 4;

struct PclPage {
  int width = 0, height = 0;
  std::vector<std::vector<int>> index;  // [row][column]: the palette index
};

struct PclJob {
  std::vector<PclPage> pages;
  std::map<std::string, long long> values;  // "&lX" -> last value, for the other commands
  std::string fault;                        // empty when the stream was read to its end
};

// Expands one transferred row by compression method 0 (raw), 1 (count, byte pairs) or
// 2 (TIFF PackBits). False for data that does not decode.
bool expand(int method, std::string_view data, std::vector<std::uint8_t>& row) {
  row.clear();
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(data[i]); };
  if (method == 0) {
    for (std::size_t i = 0; i < data.size(); ++i) row.push_back(byte(i));
    return true;
  }
  if (method == 1) {
    if (data.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < data.size(); i += 2) row.insert(row.end(), byte(i) + 1U, byte(i + 1));
    return true;
  }
  for (std::size_t i = 0; i < data.size();) {
    const auto control = static_cast<std::int8_t>(byte(i++));
    if (control == -128) continue;
    if (control >= 0) {
      const std::size_t count = static_cast<std::size_t>(control) + 1;
      if (i + count > data.size()) return false;
      for (std::size_t k = 0; k < count; ++k) row.push_back(byte(i + k));
      i += count;
    } else {
      if (i >= data.size()) return false;
      row.insert(row.end(), static_cast<std::size_t>(1 - control), byte(i++));
    }
  }
  return true;
}

PclJob decode_pcl(std::string_view data) {
  PclJob job;
  int planes = 1, width = 0, height = 0, method = 0, row = 0, plane = 0;
  PclPage page;
  bool raster = false;
  std::size_t i = 0;
  const auto fail = [&](const std::string& why) {
    job.fault = why + " at byte " + std::to_string(i);
    return job;
  };
  while (i < data.size()) {
    const char c = data[i++];
    if (c == '\f') {
      job.pages.push_back(page);
      page = {};
      continue;
    }
    if (c != '\x1b') return fail("stray byte");
    if (i >= data.size()) return fail("cut escape");
    const char parameterised = data[i++];
    if (parameterised < 0x21 || parameterised > 0x2f) continue;  // two-character escape (reset)
    if (i >= data.size()) return fail("cut escape");
    const char group = data[i++];
    for (bool more = true; more;) {
      std::size_t end = i;
      while (end < data.size() && (std::isdigit(static_cast<unsigned char>(data[end])) || data[end] == '-' ||
                                   data[end] == '+' || data[end] == '.'))
        ++end;
      if (end >= data.size()) return fail("cut value");
      const long long value = std::atoll(std::string(data.substr(i, end - i)).c_str());
      const char terminator = data[end];
      i = end + 1;
      more = terminator >= 0x60 && terminator <= 0x7e;
      const char final = static_cast<char>(more ? terminator - 0x20 : terminator);
      if (!more && (terminator < 0x40 || terminator > 0x5e)) return fail("bad terminator");
      const std::string name{parameterised, group, final};
      if (name == "*rU")
        planes = static_cast<int>(std::llabs(value));
      else if (name == "*rS")
        width = static_cast<int>(value);
      else if (name == "*rT")
        height = static_cast<int>(value);
      else if (name == "*bM")
        method = static_cast<int>(value);
      else if (name == "*rA") {
        raster = true;
        row = plane = 0;
        page.width = width;
        page.height = height;
        page.index.assign(static_cast<std::size_t>(height),
                          std::vector<int>(static_cast<std::size_t>(width)));
      } else if (name == "*rC" || name == "*rB")
        raster = false;
      else if (name == "*bY")
        row += static_cast<int>(value);
      else if (name == "*bV" || name == "*bW") {
        if (!raster || row >= height || value < 0 || i + static_cast<std::size_t>(value) > data.size()) {
          return fail("raster data outside a raster");
        }
        std::vector<std::uint8_t> bytes;
        if (!expand(method, data.substr(i, static_cast<std::size_t>(value)), bytes))
          return fail("bad row data");
        i += static_cast<std::size_t>(value);
        if (bytes.size() > static_cast<std::size_t>((width + 7) / 8))
          return fail("row wider than the raster");
        for (std::size_t b = 0; b < bytes.size() * 8 && b < static_cast<std::size_t>(width); ++b) {
          if ((bytes[b / 8] >> (7 - b % 8)) & 1) page.index[static_cast<std::size_t>(row)][b] |= 1 << plane;
        }
        if (name == "*bW" || ++plane == planes) {
          ++row;
          plane = 0;
        }
      } else
        job.values[name] = value;
    }
  }
  return job;
}

class PclRaster : public DriverFixture {
 protected:
  int driver() const override { return kRasterDriver; }
  std::string extension() const override { return ".prn"; }
  void TearDown() override {
    reset_settings_for_test();
    reset_bitmaps_for_tests();
    DriverFixture::TearDown();
  }
  static void use_model(int model) {
    settings().raster_setting = model;
    IGrHardCopySelect(kRasterDriver);
  }
};

// Indices of a page rendered into a true-colour bitmap, each pixel taken to the nearest
// colour of the model.
std::vector<std::vector<int>> nearest_indices(const MemoryBitmap& rendered, const PclModel& model) {
  const MemoryBitmap palette(1, 1, 4, pcl_palette(model));
  std::vector<std::vector<int>> rows(static_cast<std::size_t>(rendered.height()));
  for (int y = 0; y < rendered.height(); ++y) {
    for (int x = 0; x < rendered.width(); ++x) {
      rows[static_cast<std::size_t>(y)].push_back(
          static_cast<int>(palette.native_value(rendered.pixel(x, y))));
    }
  }
  return rows;
}

// How many pixels differ, and where the first one is; empty when none do.
std::string differences(const PclPage& page, const std::vector<std::vector<int>>& wanted) {
  if (page.index.size() != wanted.size()) return "height " + std::to_string(page.index.size());
  int count = 0;
  std::string first;
  for (std::size_t y = 0; y < wanted.size(); ++y) {
    for (std::size_t x = 0; x < wanted[y].size() && x < page.index[y].size(); ++x) {
      if (page.index[y][x] == wanted[y][x]) continue;
      if (count++ == 0) {
        first = " first at " + std::to_string(x) + ", " + std::to_string(y) + ": " +
                std::to_string(page.index[y][x]) + " for " + std::to_string(wanted[y][x]);
      }
    }
  }
  return count == 0 ? "" : std::to_string(count) + " pixels differ," + first;
}

// The second page: cleared to white, then a blue disc.
void draw_second_page() {
  IGrNewPage();
  IGrUnits(0, 0, 1, 1);
  IGrFillPattern(4);
  IGrColour("white");
  IGrRectangle(0, 0, 1, 1);
  IGrColour("blue");
  IGrCircle(0.3F, 0.6F, 0.2F);
}

TEST_F(PclRaster, PagesDecodeToTheMemoryRenderingInEveryModel) {
  constexpr int kWidth = 213, kHeight = 157;  // not a multiple of 8: rows end in a part byte
  // The same pages rendered in memory by the image driver (24 bits; it keeps one page, so
  // the second drawing ends on the second page's picture).
  const auto render = [&](bool both_pages) {
    reset_drawing_for_tests();
    IGrHardCopySelect(6);
    IGrHardCopyOptions(1, kWidth);
    IGrHardCopyOptions(2, kHeight);
    const std::string png = path_.string() + ".png";
    IGrHardCopy("S", png);
    draw_test_picture();
    if (both_pages) draw_second_page();
    IGrHardCopy("E");
    int bitmap = 0;
    WBitmapLoad(bitmap, png);
    return bitmap;
  };
  const int pages[] = {render(false), render(true)};
  ASSERT_EQ(errors().last_error, 0);
  for (int model = 1; model <= kPclModelCount; ++model) {
    SCOPED_TRACE("model " + std::to_string(model));
    reset_drawing_for_tests();
    use_model(model);
    IGrHardCopyOptions(1, kWidth);
    IGrHardCopyOptions(2, kHeight);
    IGrHardCopy("S", path_.string());
    draw_test_picture();
    draw_second_page();
    IGrHardCopy("E");
    ASSERT_EQ(errors().last_error, 0);
    const std::string bytes = read_bytes(path_);
    const PclJob job = decode_pcl(bytes);
    ASSERT_EQ(job.fault, "");
    ASSERT_EQ(job.pages.size(), 2U);
    // Cut inside the first page's last row, the file is refused.
    EXPECT_NE(decode_pcl(bytes.substr(0, bytes.find("\x1b*rC") - 1)).fault, "");
    EXPECT_EQ(job.values.at("*tR"), pcl_model(model).dots_per_inch);
    for (std::size_t page = 0; page < 2; ++page) {
      EXPECT_EQ(differences(job.pages[page], nearest_indices(*bitmap_slot(pages[page]), pcl_model(model))),
                "");
    }
    std::vector<bool> seen(8);
    for (const auto& row : job.pages[0].index) {
      for (int index : row) seen[static_cast<std::size_t>(index)] = true;
    }
    // Black and white, and in colour at least red, green, blue, magenta and white.
    EXPECT_GE(std::count(seen.begin(), seen.end(), true), model <= 2 ? 2 : 5);
  }
}

TEST_F(PclRaster, JobCommandsFollowThePageAndOptions) {
  struct Case {
    int model, width, height, copies;
    long long paper;  // -1: no page size command
  };
  // Short pages keep the test quick: the width alone then chooses the paper.
  const Case cases[] = {{1, 2550, 40, 1, 2},
                        {2, 4960, 40, 3, 26},
                        {3, 100, 100, 2, 26},
                        {1, 3000, 40, 1, 27},
                        {1, 3600, 40, 1, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    reset_drawing_for_tests();
    use_model(c.model);
    IGrHardCopyOptions(1, c.width);
    IGrHardCopyOptions(2, c.height);
    IGrHardCopyOptions(8, c.copies);
    const PclJob job = decode_pcl(draw([] {}));
    ASSERT_EQ(job.fault, "");
    ASSERT_EQ(job.pages.size(), 1U);
    EXPECT_EQ(job.pages[0].width, c.width);
    EXPECT_EQ(job.pages[0].height, c.height);
    EXPECT_EQ(job.values.at("&lX"), c.copies);
    EXPECT_EQ(job.values.count("&lA") ? job.values.at("&lA") : -1, c.paper);
  }
}

TEST_F(PclRaster, PageBeyondTheModelsBufferReports34AndWritesNothing) {
  // Model 1 holds 2 MiB: 4096 x 4096 dots at one bit are exactly 2 MiB, one row more is not.
  for (const auto& [height, error] : {std::pair{4096, 0}, std::pair{4097, 34}}) {
    reset_drawing_for_tests();
    errors().last_error = 0;
    std::filesystem::remove(path_);
    use_model(1);
    IGrHardCopyOptions(1, 4096);
    IGrHardCopyOptions(2, height);
    IGrHardCopy("S", path_.string());
    EXPECT_EQ(errors().last_error, error);
    EXPECT_EQ(drawing().hardcopy.active, error == 0);
    IGrHardCopy("E");
    EXPECT_EQ(std::filesystem::exists(path_), error == 0);
  }
}

TEST(PclPackBits, RowsRoundTripAndMatchTheReferenceExample) {
  std::string reference;
  const std::string text = "UUUUATT";
  append_packbits({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, reference);
  EXPECT_EQ(reference, (std::string{'\xfd', 'U', '\0', 'A', '\xff', 'T'}));
  std::vector<std::vector<std::uint8_t>> rows = {{}, {7}, std::vector<std::uint8_t>(300, 0xaa)};
  std::vector<std::uint8_t> mixed;
  for (int i = 0; i < 700; ++i) mixed.push_back(static_cast<std::uint8_t>(i % 5 == 0 ? 9 : i * 37));
  rows.push_back(mixed);
  for (const auto& row : rows) {
    std::string packed;
    append_packbits(row, packed);
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(expand(2, packed, back));
    EXPECT_EQ(back, row);
  }
}

}  // namespace
}  // namespace quill::test
