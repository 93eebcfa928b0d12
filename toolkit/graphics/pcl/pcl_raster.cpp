#include "graphics/pcl/pcl_raster.hpp"

#include <array>
#include <charconv>
#include <cmath>

namespace quill {
namespace {

constexpr char kEscape = '\x1b';
constexpr std::size_t kMiB = std::size_t{1} << 20;

// Letter pages: 8.5 x 11 inches.
constexpr std::array<PclModel, kPclModelCount> kModels = {{
    {300, 1, 2 * kMiB, 2550, 3300},
    {600, 1, 8 * kMiB, 5100, 6600},
    {300, 3, 4 * kMiB, 2550, 3300},
    {600, 3, 16 * kMiB, 5100, 6600},
}};

struct PaperSize {
  int code;              // the page size command's value
  double width, height;  // inches
};
// Smallest first, so the first that holds the page is chosen.
constexpr std::array<PaperSize, 5> kPapers = {{
    {26, 8.27, 11.69},   // A4
    {2, 8.5, 11.0},      // letter
    {3, 8.5, 14.0},      // legal
    {27, 11.69, 16.54},  // A3
    {6, 11.0, 17.0},     // ledger
}};

void append_number(std::string& out, long long value) {
  std::array<char, 24> digits{};
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  out.append(digits.data(), result.ptr);
}

// ESC, the parameterised and group characters, the value and the final character.
void command(std::string& out, std::string_view prefix, long long value, char final) {
  out += kEscape;
  out += prefix;
  append_number(out, value);
  out += final;
}

std::size_t row_bytes(int width) { return (static_cast<std::size_t>(width) + 7) / 8; }

}  // namespace

const PclModel& pcl_model(int number) {
  const int index = number >= 1 && number <= kPclModelCount ? number - 1 : 0;
  return kModels[static_cast<std::size_t>(index)];
}

std::vector<PaletteEntry> pcl_palette(const PclModel& model) {
  if (model.planes == 1) return {{255, 255, 255, 0}, {0, 0, 0, 0}};
  // Index bits: 1 cyan, 2 magenta, 4 yellow; each ink removes one primary.
  std::vector<PaletteEntry> colours;
  for (int index = 0; index < 8; ++index) {
    const auto level = [&](int ink) { return static_cast<std::uint8_t>((index & ink) != 0 ? 0 : 255); };
    colours.push_back({level(4), level(2), level(1), 0});
  }
  return colours;
}

std::size_t pcl_page_bytes(const PclModel& model, int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  return row_bytes(width) * static_cast<std::size_t>(model.planes) * static_cast<std::size_t>(height);
}

void append_pcl_job_header(const PclModel& model, int width, int height, int copies, std::string& out) {
  out += kEscape;
  out += 'E';
  const double inches_x = width / static_cast<double>(model.dots_per_inch);
  const double inches_y = height / static_cast<double>(model.dots_per_inch);
  for (const PaperSize& paper : kPapers) {
    if (inches_x <= paper.width + 0.01 && inches_y <= paper.height + 0.01) {
      command(out, "&l", paper.code, 'A');
      break;
    }
  }
  command(out, "&l", copies < 1 ? 1 : copies, 'X');
  command(out, "*t", model.dots_per_inch, 'R');
}

void append_pcl_page(const PclModel& model, const PixelBuffer& page, std::string& out) {
  out += kEscape;
  out += "*p0x0Y";
  command(out, "*r", model.planes == 1 ? 1 : -model.planes, 'U');
  command(out, "*r", page.width, 'S');
  command(out, "*r", page.height, 'T');
  out += kEscape;
  out += "*r1A";
  command(out, "*b", 2, 'M');
  const std::size_t bytes = row_bytes(page.width);
  std::vector<std::vector<std::uint8_t>> planes(static_cast<std::size_t>(model.planes),
                                                std::vector<std::uint8_t>(bytes));
  int blank_rows = 0;
  for (int y = 0; y < page.height; ++y) {
    for (auto& plane : planes) std::fill(plane.begin(), plane.end(), std::uint8_t{0});
    bool blank = true;
    const std::uint8_t* row = page.row(y);
    for (int x = 0; x < page.width; ++x) {
      const int index = palette_index(page, row, x);
      if (index == 0) continue;
      blank = false;
      const auto bit = static_cast<std::uint8_t>(0x80U >> (x & 7));
      for (std::size_t p = 0; p < planes.size(); ++p) {
        if ((index >> p) & 1) planes[p][static_cast<std::size_t>(x) / 8] |= bit;
      }
    }
    if (blank) {
      ++blank_rows;
      continue;
    }
    if (blank_rows > 0) command(out, "*b", blank_rows, 'Y');
    blank_rows = 0;
    for (std::size_t p = 0; p < planes.size(); ++p) {
      // Bytes missing at the end of a row are zero (no ink).
      std::size_t used = bytes;
      while (used > 0 && planes[p][used - 1] == 0) --used;
      std::string data;
      append_packbits(std::span<const std::uint8_t>(planes[p].data(), used), data);
      command(out, "*b", static_cast<long long>(data.size()), p + 1 == planes.size() ? 'W' : 'V');
      out += data;
    }
  }
  out += kEscape;
  out += "*rC";
  out += '\f';
}

void append_pcl_job_trailer(std::string& out) {
  out += kEscape;
  out += 'E';
}

void append_packbits(std::span<const std::uint8_t> row, std::string& out) {
  std::size_t i = 0;
  while (i < row.size()) {
    std::size_t run = 1;
    while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out += static_cast<char>(static_cast<std::uint8_t>(257 - run));  // -(run - 1)
      out += static_cast<char>(row[i]);
      i += run;
      continue;
    }
    // Literal bytes up to the next pair of equal bytes.
    std::size_t end = i + 1;
    while (end < row.size() && end - i < 128 && !(end + 1 < row.size() && row[end] == row[end + 1])) ++end;
    out += static_cast<char>(end - i - 1);
    out.append(reinterpret_cast<const char*>(row.data() + i), end - i);
    i = end;
  }
}

}  // namespace quill
