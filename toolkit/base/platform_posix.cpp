// The platform layer on POSIX systems. There is no window system: message boxes go
// to standard error, and the screen is a nominal one.
#include "base/platform.hpp"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

namespace quill::platform {

std::optional<std::string> environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

void set_environment(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
}

bool file_exists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string current_directory() {
  std::string buffer(4096, '\0');
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return {};
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

std::string default_temporary_directory() { return "/tmp/"; }

ScreenInfo screen() { return ScreenInfo{1024, 768, 96, 1, 24}; }

OsVersion os_version() {
  OsVersion version;
  struct utsname name {};
  if (::uname(&name) == 0) {
    std::sscanf(name.release, "%d.%d", &version.major, &version.minor);
  }
  return version;
}

char locale_decimal_separator() {
  char separator = '.';
  locale_t user = ::newlocale(LC_NUMERIC_MASK, "", locale_t{});
  if (user != locale_t{}) {
    const char* point = ::nl_langinfo_l(RADIXCHAR, user);
    if (point != nullptr && *point != '\0') separator = *point;
    ::freelocale(user);
  }
  return separator;
}

// Rebuilds a command line from the argument vector, quoting arguments with blanks.
std::string command_line() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string line;
  std::size_t start = 0;
  while (start < raw.size()) {
    std::size_t end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    const std::string argument = raw.substr(start, end - start);
    if (!line.empty()) line += ' ';
    if (argument.find(' ') != std::string::npos || argument.empty()) {
      line += '"' + argument + '"';
    } else {
      line += argument;
    }
    start = end + 1;
  }
  return line;
}

std::string system_error_text(int error_number) {
  if (error_number == 0) return {};
  return std::strerror(error_number);
}

Answer message_box(const MessageBoxRequest& request) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(request.caption.size()), request.caption.data(),
               static_cast<int>(request.text.size()), request.text.data());
  std::fflush(stderr);
  switch (request.buttons) {
    case ButtonSet::Ok:
    case ButtonSet::OkCancel: return Answer::Ok;
    case ButtonSet::RetryCancel:
    case ButtonSet::AbortRetryIgnore: return Answer::Retry;
    case ButtonSet::YesNo:
    case ButtonSet::YesNoCancel: return Answer::Yes;
  }
  return Answer::Ok;
}

void exit_process(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

void write_stdout_line(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::optional<std::intptr_t> create_log_file(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return std::nullopt;
  return static_cast<std::intptr_t>(fd);
}

bool write_file(std::intptr_t handle, std::string_view data) {
  const int fd = static_cast<int>(handle);
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void close_file(std::intptr_t handle) { ::close(static_cast<int>(handle)); }

namespace {

// Tables from this size on are aligned to the huge page size and marked for huge pages.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kHugeTable = 2 * kHugePage;  // a million doubles (8 MB) qualify

}  // namespace

void* allocate_table(std::size_t size) {
  if (size < kHugeTable) return ::operator new(size);
  void* memory = nullptr;
  if (posix_memalign(&memory, kHugePage, size) != 0) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  madvise(memory, size, MADV_HUGEPAGE);  // only advice: without huge pages nothing changes
#endif
  return memory;
}

void free_table(void* memory, std::size_t size) noexcept {
  if (size < kHugeTable) {
    ::operator delete(memory, size);
  } else {
    std::free(memory);
  }
}

}  // namespace quill::platform
