// The buffered writer: bytes pass intact whatever the mix of write sizes, and the first
// failure is kept with its system error while later writes are ignored.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/buffered_writer.hpp"

namespace quill {
namespace {

std::filesystem::path temporary(const char* name) {
  return std::filesystem::temp_directory_path() / (std::string("quill_writer_") + name);
}

TEST(BufferedWriter, MixedWritesAroundATinyBufferArriveInOrder) {
  const auto path = temporary("mixed");
  std::string expected;
  {
    BufferedWriter out(7);
    ASSERT_TRUE(out.open(path.string()));
    for (int i = 0; i < 50; ++i) {
      const std::string piece(static_cast<std::size_t>(i % 11), static_cast<char>('a' + i % 26));
      out.write(piece);
      out.put(static_cast<char>('0' + i % 10));
      expected += piece + static_cast<char>('0' + i % 10);
      // Bytes written straight into the buffer, one fewer than the room asked for.
      const auto room_asked = static_cast<std::size_t>(i % 8);
      char* room = out.reserve(room_asked);
      ASSERT_NE(room, nullptr);
      const std::string direct(room_asked > 0 ? room_asked - 1 : 0, static_cast<char>('A' + i % 26));
      std::memcpy(room, direct.data(), direct.size());
      out.commit(room + direct.size());
      expected += direct;
    }
    EXPECT_EQ(out.reserve(8), nullptr);  // more than the buffer holds
    EXPECT_EQ(out.bytes_written(), static_cast<long long>(expected.size()));
    EXPECT_TRUE(out.close());
    EXPECT_TRUE(out.close());
  }
  {
    std::ifstream in(path, std::ios::binary);  // closed before the remove, as Windows needs
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);
  }
  std::filesystem::remove(path);
}

TEST(BufferedWriter, FirstFailureIsKeptAndLaterWritesAreIgnored) {
  BufferedWriter missing;
  EXPECT_FALSE(missing.open("/nonexistent-directory/file"));
  EXPECT_TRUE(missing.failed());
  EXPECT_EQ(missing.system_error(), ENOENT);
  EXPECT_FALSE(missing.close());
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
  BufferedWriter full(16);
  ASSERT_TRUE(full.open("/dev/full"));
  full.write("longer than the buffer");  // written through at once, and fails
  EXPECT_TRUE(full.failed());
  EXPECT_FALSE(full.is_open());
  EXPECT_EQ(full.system_error(), ENOSPC);
  full.write("ignored");
  EXPECT_FALSE(full.close());
  // A failure that shows only at close is kept as well.
  BufferedWriter late;
  ASSERT_TRUE(late.open("/dev/full"));
  late.put('x');
  EXPECT_FALSE(late.failed());
  EXPECT_FALSE(late.close());
  EXPECT_EQ(late.system_error(), ENOSPC);
}

}  // namespace
}  // namespace quill
