// Encoding a 1920 x 1080 true-colour picture: the toolkit's PNG encoder beside libpng
// with the same zlib level and no filtering, and the BMP file beside a plain write of the
// same number of bytes (the disk's speed).
#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "graphics/image/image_encoders.hpp"
#include "graphics/image/image_file.hpp"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A picture with gradients, flat shapes and a little noise, stored as a 24-bit bitmap
// (blue, green, red; rows bottom-up).
struct Picture {
  std::vector<std::uint8_t> pixels;
  quill::PixelBuffer buffer;
  Picture() : pixels(static_cast<std::size_t>(kWidth) * 3 * kHeight) {
    std::mt19937 noise(1920);
    for (int y = 0; y < kHeight; ++y) {
      std::uint8_t* row = pixels.data() + static_cast<std::size_t>(kHeight - 1 - y) * kWidth * 3;
      for (int x = 0; x < kWidth; ++x) {
        const bool in_box = (x / 240 + y / 180) % 3 == 0;
        const auto jitter = static_cast<std::uint8_t>(noise() & 3U);
        row[3 * x] = in_box ? 40 : static_cast<std::uint8_t>(x * 255 / kWidth + jitter);
        row[3 * x + 1] = in_box ? 200 : static_cast<std::uint8_t>(y * 255 / kHeight);
        row[3 * x + 2] = static_cast<std::uint8_t>((x ^ y) & 0xC0);
      }
    }
    buffer.width = kWidth;
    buffer.height = kHeight;
    buffer.bits_per_pixel = 24;
    buffer.pixels = pixels;
    buffer.row_pitch = static_cast<std::size_t>(kWidth) * 3;
    buffer.bottom_up = true;
  }
};

const Picture& picture() {
  static const Picture instance;
  return instance;
}

class VectorSink final : public quill::ByteSink {
 public:
  std::vector<std::uint8_t> bytes;
  bool write(std::span<const std::uint8_t> data) override {
    bytes.insert(bytes.end(), data.begin(), data.end());
    return true;
  }
  quill::ImageResult failure() const override { return {}; }
};

void BM_ToolkitPng(benchmark::State& state) {
  const Picture& p = picture();
  std::size_t size = 0;
  for (auto _ : state) {
    VectorSink sink;
    sink.bytes.reserve(4 << 20);
    if (!quill::encode_png(p.buffer, sink).ok()) state.SkipWithError("encode failed");
    size = sink.bytes.size();
    benchmark::DoNotOptimize(sink.bytes.data());
  }
  state.counters["bytes"] = static_cast<double>(size);
}

void append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void flush(png_structp) {}

void BM_LibPng(benchmark::State& state) {
  const Picture& p = picture();
  std::vector<png_bytep> rows(kHeight);
  for (int y = 0; y < kHeight; ++y) {
    rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(p.buffer.row(y));
  }
  std::size_t size = 0;
  for (auto _ : state) {
    std::vector<std::uint8_t> out;
    out.reserve(4 << 20);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
      state.SkipWithError("libpng failed");
      png_destroy_write_struct(&png, &info);
      break;
    }
    png_set_write_fn(png, &out, append, flush);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, Z_DEFAULT_COMPRESSION);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_bgr(png);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_BGR, nullptr);
    png_destroy_write_struct(&png, &info);
    size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes"] = static_cast<double>(size);
}

std::string bench_file(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void BM_ToolkitBmpFile(benchmark::State& state) {
  const std::string path = bench_file("quill_bench.bmp");
  for (auto _ : state) {
    if (!quill::save_image_file(quill::ImageFormat::Bmp, picture().buffer, path).ok()) {
      state.SkipWithError("save failed");
    }
  }
  std::filesystem::remove(path);
}

// The same bytes (headers and pixels) written with one fwrite: what the disk allows.
void BM_PlainWrite(benchmark::State& state) {
  const std::string path = bench_file("quill_bench.raw");
  const std::vector<std::uint8_t>& pixels = picture().pixels;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::uint8_t header[54] = {};
    std::fwrite(header, 1, sizeof header, file);
    std::fwrite(pixels.data(), 1, pixels.size(), file);
    std::fclose(file);
  }
  std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_ToolkitPng)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibPng)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ToolkitBmpFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_MAIN();
