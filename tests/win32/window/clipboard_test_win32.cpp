// The clipboard under Wine: text exactly as passed, the busy clipboard, and the bitmap,
// metafile and private CGM transfers with their result codes.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "core/clipboard_ops.hpp"
#include "quill/clipboard.hpp"
#include "base/error_state.hpp"

namespace {

using namespace std::string_literals;

std::string clipboard_string(int& code) {
  std::array<char, 64> buffer{};
  int copied = 0;
  code = quill::clipboard_get_text(buffer, copied);
  return std::string(buffer.data(), static_cast<std::size_t>(copied));
}

int put_and_report(std::string_view text) {
  quill::errors().last_error = 0;
  WClipboardPutString(text);
  return quill::errors().last_error;
}

TEST(Clipboard, TextArrivesExactlyAsPassed) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"1234  ", "1234  "},  // trailing blanks kept
      {"  7.5", "  7.5"},    // leading blanks are the caller's business
      {"12\0"s
       "34",
       "12"},    // cut at the NUL
      {"", ""},  // empty text replaces what was there
  };
  for (const Case& c : cases) {
    ASSERT_EQ(put_and_report(c.text), 0);
    int code = -1;
    EXPECT_EQ(clipboard_string(code), c.expected);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(quill::clipboard_query(1), 1);
    EXPECT_EQ(quill::clipboard_query(2), static_cast<int>(c.expected.size()));
  }
}

TEST(Clipboard, TextReadsBackBlankPaddedOrCutToFit) {
  ASSERT_EQ(put_and_report("abcdefgh"), 0);
  EXPECT_EQ(WClipboardQuery(2), 8);
  struct Case {
    std::size_t size;
    std::string expected;
    int code;
  };
  const Case cases[] = {{10, "abcdefgh  ", 0}, {3, "abc", 1023}};
  auto read = [](std::size_t size, int& code) {
    std::string text(size, 'x');
    quill::errors().last_error = 0;
    WClipboardGetString(text);
    code = quill::errors().last_error;
    return text;
  };
  int code = -1;
  for (const Case& c : cases) {
    EXPECT_EQ(read(c.size, code), c.expected);
    EXPECT_EQ(code, c.code);
  }
  // A clipboard without text: all blank and 1095.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(WClipboardQuery(1), 0);
  EXPECT_EQ(read(4, code), "    ");
  EXPECT_EQ(code, 1095);
}

TEST(Clipboard, BusyClipboardGives1094AndChangesNothing) {
  ASSERT_EQ(put_and_report("before"), 0);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string holder(path);
  holder = holder.substr(0, holder.find_last_of("\\/") + 1) + "clipboard_holder.exe";
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, "QuillClipboardHolder");
  std::string command = "\"" + holder + "\" 1500";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process))
      << holder;
  ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);

  EXPECT_EQ(put_and_report("after"), 1094);
  int copied = 0;
  std::array<char, 8> buffer{};
  EXPECT_EQ(quill::clipboard_get_text(buffer, copied), 1094);

  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(ready);
  int code = -1;
  EXPECT_EQ(clipboard_string(code), "before");
}

TEST(Clipboard, PrivateCgmDataRoundTrips) {
  const std::array<unsigned char, 5> picture{0, 1, 2, 254, 255};
  ASSERT_EQ(quill::clipboard_put_cgm(-7, 123456, picture), 0);
  EXPECT_EQ(quill::clipboard_query(1), 6);
  EXPECT_EQ(quill::clipboard_query(2), 5);
  int code = -1;
  clipboard_string(code);
  EXPECT_EQ(code, 1095);

  std::array<unsigned char, 8> buffer{};
  std::int32_t a = 0;
  std::int32_t b = 0;
  int copied = 0;
  EXPECT_EQ(quill::clipboard_get_cgm(buffer, a, b, copied), 0);
  EXPECT_EQ(a, -7);
  EXPECT_EQ(b, 123456);
  ASSERT_EQ(copied, 5);
  EXPECT_TRUE(std::equal(picture.begin(), picture.end(), buffer.begin()));

  std::array<unsigned char, 2> small{};
  EXPECT_EQ(quill::clipboard_get_cgm(small, a, b, copied), 1023);
  EXPECT_EQ(copied, 2);
  EXPECT_EQ(small[1], 1);

  ASSERT_EQ(put_and_report("text"), 0);
  buffer.fill(9);
  EXPECT_EQ(quill::clipboard_get_cgm(buffer, a, b, copied), 1095);
  EXPECT_EQ(buffer[0], 9);
}

TEST(Clipboard, BitmapTransfers) {
  quill::BitmapSlot empty;
  EXPECT_EQ(quill::clipboard_put_bitmap(empty), 1021);
  EXPECT_EQ(quill::clipboard_get_bitmap(empty), 1021);

  HDC screen = GetDC(nullptr);
  quill::BitmapSlot source{CreateCompatibleBitmap(screen, 4, 3), 4, 3};
  quill::BitmapSlot target{CreateCompatibleBitmap(screen, 2, 2), 2, 2};
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, source.bitmap);
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  SetPixel(dc, 1, 1, RGB(0, 0, 255));
  SelectObject(dc, old);

  ASSERT_EQ(put_and_report("text first"), 0);
  EXPECT_EQ(quill::clipboard_get_bitmap(target), 1095);

  ASSERT_EQ(quill::clipboard_put_bitmap(source), 0);
  EXPECT_EQ(quill::clipboard_query(1), 2);
  EXPECT_EQ(quill::clipboard_query(3), 4);
  EXPECT_EQ(quill::clipboard_query(4), 3);
  ASSERT_EQ(quill::clipboard_get_bitmap(target), 0);
  old = SelectObject(dc, target.bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(source.bitmap);
  DeleteObject(target.bitmap);
}

TEST(Clipboard, MetafileTransfers) {
  RECT frame{0, 0, 2540, 1270};  // 1 by 0.5 inch in hundredths of a millimetre
  quill::MetafileSlot slot;
  slot.recording = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  ASSERT_NE(slot.recording, nullptr);
  Rectangle(slot.recording, 0, 0, 20, 10);
  ASSERT_EQ(quill::clipboard_put_metafile(slot), 0);
  EXPECT_EQ(slot.recording, nullptr);
  EXPECT_EQ(quill::clipboard_query(1), 3);
  EXPECT_GT(quill::clipboard_query(2), 0);

  quill::MetafileSlot copy;
  int wpt = 0, hpt = 0, wpx = 0, hpx = 0;
  ASSERT_EQ(quill::clipboard_get_metafile(copy, wpt, hpt, wpx, hpx), 0);
  EXPECT_NE(copy.metafile, nullptr);
  EXPECT_NE(copy.metafile, slot.metafile);
  EXPECT_EQ(wpt, 72);
  EXPECT_EQ(hpt, 36);
  DeleteEnhMetaFile(copy.metafile);
  DeleteEnhMetaFile(slot.metafile);

  ASSERT_EQ(put_and_report("x"), 0);
  quill::MetafileSlot untouched;
  EXPECT_EQ(quill::clipboard_get_metafile(untouched, wpt, hpt, wpx, hpx), 1095);
  EXPECT_EQ(untouched.metafile, nullptr);
}

}  // namespace
