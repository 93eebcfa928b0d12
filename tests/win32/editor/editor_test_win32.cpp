#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "base/error_state.hpp"
#include "core/window_table.hpp"
#include "editor/editor_window_win32.hpp"
#include "quill/editor.hpp"
#include "quill/errors.hpp"
#include "quill/events.hpp"
#include "quill/window.hpp"
#include "test_support_win32.hpp"

namespace {

using win32_test::press;

int take_error() {
  const int code = IErrorCode();
  IErrorReset();
  return code;
}

std::string text_of_editor() {
  std::string text(static_cast<std::size_t>(WEditorTextLength()), ' ');
  int length = 0;
  WEditorGetText(text, length);
  return text.substr(0, static_cast<std::size_t>(length));
}

std::string selection() {
  std::array<char, 256> text{};
  int length = 0;
  WEditorGetSelection(text, length);
  return std::string(text.data(), static_cast<std::size_t>(length));
}

// Types lower-case letters, digits and blanks as key presses.
void type(const std::string& keys) {
  for (char c : keys) {
    press(c == ' ' ? VK_SPACE : static_cast<WORD>(std::toupper(static_cast<unsigned char>(c))));
  }
  win32_test::drain(60);
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<int> bookmarks() {
  std::array<int, 8> lines{};
  int count = 0;
  WEditorBookmarks(lines, count);
  return std::vector<int>(lines.begin(), lines.begin() + std::min(count, 8));
}

class Editors : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::errors() = quill::ErrorState{};
    IErrorMode(0);
    int width = 700, height = 500;
    WindowOpen(7, 20, 20, &width, &height, std::nullopt, {}, std::nullopt, "Editor test");
    win32_test::drain(100);
  }
  void TearDown() override {
    WindowShutdown();
    quill::errors() = quill::ErrorState{};
  }
  // A child window made an editor with options, focused for key presses.
  int open_editor(int mode, int options) {
    int window = 0;
    WindowOpenChild(window, WinSystemMenu | WinStatusBar, 200, 200, 5000, 5000, "Editor");
    WindowSelect(window);
    WEditor(mode, options);
    EXPECT_EQ(take_error(), 0);
    const quill::Editor* editor = quill::editor_of_window(window);
    SetForegroundWindow(quill::windows().windows[static_cast<std::size_t>(window)].frame);
    if (editor != nullptr) SetFocus(editor->text);
    win32_test::drain(100);
    return window;
  }
};

TEST_F(Editors, RefusalsCarryTheirCodes) {
  WindowSelect(0);
  WEditor(EditorPlain);
  EXPECT_EQ(take_error(), 1022);
  int window = 0, inside = 0;
  WindowOpenChild(window, std::nullopt, 100, 100, 3000, 3000, "Plain");
  WindowOpenChild(inside, WinInsideParent | WinSystemMenu, 500, 500, 4000, 4000, "Inside");
  WindowSelect(window);
  WEditor(9);
  EXPECT_EQ(take_error(), 1024);
  EXPECT_EQ(WEditorModified(), 0);
  EXPECT_EQ(take_error(), 1028);
  WindowSelect(inside);
  WEditor(EditorPlain, EditorMenu);
  EXPECT_EQ(take_error(), 1025);
  WEditor(EditorPlain, EditorCommandLine);
  EXPECT_EQ(take_error(), 1033);
  WEditor(EditorPlain, 0);
  EXPECT_EQ(take_error(), 0);
  WEditorFormat("", 12, EditorBold);
  EXPECT_EQ(take_error(), 1070);
  std::array<char, 8> line{};
  WEditorCommandGet(line);
  EXPECT_EQ(take_error(), 1032);
  WEditorModal(EditorPlain, "", "Modal", 5);
  EXPECT_EQ(take_error(), 1026);
  WindowSelect(window);
  WEditor(EditorRich, EditorCommandLine);
  int count = 0;
  WEditorCommandHistory(1, line, count);
  EXPECT_EQ(take_error(), 1092);
  WEditorFormat("No Such Font Anywhere", 12, 0);
  EXPECT_EQ(take_error(), 1115);
  int first = 0, number = 0;
  WEditorBufferNew(first);
  for (int n = 1; n < quill::TextBuffers::kCount; ++n) WEditorBufferNew(number);
  EXPECT_EQ(take_error(), 0);
  WEditorBufferNew(number);
  EXPECT_EQ(take_error(), 1068);
  WEditorPutText("kept");
  WEditorBufferStore(first);
  WEditorPutText("other");
  WEditorBufferFetch(first);
  EXPECT_EQ(text_of_editor(), "kept");
  for (int n = 1; n <= quill::TextBuffers::kCount; ++n) WEditorBufferRelease(n);
  WEditorBufferFetch(first);
  EXPECT_EQ(take_error(), 1067);
}

