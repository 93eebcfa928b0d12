// The file and folder boxes under Wine, driven with real key presses: a thread timer
// waits for each box of a script, brings it to the front and types its keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "quill/errors.hpp"
#include "os_test_support.hpp"
#include "quill/os.hpp"
#include "test_support_win32.hpp"

namespace {

namespace fs = std::filesystem;

using os_test::trimmed;

// One step of a script: once a new enabled box is up, these keys go to it.
struct Step {
  std::string keys;                   // letters, digits, blank and "."; "\n" Enter, "\x1b" Escape
  bool (*ready)(HWND box) = nullptr;  // when set, the keys wait (up to 10 s) until it holds
};

struct Script {
  std::vector<Step> steps;
  std::size_t next = 0;
  HWND last_box = nullptr;
  int settle_ticks = 0;
};

Script script;

WORD key_of(char c) {
  switch (c) {
    case '\n': return VK_RETURN;
    case '\x1b': return VK_ESCAPE;
    case ' ': return VK_SPACE;
    case '.': return VK_OEM_PERIOD;
    default: return static_cast<WORD>(std::toupper(static_cast<unsigned char>(c)));
  }
}

BOOL CALLBACK find_new_box(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window) &&
      window != script.last_box) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK drive_boxes(HWND, UINT, UINT_PTR timer, DWORD) {
  if (script.next >= script.steps.size()) {
    KillTimer(nullptr, timer);
    return;
  }
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), find_new_box, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr || ++script.settle_ticks < 3) return;  // let the box finish its set-up
  const auto ready = script.steps[script.next].ready;
  if (ready != nullptr && !ready(box) && script.settle_ticks < 300) return;
  script.settle_ticks = 0;
  script.last_box = box;
  SetForegroundWindow(box);
  for (char c : script.steps[script.next].keys) win32_test::press(key_of(c));
  ++script.next;
}

// The folder box's tree has its selection on a folder of this name.
bool tree_selects_inner(HWND box) {
  HWND tree = FindWindowExA(box, nullptr, "SysTreeView32", nullptr);
  if (tree == nullptr) return false;
  const LRESULT item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
  char text[MAX_PATH] = {};
  TVITEMA query{};
  query.mask = TVIF_TEXT;
  query.hItem = reinterpret_cast<HTREEITEM>(item);
  query.pszText = text;
  query.cchTextMax = sizeof(text);
  return item != 0 && SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)) &&
         lstrcmpiA(text, "inner") == 0;
}

// Runs box with the script's key presses; true when every step was typed.
template <typename Box>
bool run_with_keys(std::vector<Step> steps, Box box) {
  script = Script{std::move(steps)};
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, drive_boxes);
  box();
  KillTimer(nullptr, timer);
  return script.next == script.steps.size();
}

// Windows compares names without regard to case.
bool same_path(const fs::path& a, const fs::path& b) {
  return lstrcmpiA(a.string().c_str(), b.string().c_str()) == 0;
}

class OsBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = fs::temp_directory_path() / "quill_os_boxes";
    fs::remove_all(scratch_);
    fs::create_directories(scratch_ / "inner");
    std::ofstream(scratch_ / "chosen file.csv") << "1,2\n";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }
  // The name the box gave, or "" for a blank answer; code receives the last-error code.
  std::string pick(int mode, int options, std::vector<Step> steps, int& code) {
    std::array<char, 260> name;
    name.fill(' ');
    IErrorReset();
    const bool typed = run_with_keys(std::move(steps), [&] {
      WSelectFile(mode, "CSV files|*.csv|All files|*.*", name, "Quill box test", options, "csv",
                  scratch_.string());
    });
    EXPECT_TRUE(typed) << "a box of the script never came up";
    code = IErrorCode();
    return trimmed(name);
  }
  fs::path scratch_;
};

TEST_F(OsBoxes, OpenAndSaveBoxesGiveTheTypedNameOrBlankForCancel) {
  int code = -1;
  const std::string opened = pick(0, 0, {{"chosen file.csv\n"}}, code);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(same_path(opened, scratch_ / "chosen file.csv")) << opened;

  // The default extension is added to a name typed without one.
  const std::string saved = pick(1, 0, {{"new totals\n"}}, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(fs::path(saved).filename().string(), "new totals.csv");
  EXPECT_TRUE(same_path(fs::path(saved).parent_path(), scratch_)) << saved;

  // Replacing an existing file is asked first; Yes gives the name.
  const std::string replaced = pick(1, 2, {{"chosen file\n"}, {"y"}}, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(fs::path(replaced).filename().string(), "chosen file.csv");

  EXPECT_EQ(pick(0, 0, {{"\x1b"}}, code), "");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(pick(1, 2, {{"\x1b"}}, code), "");
  EXPECT_EQ(code, 0);
}

TEST_F(OsBoxes, FolderBoxStartsAtTheGivenFolder) {
  std::array<char, 260> folder;
  const std::string start = (scratch_ / "inner").string();
  folder.fill(' ');
  std::copy(start.begin(), start.end(), folder.begin());
  IErrorReset();
  EXPECT_TRUE(
      run_with_keys({{"\n", tree_selects_inner}}, [&] { WSelectDirectory(folder, "Quill folder test"); }));
  EXPECT_EQ(IErrorCode(), 0);
  EXPECT_TRUE(same_path(trimmed(folder), scratch_ / "inner")) << trimmed(folder);

  std::copy(start.begin(), start.end(), folder.begin());
  EXPECT_TRUE(run_with_keys({{"\x1b"}}, [&] { WSelectDirectory(folder); }));
  EXPECT_EQ(IErrorCode(), 0);
  EXPECT_EQ(trimmed(folder), "");
}

}  // namespace
