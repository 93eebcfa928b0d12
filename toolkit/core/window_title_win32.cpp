// The caption of the current toolkit window.
#include <windows.h>

#include <string>

#include "base/error_codes.hpp"
#include "core/window_table.hpp"
#include "quill/errors.hpp"
#include "quill/window.hpp"

void WindowTitle(std::string_view title) {
  const quill::WindowTable& table = quill::windows();
  HWND frame = nullptr;
  if (table.open && table.current >= 0 && table.current < quill::kMaxWindows) {
    frame = table.windows[static_cast<std::size_t>(table.current)].frame;
  }
  if (frame == nullptr) {
    IErrorReport(quill::error::kInvalidWindow, "WindowTitle");
    return;
  }
  // As WindowOpen takes its title: up to a NUL, trailing blanks removed.
  std::string caption(title.substr(0, title.find('\0')));
  caption.erase(caption.find_last_not_of(' ') + 1);
  SetWindowTextA(frame, caption.c_str());
}