TEST_F(Editors, TypingUndoCaretAndBookmarksByKeys) {
  open_editor(EditorPlain, EditorMenu | EditorToolbar);
  type("abc");
  press(VK_RETURN);
  type("def");
  press(VK_RETURN);
  type("ghi");
  EXPECT_EQ(text_of_editor(), "abc\r\ndef\r\nghi");
  EXPECT_EQ(WEditorModified(), 1);
  int line = 0, column = 0;
  WEditorCaret(line, column);
  EXPECT_EQ(line, 3);
  EXPECT_EQ(column, 4);
  press('Z', {VK_CONTROL});
  win32_test::drain(60);
  EXPECT_NE(text_of_editor(), "abc\r\ndef\r\nghi") << "Ctrl+Z undoes";
  WEditorPutText("one\r\ntwo\r\nthree\r\nfour");
  // Keys are handled when events are, so each press is drained before the caret moves.
  WEditorGoToLine(2);
  press(VK_F2, {VK_CONTROL});
  win32_test::drain(60);
  WEditorGoToLine(4);
  press(VK_F2, {VK_CONTROL});
  win32_test::drain(60);
  EXPECT_EQ(bookmarks(), (std::vector<int>{2, 4}));
  WEditorGoToLine(1);
  win32_test::drain(60);
  press(VK_F2);
  win32_test::drain(60);
  WEditorCaret(line, column);
  EXPECT_EQ(line, 2);
  press(VK_F2, {VK_SHIFT});
  win32_test::drain(60);
  WEditorCaret(line, column);
  EXPECT_EQ(line, 4) << "Shift+F2 wraps back to the last";
  // Two lines typed in above both bookmarks move them down.
  WEditorGoToLine(1);
  win32_test::drain(60);
  press(VK_RETURN);
  press(VK_RETURN);
  win32_test::drain(60);
  EXPECT_EQ(bookmarks(), (std::vector<int>{4, 6}));
  // Deleting the line a bookmark is on joins it to the line above.
  WEditorSelect(0, 1);  // the first (empty) line's end
  win32_test::drain(60);
  press(VK_DELETE);
  win32_test::drain(60);
  EXPECT_EQ(bookmarks(), (std::vector<int>{3, 5}));
}

