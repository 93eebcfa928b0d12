// A fixture that draws through one file driver into a temporary file.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "graphics/drawing_state.hpp"
#include "graphics_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "base/error_state.hpp"

namespace quill::test {

class DriverFixture : public ::testing::Test {
 protected:
  virtual int driver() const = 0;
  virtual std::string extension() const = 0;

  void SetUp() override {
    reset_drawing_for_tests();
    errors().last_error = 0;
    IGrHardCopySelect(driver());
    path_ =
        temp_file(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + extension());
  }
  void TearDown() override { reset_drawing_for_tests(); }

  // Starts a hardcopy in the drawing's own device units, runs body, ends it, returns the file.
  std::string draw(const std::function<void()>& body, const std::string& title = "") {
    IGrHardCopy("S", path_.string(), title);
    const DeviceDescription& device = drawing().device;
    IGrUnits(0.0F, 0.0F, static_cast<float>(device.width() - 0.01),
             static_cast<float>(device.height() - 0.01));
    body();
    IGrHardCopy("E");
    return read_bytes(path_);
  }
  std::vector<std::string> draw_lines(const std::function<void()>& body, const std::string& title = "") {
    return crlf_lines(draw(body, title));
  }
  // The lines written after the first line equal to marker.
  static std::vector<std::string> after(const std::vector<std::string>& lines, const std::string& marker) {
    auto it = std::find(lines.begin(), lines.end(), marker);
    return it == lines.end() ? std::vector<std::string>{} : std::vector<std::string>(it + 1, lines.end());
  }
  static int count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }

  std::filesystem::path path_;
};

// One picture with every kind of primitive, drawn in user units 0..100.
void draw_test_picture();
// What a rendering of the test picture's 640 x 480 SVG document shows wrong: one text per
// known place (colour, text band) that does not match; empty when all do.
std::vector<std::string> svg_picture_faults(const Raster& image);

}  // namespace quill::test
