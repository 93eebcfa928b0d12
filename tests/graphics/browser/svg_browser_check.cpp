// svg_browser_check DIRECTORY: writes the test picture through the SVG driver into
// DIRECTORY/svg_browser.svg, has a headless chromium take a screenshot of it
// (DIRECTORY/svg_browser.png, kept for a person to look at) and checks the known places
// of the picture on it. Exit 0 when all match, 1 when not, 77 (skipped) without chromium.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "driver_fixture.hpp"

namespace {

constexpr int kSkipped = 77;

std::optional<std::string> browser() {
  for (const char* name : {"chromium", "chromium-browser"}) {
    if (quill::test::have_program(name)) return std::string(name);
  }
  return std::nullopt;
}

void write_svg(const std::filesystem::path& svg) {
  quill::reset_drawing_for_tests();
  IGrHardCopySelect(3);
  IGrHardCopy("S", svg.string(), "Browser check");
  quill::test::draw_test_picture();
  IGrHardCopy("E");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quill::test;
  const std::optional<std::string> chromium = browser();
  if (!chromium || !have_program("convert")) {
    std::cout << "chromium or ImageMagick is not installed: skipped\n";
    return kSkipped;
  }
  const std::filesystem::path directory = argc > 1 ? argv[1] : "screenshots";
  std::filesystem::create_directories(directory);
  const std::filesystem::path svg = std::filesystem::absolute(directory / "svg_browser.svg");
  const std::filesystem::path png = std::filesystem::absolute(directory / "svg_browser.png");
  std::filesystem::remove(png);
  write_svg(svg);
  if (quill::errors().last_error != 0) {
    std::cout << "the SVG driver reported error " << quill::errors().last_error << "\n";
    return 1;
  }
  // A private profile, so that a browser already running elsewhere is not reused.
  const std::filesystem::path profile = std::filesystem::absolute(directory / "chromium-profile");
  const std::string command = *chromium + " --headless --disable-gpu --no-sandbox --hide-scrollbars" +
                              " --user-data-dir='" + profile.string() + "' --window-size=640,480" +
                              " --screenshot='" + png.string() + "' 'file://" + svg.string() +
                              "' >/dev/null 2>&1";
  if (run(command) != 0 || !std::filesystem::exists(png)) {
    std::cout << "chromium failed: " << command << "\n";
    return 1;
  }
  std::filesystem::remove_all(profile);
  const std::optional<Raster> image = read_image(png);
  std::filesystem::remove(png.string() + ".ppm");
  if (!image) {
    std::cout << "cannot read " << png << "\n";
    return 1;
  }
  const std::vector<std::string> faults = svg_picture_faults(*image);
  for (const std::string& fault : faults) std::cout << "wrong in the browser: " << fault << "\n";
  std::cout << png.string() << ": " << (faults.empty() ? "every known place matches" : "faults") << "\n";
  return faults.empty() ? 0 : 1;
}