TEST_F(Editors, FindAndReplaceDialogsByKeys) {
  open_editor(EditorPlain, EditorMenu);
  WEditorPutText("red green\r\nblue green\r\ngreenish");
  press('F', {VK_CONTROL});
  win32_test::drain(200);
  const quill::Editor* editor = quill::current_editor();
  ASSERT_NE(editor, nullptr);
  ASSERT_NE(editor->find_dialog, nullptr) << "Ctrl+F shows the find dialog";
  type("green");
  press(VK_RETURN);
  win32_test::drain(100);
  press(VK_RETURN);
  win32_test::drain(100);
  EXPECT_EQ(selection(), "green");
  int line = 0, column = 0;
  WEditorCaret(line, column);
  EXPECT_EQ(line, 2) << "the second Enter found the second match";
  press(VK_ESCAPE);
  win32_test::drain(100);
  EXPECT_EQ(editor->find_dialog, nullptr);
  // Ctrl+H: find "green", replace with "grey", Replace All (Alt+A), whole words only
  // would keep "greenish"; the dialog's default is any match.
  press('H', {VK_CONTROL});
  win32_test::drain(200);
  ASSERT_NE(editor->find_dialog, nullptr);
  press(VK_TAB);
  type("grey");
  press('A', {VK_MENU});
  win32_test::drain(200);
  EXPECT_EQ(text_of_editor(), "red grey\r\nblue grey\r\ngreyish");
  press(VK_ESCAPE);
  win32_test::drain(100);
  // The routines: whole word, case, up; one undo takes back a replace-all.
  int found = 0, count = 0;
  WEditorSelect(0, 0);
  WEditorFind("GREY", FindMatchCase, found);
  EXPECT_EQ(found, 0);
  WEditorFind("grey", FindWholeWord, found);
  EXPECT_EQ(found, 1);
  WEditorReplace("grey", "blue", FindWholeWord, count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(selection(), "grey") << "the next match is selected";
  WEditorReplaceAll("blue", "x", FindWholeWord, count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(text_of_editor(), "red x\r\nx grey\r\ngreyish");
  WEditorUndo();
  EXPECT_EQ(text_of_editor(), "red blue\r\nblue grey\r\ngreyish");
}

TEST_F(Editors, CommandLineAndHistory) {
  const int window = open_editor(EditorPlain, EditorCommandLine | EditorCommandHistory);
  WEventEnable(EvCommandLine, 1);
  const quill::Editor* editor = quill::current_editor();
  ASSERT_NE(editor, nullptr);
  SetFocus(editor->command);
  win32_test::drain(60);
  type("run");
  press(VK_RETURN);
  win32_test::Event e = win32_test::next_input_event();
  EXPECT_EQ(e.type, EvCommandLine);
  EXPECT_EQ(e.record.window, window);
  std::array<char, 16> line{};
  WEditorCommandGet(line);
  EXPECT_EQ(std::string(line.data(), line.size()), "run" + std::string(13, ' '));
  type("go");
  press(VK_RETURN);
  win32_test::next_input_event();
  press(VK_UP);
  press(VK_UP);
  win32_test::drain(60);
  WEditorCommandGet(line);
  EXPECT_EQ(std::string(line.data(), 3), "run") << "two steps back";
  press(VK_DOWN);
  win32_test::drain(60);
  WEditorCommandGet(line);
  EXPECT_EQ(std::string(line.data(), 3), "go ");
  int count = 0;
  WEditorCommandHistory(1, line, count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(std::string(line.data(), 3), "go ");
  EXPECT_EQ(take_error(), 0);
}

// Hostile bytes through the real control: everything but a lone LF comes back as it was.
TEST_F(Editors, PlainFilesKeepEveryByte) {
  open_editor(EditorPlain, 0);
  std::string all;
  for (int b = 0; b < 256; ++b) {
    if (b != '\n') all.push_back(static_cast<char>(b));
  }
  const std::string cases[] = {
      all + "\r\n" + all,
      std::string(100000, 'x') + "\r\n" + std::string("a\0b\rc", 5),
      "caf\xC3\xA9 \xE2\x82\xAC\r\nok\r\n",
  };
  for (const std::string& bytes : cases) {
    write_file("editor_in.txt", bytes);
    WEditorLoad("editor_in.txt");
    WEditorSave("editor_out.txt");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(read_file("editor_out.txt"), bytes) << bytes.substr(0, 20);
  }
  write_file("editor_in.txt", "unix\nlines\n");
  WEditorLoad("editor_in.txt");
  EXPECT_EQ(text_of_editor(), "unix\r\nlines\r\n");
  WEditorSave();
  EXPECT_EQ(read_file("editor_in.txt"), "unix\r\nlines\r\n");
  WEditorLoad("no such folder/none.txt");
  EXPECT_EQ(take_error(), 1);
}

// The first font family the system lists.
std::string some_font() {
  LOGFONTA any{};
  any.lfCharSet = DEFAULT_CHARSET;
  std::string name;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExA(
      dc, &any,
      [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM found) -> int {
        *reinterpret_cast<std::string*>(found) = font->lfFaceName;
        return 0;
      },
      reinterpret_cast<LPARAM>(&name), 0);
  ReleaseDC(nullptr, dc);
  return name;
}

TEST_F(Editors, RichTextFormatsAndRoundTrips) {
  open_editor(EditorRich, EditorMenu);
  const std::string font = some_font();
  ASSERT_FALSE(font.empty());
  WEditorPutText("plain bold end");
  WEditorSelect(6, 10);
  WEditorFormat(font, 14, EditorBold, 0x0000FF);
  EXPECT_EQ(take_error(), 0);
  // Printed, the bold red run keeps its style, colour and size (14 points).
  WEditorPrint(2, "editor_rich.ps", "rich");
  const std::string ps = read_file("editor_rich.ps");
  const std::size_t red = ps.find("1.0 0.0 0.0 g"), bold_font = ps.find("/Courier-2 ff", red);
  EXPECT_LT(ps.find("(plain )"), red);
  EXPECT_LT(bold_font, ps.find("(bold)", bold_font));
  EXPECT_LT(ps.find("(bold)"), ps.find("0.0 0.0 0.0 g", red)) << "the end is black again";
  CHARRANGE kept{};
  SendMessageW(quill::current_editor()->text, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  EXPECT_EQ(kept.cpMin, 6);
  EXPECT_EQ(kept.cpMax, 10);
  WEditorSave("editor_rich.rtf");
  const std::string rtf = read_file("editor_rich.rtf");
  EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
  std::size_t bold = rtf.find("\\b");  // the control word \b, not \blue
  while (bold != std::string::npos && std::isalpha(static_cast<unsigned char>(rtf[bold + 2]))) {
    bold = rtf.find("\\b", bold + 1);
  }
  ASSERT_NE(bold, std::string::npos);
  EXPECT_LT(rtf.find("plain"), bold) << "only the selection is bold";
  EXPECT_NE(rtf.find(font), std::string::npos);
  WEditorPutText("");
  WEditorLoad("editor_rich.rtf");
  EXPECT_EQ(text_of_editor().substr(0, 14), "plain bold end");
  EXPECT_EQ(WEditorModified(), 0);
}

TEST_F(Editors, PrintsToPostScript) {
  open_editor(EditorPlain, 0);
  std::string text;
  for (int i = 1; i <= 100; ++i) text += "printed line " + std::to_string(i) + "\r\n";
  WEditorPutText(text);
  WEditorPrint(2, "editor_print.ps", "printed.txt");
  EXPECT_EQ(take_error(), 0);
  const std::string ps = read_file("editor_print.ps");
  EXPECT_EQ(ps.rfind("%!PS", 0), 0u);
  EXPECT_NE(ps.find("(printed line 100)"), std::string::npos);
  EXPECT_NE(ps.find("(Page 2 of "), std::string::npos);
}

// A modal editor runs its own loop: a timer inside that loop reads the text it loaded and
// closes its window, and the call returns.
TEST_F(Editors, ModalEditorReturnsWhenClosed) {
  write_file("editor_modal.txt", "modal text\n");
  static std::string seen;
  seen.clear();
  SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    for (int n = 1; n < quill::kMaxWindows; ++n) {
      if (quill::Editor* editor = quill::editor_of_window(n)) {
        seen = quill::editor_output(*editor, quill::editor_text(*editor));
        PostMessageA(quill::windows().windows[static_cast<std::size_t>(n)].frame, WM_CLOSE, 0, 0);
      }
    }
  });
  int modified = -1;
  WEditorModal(EditorPlain, "editor_modal.txt", "Modal", std::nullopt, &modified);
  EXPECT_EQ(take_error(), 0);
  EXPECT_EQ(seen, "modal text\r\n");
  EXPECT_EQ(modified, 0);
  for (int n = 1; n < quill::kMaxWindows; ++n) EXPECT_EQ(quill::editor_of_window(n), nullptr);
}

// The speed figures: a 50 MB file loaded and shown, a word at its end found, a key
// echoed at the end of a million lines. The times are printed; the results checked.
TEST_F(Editors, LargeFileTimes) {
  const char* size_text = std::getenv("ORLIX_EDITOR_BIG_MB");
  const std::size_t megabytes = size_text != nullptr ? std::strtoul(size_text, nullptr, 10) : 1;
  std::string bytes;
  const std::string line = "the quick brown fox jumps over the lazy dog 0123456789 abcdefghij\r\n";
  while (bytes.size() < megabytes * 1000000) bytes += line;
  bytes += "needle at the end\r\n";
  write_file("editor_big.txt", bytes);
  open_editor(ViewerPlain, 0);
  using clock = std::chrono::steady_clock;
  const auto start = clock::now();
  WEditorLoad("editor_big.txt");
  UpdateWindow(quill::current_editor()->text);
  const auto shown = clock::now();
  int found = 0;
  WEditorFind("needle", FindMatchCase, found);
  const auto searched = clock::now();
  EXPECT_EQ(found, 1);
  int at_line = 0, column = 0;
  WEditorCaret(at_line, column);
  EXPECT_EQ(static_cast<std::size_t>(at_line), bytes.size() / line.size() + 1);
  auto ms = [](auto a, auto b) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count();
  };
  std::printf("editor: %zu MB loaded and shown in %lld ms, found at the end in %lld ms\n", megabytes,
              static_cast<long long>(ms(start, shown)), static_cast<long long>(ms(shown, searched)));
}

}  // namespace
