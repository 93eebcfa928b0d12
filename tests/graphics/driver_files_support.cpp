#include "driver_files_support.hpp"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include "base/error_state.hpp"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quill::filetest {

std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> crlf_lines(const std::string& text, bool* all_crlf) {
  std::vector<std::string> lines;
  bool clean = true;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (line.find_first_of("\r\n") != std::string::npos || end == std::string::npos) {
      clean = false;
    }
    lines.push_back(std::move(line));
    if (end == std::string::npos) {
      break;
    }
    start = end + 2;
  }
  if (all_crlf != nullptr) {
    *all_crlf = clean;
  }
  return lines;
}

#ifdef _WIN32
int run(const std::string&, std::string*) { return -1; }
int process_id() { return 0; }
#else
int process_id() { return static_cast<int>(::getpid()); }

int run(const std::string& command, std::string* output) {
  const std::string full = command + " 2>&1";
  std::FILE* pipe = popen(full.c_str(), "r");
  if (pipe == nullptr) {
    return -1;
  }
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    if (output != nullptr) {
      output->append(buffer.data(), n);
    }
  }
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

bool have_program(const std::string& name) { return run("command -v " + name + " >/dev/null") == 0; }

int run_python(const std::string& python_source, const std::string& arguments, std::string* output) {
  const std::filesystem::path script =
      std::filesystem::temp_directory_path() / ("quill_reader_" + std::to_string(process_id()) + ".py");
  write_bytes(script, python_source);
  const int status = run("/usr/bin/python3 " + script.string() + " " + arguments, output);
  std::filesystem::remove(script);
  return status;
}

std::vector<long> count_colours(const std::filesystem::path& image, const std::vector<Colour>& colours) {
  static const char* const kCounter = R"PY(
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
pixels = list(image.getdata())
for spec in sys.argv[2:]:
    r, g, b = (int(v) for v in spec.split(","))
    print(sum(1 for p in pixels if abs(p[0] - r) < 40 and abs(p[1] - g) < 40 and abs(p[2] - b) < 40))
)PY";
  std::string arguments = image.string();
  for (const Colour& c : colours) {
    arguments.append(" ").append(std::to_string(c.red)).append(",").append(std::to_string(c.green));
    arguments.append(",").append(std::to_string(c.blue));
  }
  std::string output;
  if (run_python(kCounter, arguments, &output) != 0) {
    return {};
  }
  std::vector<long> counts;
  std::size_t start = 0;
  while (start < output.size()) {
    const std::size_t end = output.find('\n', start);
    counts.push_back(std::stol(output.substr(start, end - start)));
    start = end == std::string::npos ? output.size() : end + 1;
  }
  return counts;
}

void draw_sample_picture(bool rotated_text) {
  IGrUnits(0.0F, 0.0F, 100.0F, 100.0F);
  IGrColour("red");
  IGrLineWidth(5);
  IGrJoin(5.0F, 5.0F, 95.0F, 5.0F);
  IGrLineType(2);
  IGrColour("blue");
  const float xs[] = {5.0F, 20.0F, 35.0F, 50.0F};
  const float ys[] = {90.0F, 70.0F, 90.0F, 70.0F};
  IGrPolyLine(xs, ys);
  IGrLineType(0);
  IGrColour("green");
  IGrFillPattern(4);
  IGrRectangle(10.0F, 20.0F, 30.0F, 40.0F);
  IGrColour("magenta");
  IGrTriangle(40.0F, 20.0F, 60.0F, 20.0F, 50.0F, 40.0F);
  IGrColourN(0x00A5FF);
  IGrParallelogram(65.0F, 20.0F, 80.0F, 20.0F, 90.0F, 40.0F);
  IGrColour("cyan");
  IGrCircle(80.0F, 70.0F, 8.0F);
  IGrSector(60.0F, 70.0F, 8.0F, 0.0F, 90.0F);
  const float px[] = {10.0F, 20.0F, 25.0F, 15.0F, 5.0F};
  const float py[] = {45.0F, 45.0F, 55.0F, 60.0F, 55.0F};
  IGrPolygon(px, py);
  IGrFillPattern(0);
  IGrColour("black");
  IGrCircle(30.0F, 70.0F, 5.0F);
  IGrEllipse(45.0F, 55.0F, 6.0F, 0.5F);
  IGrArc(70.0F, 50.0F, 6.0F, 45.0F, 180.0F);
  IGrSector(85.0F, 50.0F, 6.0F, 200.0F, 100.0F);
  IGrPoint(50.0F, 50.0F);
  IGrCharFont(3, 1);
  IGrCharSize(2.0F, 3.0F);
  IGrCharOut(10.0F, 95.0F, "Sample text: 1 + 2 = 3");
  IGrCharJustify(1);
  IGrCharRotate(rotated_text ? 30.0F : 0.0F);
  IGrCharOut(60.0F, 85.0F, "Rotated and centred");
  IGrCharRotate(0.0F);
  IGrCharJustify(0);
}

void DriverFileTest::SetUp() {
  reset_drawing_for_tests();
  errors().last_error = 0;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  directory_ = std::filesystem::temp_directory_path() /
               ("quill_" + std::string(info->test_suite_name()) + "_" + std::to_string(process_id()));
  std::filesystem::create_directories(directory_);
}

void DriverFileTest::TearDown() {
  reset_drawing_for_tests();
  std::filesystem::remove_all(directory_);
}

std::filesystem::path DriverFileTest::path(const std::string& suffix) const {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return directory_ / (std::string(info->name()) + suffix + extension());
}

std::string DriverFileTest::draw(const std::function<void()>& body, const std::string& title,
                                 const std::function<void()>& configure) {
  reset_drawing_for_tests();
  IGrHardCopySelect(driver());
  if (configure) {
    configure();
  }
  IGrHardCopy("S", path().string(), title);
  const DeviceDescription& device = drawing().device;
  IGrUnits(0.0F, 0.0F, static_cast<float>(device.width()), static_cast<float>(device.height()));
  body();
  IGrHardCopy("E");
  return read_bytes(path());
}

void DriverFileTest::expect_failed_write_reported_once(int lines) {
#ifdef _WIN32
  (void)lines;
  GTEST_SKIP() << "/dev/full is a device of the native build";
#else
  IGrHardCopySelect(driver());
  IGrHardCopy("S", "/dev/full");
  for (int i = 0; i < lines; ++i) {
    IGrJoin(0.0F, 0.0F, 1.0F, 1.0F);
  }
  EXPECT_EQ(errors().last_error, 2);
  EXPECT_FALSE(drawing().hardcopy.active);
  errors().last_error = 0;
  IGrHardCopy("E");
  EXPECT_EQ(errors().last_error, 0);
#endif
}

}  // namespace quill::filetest
