// The comma-separated field splitter: quoting, line ends, chunk boundaries and limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/byte_scan.hpp"
#include "grid/csv_reader.hpp"

namespace {

// Fields as "text|" with "/" after the last field of a line and "!" after a cut one.
std::string split(const std::string& input, std::size_t chunk, std::size_t limit = quill::kCsvFieldLimit) {
  quill::CsvReader reader(limit);
  std::string out;
  const auto sink = [&](const quill::CsvField& field) {
    out.append(field.text);
    if (field.truncated) out += '!';
    out += field.ends_line ? "/" : "|";
  };
  for (std::size_t at = 0; at < input.size(); at += chunk) reader.feed(input.substr(at, chunk), sink);
  reader.finish(sink);
  return out;
}

struct SplitCase {
  const char* input;
  const char* fields;
};

TEST(CsvReader, SplitsFieldsAndLinesAtEveryChunkSize) {
  const SplitCase cases[] = {
      {"a,b\r\nc,d\r\n", "a|b/c|d/"},
      {"a,b\nc,d\n", "a|b/c|d/"},
      {"a,b\r\nc,d", "a|b/c|d/"},  // no line end after the last line
      {"", ""},
      {"\r\n", "/"},
      {"a,\r\n", "a|/"},
      {"\"x,y\",z\n", "x,y|z/"},
      {"x,y,z\n", "x|y|z/"},
      {"\"say \"\"hi\"\", you\"\n", "say \"hi\", you/"},
      {"say \"\"hi\"\", you\n", "say \"hi\"|you/"},  // not enclosed: the comma splits
      {"  \"  padded\"  ,  lead\n", "  padded|lead/"},
      {"\"\"\n", "/"},
      {"\"\"\"\"\n", "\"/"},
      {"\"a\"\"\",b\n", "a\"|b/"},
      {"\"two\r\nlines\",x\r\n", "two\r\nlines|x/"},
      {"\"two\nlines\"\n", "two\nlines/"},
      {"5\" pipe,x\nnext\n", "5\" pipe,x/next/"},  // a stray quote holds commas, not lines
      {"\"open\nto the end", "open\nto the end/"},
      {"a\r,b\r\n", "a|b/"},
      {"\"ab\"c,d\n", "\"ab\"c|d/"},
      {"a\r\r\n", "a\r/"},
  };
  for (const SplitCase& c : cases) {
    const std::string input = c.input;
    for (std::size_t chunk = 1; chunk <= input.size() + 1; ++chunk) {
      ASSERT_EQ(split(input, chunk), c.fields) << "input \"" << input << "\" chunk " << chunk;
    }
  }
}

TEST(CsvReader, CutsFieldsAtTheLimitAndGoesOn) {
  EXPECT_EQ(split("abcdefgh,xy\n", 3, 5), "abcde!|xy/");
  EXPECT_EQ(split("\"ab,cdefgh\",xy\n", 4, 5), "ab,c!|xy/");
  // A field longer than a chunk is carried whole across chunks.
  const std::string long_field(200'000, 'q');
  const std::string fields = split(long_field + ",end\n", 65'000, 300'000);
  EXPECT_EQ(fields, long_field + "|end/");
  const std::string cut = split(long_field + ",end\n", 65'000);
  EXPECT_EQ(cut, std::string(quill::kCsvFieldLimit, 'q') + "!|end/");
}

}  // namespace

// The word-at-a-time byte searches find the first of their bytes (or any of them) at
// every position of texts of every length up to three words, among bytes next to them in
// value (a match may mark the byte after it falsely) and bytes above 127. The texts lie in
// buffers of their exact size, so the sanitizer build sees any read past the end.
TEST(FindFirstOfBytes, FindsTheFirstAtEveryPositionAndLength) {
  const std::string filler = "-+\x80\xff\x01\x2d-a";
  const auto exact = [](const std::string& text) { return std::vector<char>(text.begin(), text.end()); };
  for (std::size_t length = 0; length <= 24; ++length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += filler[i % filler.size()];
    const std::vector<char> plain = exact(text);
    EXPECT_EQ((quill::find_first_of_bytes<',', '\n', '"'>(text, 0, length)), length);
    EXPECT_FALSE((quill::contains_any_of_bytes<',', '\n', '"'>({plain.data(), length})));
    for (std::size_t at = 0; at < length; ++at) {
      for (const char special : {',', '\n', '"'}) {
        std::string probe = text;
        probe[at] = special;
        if (at + 1 < length) probe[at + 1] = static_cast<char>(special + 1);
        EXPECT_EQ((quill::find_first_of_bytes<',', '\n', '"'>(probe, 0, length)), at) << length << " " << at;
        EXPECT_EQ((quill::find_first_of_bytes<',', '\n', '"'>(probe, at + 1, length)), length);
        const std::vector<char> bytes = exact(probe);
        EXPECT_TRUE((quill::contains_any_of_bytes<',', '\n', '"'>({bytes.data(), length})))
            << length << " " << at;
      }
    }
  }
}
