// Writes one drawing (a polyline of 1,000,000 points and 100,000 short labels) through
// the PostScript and SVG drivers and, when cairo is available, through cairo's PostScript
// and SVG surfaces; prints time, output size, MB/s and the ratios in one run.
// `graphics_drivers_bench toolkit` writes the toolkit's two files only (for profiling).
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "quill/graphics.hpp"

#ifdef ORLIX_HAVE_CAIRO
#include <cairo-ps.h>
#include <cairo-svg.h>
#include <cairo.h>
#endif

namespace {

constexpr int kPoints = 1'000'000;
constexpr int kLabels = 100'000;

struct Result {
  double seconds = 0.0;      // wall
  double cpu_seconds = 0.0;  // this process's processor time
  double megabytes = 0.0;
};

std::vector<float> g_xs, g_ys;

void make_points() {
  g_xs.resize(kPoints);
  g_ys.resize(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    g_xs[static_cast<std::size_t>(i)] = static_cast<float>(i) / kPoints;
    g_ys[static_cast<std::size_t>(i)] = 0.5F + 0.4F * std::sin(static_cast<float>(i) * 0.001F);
  }
}

std::string label(int i) { return "L" + std::to_string(i % 1000); }

template <typename Draw>
Result measure(const std::string& path, Draw draw) {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpu_start = std::clock();
  draw();
  const std::clock_t cpu_end = std::clock();
  const auto end = std::chrono::steady_clock::now();
  Result result;
  result.seconds = std::chrono::duration<double>(end - start).count();
  result.cpu_seconds = static_cast<double>(cpu_end - cpu_start) / CLOCKS_PER_SEC;
  result.megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  std::filesystem::remove(path);
  return result;
}

Result toolkit_run(int driver, const std::string& path) {
  return measure(path, [&] {
    IGrHardCopySelect(driver);
    IGrHardCopy("S", path);
    IGrUnits(0, 0, 1, 1);
    IGrPolyLine(g_xs, g_ys);
    IGrCharSize(0.01F, 0.015F);
    for (int i = 0; i < kLabels; ++i) {
      const float x = static_cast<float>(i % 100) / 100.0F, y = static_cast<float>(i / 100 % 100) / 100.0F;
      IGrCharOut(x, y, label(i));
    }
    IGrHardCopy("E");
  });
}

#ifdef ORLIX_HAVE_CAIRO
void cairo_drawing(cairo_surface_t* surface, double width, double height) {
  cairo_t* cr = cairo_create(surface);
  cairo_set_line_width(cr, 0.1);
  cairo_move_to(cr, g_xs[0] * width, (1.0 - g_ys[0]) * height);
  for (int i = 1; i < kPoints; ++i) {
    cairo_line_to(cr, g_xs[static_cast<std::size_t>(i)] * width,
                  (1.0 - g_ys[static_cast<std::size_t>(i)]) * height);
  }
  cairo_stroke(cr);
  cairo_select_font_face(cr, "Helvetica", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 0.015 * height * 1.65);
  for (int i = 0; i < kLabels; ++i) {
    cairo_move_to(cr, (i % 100) / 100.0 * width, (1.0 - (i / 100 % 100) / 100.0) * height);
    cairo_show_text(cr, label(i).c_str());
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
}

Result cairo_ps_run(const std::string& path) {
  return measure(path, [&] { cairo_drawing(cairo_ps_surface_create(path.c_str(), 756, 540), 756, 540); });
}

Result cairo_svg_run(const std::string& path) {
  return measure(path, [&] { cairo_drawing(cairo_svg_surface_create(path.c_str(), 640, 480), 640, 480); });
}
#endif

void print(const char* name, const Result& r) {
  std::printf("%-22s %8.3f s %9.2f MB %9.1f MB/s   cpu %8.3f s %9.1f MB/s\n", name, r.seconds, r.megabytes,
              r.megabytes / r.seconds, r.cpu_seconds, r.megabytes / r.cpu_seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const bool toolkit_only = argc > 1 && std::string_view(argv[1]) == "toolkit";
  make_points();
  const std::string dir = std::filesystem::temp_directory_path().string();
  const Result ps = toolkit_run(2, dir + "/bench_quill.ps");
  const Result svg = toolkit_run(3, dir + "/bench_quill.svg");
  std::printf("Drawing: polyline of %d points and %d labels, written to a file\n", kPoints, kLabels);
  print("toolkit PostScript", ps);
  print("toolkit SVG", svg);
  if (toolkit_only) return 0;
#ifdef ORLIX_HAVE_CAIRO
  const Result cps = cairo_ps_run(dir + "/bench_cairo.ps");
  const Result csvg = cairo_svg_run(dir + "/bench_cairo.svg");
  print("cairo PostScript", cps);
  print("cairo SVG", csvg);
  std::printf(
      "time ratio cairo/toolkit: PostScript %.2f, SVG %.2f; cpu %.2f, %.2f (above 1: the toolkit is "
      "faster)\n",
      cps.seconds / ps.seconds, csvg.seconds / svg.seconds, cps.cpu_seconds / ps.cpu_seconds,
      csvg.cpu_seconds / svg.cpu_seconds);
#else
  std::printf("cairo not found at configure time: run scripts/bench-setup.sh and reconfigure\n");
#endif
  return 0;
}
