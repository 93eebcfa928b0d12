#include "graphics_test_support.hpp"

#include <cstdlib>
#include <fstream>
#include <iterator>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quill::test {

Pixel Raster::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) {
    return {-1, -1, -1};
  }
  const std::size_t i =
      (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

int Raster::count_near(int x, int y, int radius, Pixel wanted) const {
  int count = 0;
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const Pixel p = at(x + dx, y + dy);
      if (p.red >= 0 && std::abs(p.red - wanted.red) <= 60 && std::abs(p.green - wanted.green) <= 60 &&
          std::abs(p.blue - wanted.blue) <= 60) {
        ++count;
      }
    }
  }
  return count;
}

std::filesystem::path temp_file(const std::string& name) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("quill_graphics_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir / name;
}

std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

#ifdef _WIN32
// The readers are Linux programs: under Windows the tests that need them skip.
int run(const std::string&) { return -1; }
bool have_program(const std::string&) { return false; }
#else
int run(const std::string& command) {
  const int status = std::system(command.c_str());
  if (status == -1 || !WIFEXITED(status)) {
    return -1;
  }
  return WEXITSTATUS(status);
}

bool have_program(const std::string& name) { return run("command -v " + name + " >/dev/null 2>&1") == 0; }
#endif

std::optional<Raster> read_ppm(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  Raster raster;
  int maxval = 0;
  auto skip_comments = [&in] {
    in >> std::ws;
    while (in.peek() == '#') {
      std::string comment;
      std::getline(in, comment);
      in >> std::ws;
    }
  };
  in >> magic;
  skip_comments();
  in >> raster.width;
  skip_comments();
  in >> raster.height;
  skip_comments();
  in >> maxval;
  if (!in || magic != "P6" || maxval != 255) {
    return std::nullopt;
  }
  in.get();
  raster.rgb.resize(static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height) * 3);
  in.read(reinterpret_cast<char*>(raster.rgb.data()), static_cast<std::streamsize>(raster.rgb.size()));
  if (!in) {
    return std::nullopt;
  }
  return raster;
}

std::optional<Raster> read_image(const std::filesystem::path& path) {
  const std::filesystem::path ppm = path.string() + ".ppm";
  if (run("convert '" + path.string() + "' -background white -flatten '" + ppm.string() + "' 2>/dev/null") !=
      0) {
    return std::nullopt;
  }
  return read_ppm(ppm);
}

}  // namespace quill::test
