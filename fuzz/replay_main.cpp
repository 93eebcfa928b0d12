// Runs every file of the directories (or files) named on the command line through
// LLVMFuzzerTestOneInput once, for builds without libFuzzer. A fault aborts the program
// (the fuzz targets trap, the sanitizers end it); the exit code is 1 when a path cannot
// be read or no input was found, so an empty or missing corpus never passes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool replay_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
    return false;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A copy of exactly the file's size, so reading past the input is caught.
  std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
  input.shrink_to_fit();
  static std::uint8_t no_byte = 0;
  LLVMFuzzerTestOneInput(input.empty() ? &no_byte : input.data(), input.size());
  return true;
}

std::vector<std::filesystem::path> inputs_of(const std::filesystem::path& path) {
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_directory(path)) {
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
  } else {
    files.push_back(path);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  bool all_read = true;
  for (int i = 1; i < argc; ++i) {
    for (const auto& file : inputs_of(argv[i])) {
      all_read = replay_file(file) && all_read;
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  return all_read && replayed > 0 ? 0 : 1;
}
