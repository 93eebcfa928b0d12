// The platform layer on Windows.
#include "base/platform.hpp"

#include <windows.h>

#include <cstdio>
#include <new>

namespace quill::platform {

std::optional<std::string> environment(const std::string& name) {
  std::string value(256, '\0');
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return std::nullopt;
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(length);  // length includes the terminating NUL here
  }
}

void set_environment(const std::string& name, const std::optional<std::string>& value) {
  SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
}

bool file_exists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string current_directory() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return {};
  std::string directory(needed, '\0');
  const DWORD length = GetCurrentDirectoryA(needed, directory.data());
  directory.resize(length < needed ? length : 0);
  return directory;
}

std::string default_temporary_directory() { return "C:\\"; }

ScreenInfo screen() {
  ScreenInfo info;
  HWND desktop = GetDesktopWindow();
  HDC dc = GetDC(desktop);
  if (dc == nullptr) return info;
  info.width = GetDeviceCaps(dc, HORZRES);
  info.height = GetDeviceCaps(dc, VERTRES);
  info.pixels_per_inch = GetDeviceCaps(dc, LOGPIXELSX);
  info.planes = GetDeviceCaps(dc, PLANES);
  info.bits_per_pixel = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(desktop, dc);
  return info;
}

OsVersion os_version() {
  OsVersion version;
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (GetVersionExA(&info)) {
    version.nt_family = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    version.major = static_cast<int>(info.dwMajorVersion);
    version.minor = static_cast<int>(info.dwMinorVersion);
  }
  return version;
}

char locale_decimal_separator() {
  char buffer[8] = {};
  if (GetLocaleInfoA(0x400, LOCALE_SDECIMAL, buffer, sizeof(buffer)) == 0 || buffer[0] == '\0') {
    return '.';
  }
  return buffer[0];
}

std::string command_line() {
  const char* line = GetCommandLineA();
  return line != nullptr ? std::string(line) : std::string();
}

// The system's own text in the user's language. Its trailing line break is blanked
// so the text can end a one-line report.
std::string system_error_text(int error_number) {
  if (error_number == 0) return {};
  char buffer[512] = {};
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(error_number), 0x400, buffer, sizeof(buffer), nullptr);
  if (length == 0) return {};
  std::string text(buffer, length < sizeof(buffer) ? length : sizeof(buffer));
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

namespace {

UINT button_flags(ButtonSet buttons) {
  switch (buttons) {
    case ButtonSet::Ok: return MB_OK;
    case ButtonSet::OkCancel: return MB_OKCANCEL;
    case ButtonSet::RetryCancel: return MB_RETRYCANCEL;
    case ButtonSet::YesNo: return MB_YESNO;
    case ButtonSet::YesNoCancel: return MB_YESNOCANCEL;
    case ButtonSet::AbortRetryIgnore: return MB_ABORTRETRYIGNORE;
  }
  return MB_OK;
}

UINT icon_flags(Icon icon) {
  switch (icon) {
    case Icon::None: return 0;
    case Icon::Stop: return MB_ICONHAND;
    case Icon::Question: return MB_ICONQUESTION;
    case Icon::Exclamation: return MB_ICONEXCLAMATION;
    case Icon::Information: return MB_ICONASTERISK;
  }
  return 0;
}

UINT default_flags(int index) {
  switch (index) {
    case 1: return MB_DEFBUTTON2;
    case 2: return MB_DEFBUTTON3;
    default: return MB_DEFBUTTON1;
  }
}

Answer answer_of(int result) {
  switch (result) {
    case IDOK: return Answer::Ok;
    case IDCANCEL: return Answer::Cancel;
    case IDABORT: return Answer::Abort;
    case IDRETRY: return Answer::Retry;
    case IDIGNORE: return Answer::Ignore;
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    default: return Answer::Failed;
  }
}

}  // namespace

// The owner is disabled while the box is up; afterwards focus goes back to the owner
// when it is a visible top-level window, and to the control of the owner that had it.
Answer message_box(const MessageBoxRequest& request) {
  const std::string text(request.text);
  const std::string caption(request.caption);
  UINT flags =
      button_flags(request.buttons) | icon_flags(request.icon) | default_flags(request.default_index);
  if (request.task_modal) flags |= MB_TASKMODAL;

  HWND owner = static_cast<HWND>(request.owner);
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  HWND focus = GetFocus();
  if (owner != nullptr) EnableWindow(owner, FALSE);
  const int result = MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
  if (owner != nullptr) {
    EnableWindow(owner, TRUE);
    const bool top_level = (GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD) == 0;
    if (top_level && IsWindowVisible(owner)) SetFocus(owner);
    if (focus != nullptr && IsChild(owner, focus)) SetFocus(focus);
  }
  return answer_of(result);
}

void exit_process(int code) {
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(code));
}

void write_stdout_line(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::optional<std::intptr_t> create_log_file(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  return reinterpret_cast<std::intptr_t>(file);
}

bool write_file(std::intptr_t handle, std::string_view data) {
  HANDLE file = reinterpret_cast<HANDLE>(handle);
  while (!data.empty()) {
    DWORD written = 0;
    if (!WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) || written == 0) {
      return false;
    }
    data.remove_prefix(written);
  }
  return true;
}

void close_file(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

// Large pages need a privilege a program seldom has: the ordinary heap serves.
void* allocate_table(std::size_t size) { return ::operator new(size); }

void free_table(void* memory, std::size_t size) noexcept { ::operator delete(memory, size); }

}  // namespace quill::platform
