// The examples of the README and of docs/, taken from them at configure time, compiled and
// run under Wine. The plot example gets a real click into its graphics field and "Done";
// its saved picture must show the dot where the click was. The first application gets a
// value typed into its modal dialog, OK, and Yes or No in its message box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "test_support_win32.hpp"

#include "readme_plot_example.inc"
#include "first_application.inc"

namespace {

// The visible dialog box captioned title (a loaded dialog stays hidden beside its modal
// display), or null.
HWND visible_box(const char* title) {
  struct Search {
    const char* title;
    HWND found;
  } search{title, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char caption[64] = {};
        char name[16] = {};
        GetWindowTextA(window, caption, sizeof caption);
        GetClassNameA(window, name, sizeof name);
        if (IsWindowVisible(window) && lstrcmpA(caption, s->title) == 0 && lstrcmpA(name, "#32770") == 0) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

POINT g_click{};  // the click, in the field's client pixels
int g_step = 0;

// Clicks into the plot field once the dialog shows, then presses "Done".
void CALLBACK drive_plot(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = visible_box("Plot");
  if (dialog == nullptr) return;
  HWND field = GetDlgItem(dialog, PLOT_FIELD);
  if (++g_step == 1) {
    RECT r{};
    GetClientRect(field, &r);
    g_click = POINT{r.right / 4, r.bottom / 4};
    POINT screen = g_click;
    ClientToScreen(field, &screen);
    SetForegroundWindow(dialog);
    SetCursorPos(screen.x, screen.y);
  } else if (g_step == 2) {
    win32_test::mouse(MOUSEEVENTF_LEFTDOWN);
    win32_test::mouse(MOUSEEVENTF_LEFTUP);
  } else if (g_step == 4) {
    KillTimer(nullptr, timer);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  }
}

TEST(DocExamples, PlotFieldDrawsADotWhereItIsClicked) {
  WStartup();
  WindowOpen();
  std::remove("plot.bmp");
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, drive_plot);
  const int dots = plot_clicks();
  KillTimer(nullptr, timer);
  WindowShutdown();
  EXPECT_EQ(dots, 1);

  std::ifstream file("plot.bmp", std::ios::binary);
  const std::vector<unsigned char> bmp((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
  ASSERT_GE(bmp.size(), 54U);
  const int width = bmp[18] | (bmp[19] << 8);
  const int height = bmp[22] | (bmp[23] << 8);
  const int bytes = bmp[28] / 8;
  ASSERT_GE(bytes, 3) << "a true-colour display";
  const std::size_t pitch =
      (static_cast<std::size_t>(width) * static_cast<std::size_t>(bytes) + 3) & ~std::size_t{3};
  // Rows are stored from the bottom; pixels as blue, green, red.
  auto red_at = [&](int x, int y) {
    const std::size_t at = (bmp[10] | (bmp[11] << 8)) + static_cast<std::size_t>(height - 1 - y) * pitch +
                           static_cast<std::size_t>(x) * static_cast<std::size_t>(bytes);
    return bmp[at] == 0 && bmp[at + 1] == 0 && bmp[at + 2] == 255;
  };
  EXPECT_TRUE(red_at(g_click.x, g_click.y));
  EXPECT_FALSE(red_at(width * 3 / 4, height * 3 / 4));
  std::remove("plot.bmp");
}

const char* g_answer = nullptr;  // the message box's button: "yes" or "no"

// Types 7.25 into the modal dialog's field and presses OK, then answers the message box.
void CALLBACK drive_ask(HWND, UINT, UINT_PTR timer, DWORD) {
  if (HWND dialog = visible_box("Value"); dialog != nullptr) {
    HWND field = GetDlgItem(dialog, ASK_VALUE);
    SetWindowTextA(field, "7.25");
    SendMessageA(field, EM_SETMODIFY, TRUE, 0);  // as typing leaves it
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  } else if (HWND box = visible_box("Ask"); box != nullptr) {
    const int button = g_answer[0] == 'y' ? IDYES : IDNO;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    KillTimer(nullptr, timer);
  }
}

TEST(DocExamples, FirstApplicationReadsTheEndingButtonTheValueAndTheAnswer) {
  struct Case {
    const char* answer;
    int expected;
  };
  for (const Case c : {Case{"yes", 725}, Case{"no", -1}}) {
    g_answer = c.answer;
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, drive_ask);
    EXPECT_EQ(run_ask(), c.expected) << c.answer;
    KillTimer(nullptr, timer);
  }
}

}  // namespace
