#include "image_test_support.hpp"

#include <array>
#include <atomic>
#include <random>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quill::test {
namespace {

std::uint8_t widen(unsigned value, int bits) {
  return static_cast<std::uint8_t>(bits == 5 ? (value << 3) | (value >> 2) : (value << 2) | (value >> 4));
}

std::string quoted(const std::filesystem::path& path) {
  std::string text(1, '\'');
  text.append(path.string());
  text.push_back('\'');
  return text;
}

}  // namespace

std::vector<std::uint8_t> pixels_of(const MemoryBitmap& bitmap) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const Rgb c = bitmap.pixel(x, y);
      rgb.insert(rgb.end(), {c.red, c.green, c.blue});
    }
  }
  return rgb;
}

OwnedImage pattern_image(int width, int height, int depth, bool bitfields_565, bool bottom_up,
                         std::size_t extra_pitch) {
  OwnedImage image;
  PixelBuffer& b = image.buffer;
  b.width = width;
  b.height = height;
  b.bits_per_pixel = depth;
  b.bitfields_565 = bitfields_565;
  b.bottom_up = bottom_up;
  b.row_pitch = bottom_up ? padded_row_bytes(width, depth) : packed_row_bytes(width, depth) + extra_pitch;
  image.pixels.assign(b.row_pitch * static_cast<std::size_t>(height), 0xA5);
  const int entries = palette_size(depth);
  for (int i = 0; i < entries; ++i) {
    image.colours.push_back({static_cast<std::uint8_t>(i * 13), static_cast<std::uint8_t>(255 - i),
                             static_cast<std::uint8_t>(i * 7 + 3), 0});
  }
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row =
        image.pixels.data() + static_cast<std::size_t>(bottom_up ? height - 1 - y : y) * b.row_pitch;
    for (int x = 0; x < width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      const unsigned v = static_cast<unsigned>(x * 37 + y * 101 + x * y);
      switch (depth) {
        case 4: {
          const auto nibble = static_cast<std::uint8_t>((x + 3 * y) % 16);
          row[ux / 2] = static_cast<std::uint8_t>(ux % 2 == 0 ? (row[ux / 2] & 0x0F) | (nibble << 4)
                                                              : (row[ux / 2] & 0xF0) | nibble);
          break;
        }
        case 8: row[ux] = static_cast<std::uint8_t>((x * 5 + y * 11) % 256); break;
        case 16:
          row[2 * ux] = static_cast<std::uint8_t>(v * 73);
          row[2 * ux + 1] = static_cast<std::uint8_t>((v * 73) >> 8);
          break;
        default:
          for (std::size_t c = 0; c < static_cast<std::size_t>(depth / 8); ++c) {
            row[ux * static_cast<std::size_t>(depth / 8) + c] =
                static_cast<std::uint8_t>(v * (c + 3) + c * 50);
          }
      }
    }
  }
  b.pixels = image.pixels;
  b.colours = image.colours;
  return image;
}

std::vector<std::uint8_t> expected_rgb(const PixelBuffer& image) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* row = image.row(y);
    for (int x = 0; x < image.width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      if (image.bits_per_pixel <= 8) {
        const int index =
            image.bits_per_pixel == 8 ? row[ux] : (ux % 2 == 0 ? row[ux / 2] >> 4 : row[ux / 2] & 15);
        const PaletteEntry& e = image.colours[static_cast<std::size_t>(index)];
        rgb.insert(rgb.end(), {e.red, e.green, e.blue});
      } else if (image.bits_per_pixel == 16) {
        const unsigned v = row[2 * ux] | (static_cast<unsigned>(row[2 * ux + 1]) << 8);
        if (image.bitfields_565) {
          rgb.insert(rgb.end(), {widen(v >> 11, 5), widen((v >> 5) & 63, 6), widen(v & 31, 5)});
        } else {
          rgb.insert(rgb.end(), {widen((v >> 10) & 31, 5), widen((v >> 5) & 31, 5), widen(v & 31, 5)});
        }
      } else {
        const std::size_t n = static_cast<std::size_t>(image.bits_per_pixel / 8);
        rgb.insert(rgb.end(), {row[ux * n + 2], row[ux * n + 1], row[ux * n]});
      }
    }
  }
  return rgb;
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("quill_image_" + std::to_string(std::random_device{}()) + "_" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

// The readers are Linux programs: in the Windows build there are none, and the tests
// that need them are skipped.
#ifdef _WIN32
CommandResult run_command(const std::string&) { return {}; }
#else
CommandResult run_command(const std::string& command) {
  CommandResult result;
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    return result;
  }
  std::array<char, 4096> chunk{};
  std::size_t n = 0;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) {
    result.output.append(chunk.data(), n);
  }
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}
#endif

bool have_pillow() { return run_command("/usr/bin/python3 -c 'import PIL'").status == 0; }

std::optional<PillowImage> read_with_pillow(const std::filesystem::path& file, std::string& why) {
  const std::filesystem::path script =
      std::filesystem::path(__FILE__).parent_path() / "image" / "read_image.py";
  const CommandResult run = run_command("/usr/bin/python3 " + quoted(script) + " " + quoted(file));
  if (run.status != 0) {
    why = run.output;
    return std::nullopt;
  }
  std::istringstream lines(run.output);
  PillowImage image;
  std::string hex;
  lines >> image.format >> image.mode >> image.width >> image.height >> hex;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    image.rgb.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return image;
}

std::vector<std::uint8_t> read_file(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quill::test
