// Decoding a 1920 x 1080 and a 4096 x 4096 true-colour PNG (written by libpng with its
// default adaptive filters and zlib level): the toolkit's decoder beside libpng's (to
// blue-green-red rows, as the toolkit stores them) and Pillow's (timed in one Python
// process, best of several decodes, when /usr/bin/python3 has Pillow).
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "graphics/image/image_decoders.hpp"

namespace {

// A picture with gradients, flat boxes and a little noise, as red-green-blue rows.
std::vector<std::uint8_t> picture(int width, int height) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height));
  std::mt19937 noise(static_cast<unsigned>(width));
  std::uint8_t* p = rgb.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, p += 3) {
      const bool in_box = (x / 240 + y / 180) % 3 == 0;
      p[0] = static_cast<std::uint8_t>((x ^ y) & 0xC0);
      p[1] = in_box ? 200 : static_cast<std::uint8_t>(y * 255 / height);
      p[2] = in_box ? 40 : static_cast<std::uint8_t>(x * 255 / width + static_cast<int>(noise() & 3U));
    }
  }
  return rgb;
}

void append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void flush(png_structp) {}

std::vector<std::uint8_t> encode_with_libpng(int width, int height) {
  std::vector<std::uint8_t> rgb = picture(width, height), out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, append, flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, rgb.data() + static_cast<std::size_t>(y) * 3 * static_cast<std::size_t>(width));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

const std::vector<std::uint8_t>& file_of(int width) {
  static const std::vector<std::uint8_t> hd = encode_with_libpng(1920, 1080),
                                         large = encode_with_libpng(4096, 4096);
  return width == 1920 ? hd : large;
}

void BM_ToolkitDecode(benchmark::State& state) {
  const auto& file = file_of(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    quill::DecodedImage image;
    if (!quill::decode_png(file, image).ok()) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

struct MemoryInput {
  const std::vector<std::uint8_t>* file;
  std::size_t at = 0;
};

void read_memory(png_structp png, png_bytep out, png_size_t length) {
  auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (length > in->file->size() - in->at) png_error(png, "read past the end");
  std::copy_n(in->file->data() + in->at, length, out);
  in->at += length;
}

void BM_LibpngDecode(benchmark::State& state) {
  const auto& file = file_of(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    MemoryInput input{&file};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::uint8_t> pixels;
    if (setjmp(png_jmpbuf(png))) {
      state.SkipWithError("libpng failed");
      png_destroy_read_struct(&png, &info, nullptr);
      break;
    }
    png_set_read_fn(png, &input, read_memory);
    png_read_info(png, info);
    png_set_bgr(png);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const std::size_t pitch = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    pixels.resize(pitch * height);
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, pixels.data() + y * pitch, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
}

void BM_PillowDecode(benchmark::State& state) {
  const auto& file = file_of(static_cast<int>(state.range(0)));
  const auto path = std::filesystem::temp_directory_path() /
                    ("quill_decode_bench_" + std::to_string(state.range(0)) + ".png");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  const std::string command =
      "/usr/bin/python3 -c 'import io, sys, time\nfrom PIL import Image\ndata = open(sys.argv[1], "
      "\"rb\").read()\n"
      "best = 1e9\nfor _ in range(8):\n    t = time.perf_counter()\n    Image.open(io.BytesIO(data)).load()\n"
      "    best = min(best, time.perf_counter() - t)\nprint(best)' " +
      path.string() + " 2>/dev/null";
  for (auto _ : state) {
    std::FILE* pipe = popen(command.c_str(), "r");
    double seconds = 0.0;
    const bool read = pipe != nullptr && std::fscanf(pipe, "%lf", &seconds) == 1;
    if (pipe != nullptr) pclose(pipe);
    if (!read) {
      state.SkipWithError("Pillow is not available");
      break;
    }
    state.SetIterationTime(seconds);
  }
  std::filesystem::remove(path);
}

BENCHMARK(BM_ToolkitDecode)->Arg(1920)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngDecode)->Arg(1920)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PillowDecode)
    ->Arg(1920)
    ->Arg(4096)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
