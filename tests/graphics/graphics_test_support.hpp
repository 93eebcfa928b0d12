// Helpers for the driver tests: temporary files, running readers, reading renderings.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quill::test {

struct Pixel {
  int red = 0, green = 0, blue = 0;
};

// A point of the test picture in user units 0..100, the colour expected there, and what
// is drawn there (for the failure message).
struct PicturePlace {
  double x, y;
  Pixel colour;
  const char* what;
};

// A decoded RGB raster (row 0 at the top).
struct Raster {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  Pixel at(int x, int y) const;
  // Pixels within radius of (x, y) whose colour is within 60 of the wanted one per component.
  int count_near(int x, int y, int radius, Pixel wanted) const;
};

std::filesystem::path temp_file(const std::string& name);
std::string read_bytes(const std::filesystem::path& path);
// Lines of text split at CR LF (a lone LF stays in the line).
std::vector<std::string> crlf_lines(const std::string& text);
// Runs a shell command; returns its exit status (-1 when it did not run normally).
int run(const std::string& command);
bool have_program(const std::string& name);
// Reads a binary PPM (P6, maxval 255).
std::optional<Raster> read_ppm(const std::filesystem::path& path);
// Converts any image ImageMagick reads into PPM and reads it.
std::optional<Raster> read_image(const std::filesystem::path& path);

}  // namespace quill::test
