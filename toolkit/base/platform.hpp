// The few operating-system services the portable toolkit code needs. One
// implementation per platform: platform_win32.cpp and platform_posix.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quill::platform {

// The separator the platform's paths use.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Value of an environment variable; nullopt when it is unset or empty.
std::optional<std::string> environment(const std::string& name);
// Sets (or with nullopt removes) an environment variable of this process.
void set_environment(const std::string& name, const std::optional<std::string>& value);

// True when path names an existing file that is not a directory.
bool file_exists(const std::string& path);
std::string current_directory();
// Where temporary files go when the environment names no directory.
std::string default_temporary_directory();

struct ScreenInfo {
  int width = 0;
  int height = 0;
  int pixels_per_inch = 96;
  int planes = 1;
  int bits_per_pixel = 24;
};
ScreenInfo screen();

struct OsVersion {
  bool nt_family = false;
  int major = 0;
  int minor = 0;
};
OsVersion os_version();

// First character of the user's locale decimal separator.
char locale_decimal_separator();

// The process command line as the system gives it (program path first).
std::string command_line();

// The system's message text for an error number, without line breaks; empty when
// the system has none.
std::string system_error_text(int error_number);

// Message boxes. On systems without a window system the text goes to standard
// error and the box answers as if its affirmative button (OK, Yes, Retry) were pressed.
enum class ButtonSet { Ok, OkCancel, RetryCancel, YesNo, YesNoCancel, AbortRetryIgnore };
enum class Icon { None, Stop, Question, Exclamation, Information };
enum class Answer { Failed, Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct MessageBoxRequest {
  std::string_view text;
  std::string_view caption;
  ButtonSet buttons = ButtonSet::Ok;
  Icon icon = Icon::None;
  int default_index = 0;  // 0-based position of the default button in the set
  void* owner = nullptr;  // window handle, or null for none
  bool task_modal = false;
};
Answer message_box(const MessageBoxRequest& request);

// Ends the process at once with code; nothing is cleaned up.
[[noreturn]] void exit_process(int code);

// Writes text and a line end to standard output and flushes it.
void write_stdout_line(std::string_view text);

// A file opened for writing, shared for reading and created anew (truncated).
// Returns an opaque handle, or nullopt when the file cannot be created.
std::optional<std::intptr_t> create_log_file(const std::string& path);
// Appends data; false on a short write.
bool write_file(std::intptr_t handle, std::string_view data);
void close_file(std::intptr_t handle);

// Memory for a large table that lives long, such as a grid's cells: where the system
// offers huge pages, they are asked for, so that filling it takes a few hundred page
// faults rather than a hundred thousand. Throws std::bad_alloc when there is none.
void* allocate_table(std::size_t size);
// Frees what allocate_table gave for the same size.
void free_table(void* memory, std::size_t size) noexcept;

// A vector allocator over allocate_table, for arrays that may reach many megabytes.
template <typename T>
struct TableAllocator {
  using value_type = T;
  TableAllocator() = default;
  template <typename U>
  TableAllocator(const TableAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(allocate_table(n * sizeof(T))); }
  void deallocate(T* memory, std::size_t n) noexcept { free_table(memory, n * sizeof(T)); }
  friend bool operator==(const TableAllocator&, const TableAllocator&) { return true; }
};

}  // namespace quill::platform
