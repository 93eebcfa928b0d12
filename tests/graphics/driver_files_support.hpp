// Support for the tests of the HP-GL, DXF and CGM drivers: drawing into a file through
// one driver, reading the result, and running independent readers on it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "graphics/drawing_state.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"

namespace quill::filetest {

std::string read_bytes(const std::filesystem::path& path);
void write_bytes(const std::filesystem::path& path, std::string_view bytes);
// Lines split at CR LF; false in *all_crlf when a lone LF or CR was seen.
std::vector<std::string> crlf_lines(const std::string& text, bool* all_crlf = nullptr);
// Runs a shell command, its output into output (when given); returns the exit status.
int run(const std::string& command, std::string* output = nullptr);
bool have_program(const std::string& name);
// Runs python_source with /usr/bin/python3 and the arguments; output as run.
int run_python(const std::string& python_source, const std::string& arguments, std::string* output);

struct Colour {
  int red = 0, green = 0, blue = 0;
};
// Pixels of an image file (any format Pillow reads) within 40 of each colour per
// component; an empty result when the image cannot be read.
std::vector<long> count_colours(const std::filesystem::path& image, const std::vector<Colour>& colours);

// A picture with every primitive and attribute, in user units 0..100; the second text
// is rotated unless rotated_text is false.
void draw_sample_picture(bool rotated_text = true);

// Draws through one driver into a temporary file named after the running test.
class DriverFileTest : public ::testing::Test {
 protected:
  virtual int driver() const = 0;
  virtual std::string extension() const = 0;

  void SetUp() override;
  void TearDown() override;
  // Starts from a fresh drawing state and driver description, runs configure, then
  // draws body in user units equal to the device's units.
  std::string draw(const std::function<void()>& body, const std::string& title = "",
                   const std::function<void()>& configure = {});
  std::filesystem::path path(const std::string& suffix = "") const;
  // Draws lines short lines into the full device: the write failure is reported once as
  // error 2, ends the hardcopy, and closing it afterwards reports nothing more.
  void expect_failed_write_reported_once(int lines);

  std::filesystem::path directory_;
};

}  // namespace quill::filetest
