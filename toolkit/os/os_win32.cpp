// The operating-system services on Windows, through the ANSI file and process calls.
#include <windows.h>

#include <array>

#include "os/os_platform.hpp"

namespace quill::os {
namespace {

int last_error() { return static_cast<int>(GetLastError()); }

struct Handle {
  HANDLE handle = INVALID_HANDLE_VALUE;
  explicit Handle(HANDLE h) : handle(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) CloseHandle(handle);
  }
  bool valid() const { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
};

int copy_bytes(HANDLE in, HANDLE out) {
  std::array<char, 1 << 16> buffer;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      return last_error();
    }
    if (got == 0) return 0;
    DWORD offset = 0;
    while (offset < got) {
      DWORD written = 0;
      if (!WriteFile(out, buffer.data() + offset, got - offset, &written, nullptr)) {
        return last_error();
      }
      if (written == 0) return ERROR_DISK_FULL;
      offset += written;
    }
  }
}

long long unix_seconds(const FILETIME& time) {
  ULARGE_INTEGER ticks;
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  constexpr unsigned long long kTicksTo1970 = 116444736000000000ULL;  // 100 ns since 1601
  return static_cast<long long>((ticks.QuadPart - kTicksTo1970) / 10000000ULL);
}

}  // namespace

int remove_file(const std::string& path) { return DeleteFileA(path.c_str()) ? 0 : last_error(); }

// The target is created anew; a device ("LPT1:", "NUL") cannot be, so it is then opened
// as it exists.
int copy_file(const std::string& source, const std::string& target) {
  const Handle in(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in.valid()) return last_error();
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return ERROR_ACCESS_DENIED;  // as Windows itself answers; a server may not
  }
  HANDLE created =
      CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) {
    const int error = last_error();
    created = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) return error;
  }
  int error = 0;
  bool regular = false;
  {
    const Handle out(created);
    regular = GetFileType(out.handle) == FILE_TYPE_DISK;
    error = copy_bytes(in.handle, out.handle);
    if (error == 0 && regular && !FlushFileBuffers(out.handle)) error = last_error();
  }
  if (error != 0 && regular) DeleteFileA(target.c_str());
  return error;
}

int rename_file(const std::string& from, const std::string& to, bool across_volumes) {
  const DWORD flags = across_volumes ? MOVEFILE_COPY_ALLOWED : 0;
  return MoveFileExA(from.c_str(), to.c_str(), flags) ? 0 : last_error();
}

int make_directory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) ? 0 : last_error();
}
int remove_directory(const std::string& path) { return RemoveDirectoryA(path.c_str()) ? 0 : last_error(); }
int change_directory(const std::string& path) {
  return SetCurrentDirectoryA(path.c_str()) ? 0 : last_error();
}

int file_status(const std::string& path, FileStatus& status) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty()) return ERROR_FILE_NOT_FOUND;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return last_error();
  status.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  status.size =
      static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  status.modified = unix_seconds(data.ftLastWriteTime);
  return 0;
}

bool same_file(const std::string& first, const std::string& second) {
  auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const Handle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.valid() && GetFileInformationByHandle(file.handle, &info);
  };
  BY_HANDLE_FILE_INFORMATION a{};
  BY_HANDLE_FILE_INFORMATION b{};
  return identity(first, a) && identity(second, b) && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
         a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

int read_directory(const std::string& path, std::vector<DirectoryEntry>& entries) {
  std::string pattern = path;
  if (pattern.back() != '\\' && pattern.back() != '/' && pattern.back() != ':') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA data{};
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    const int error = last_error();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;  // an empty drive root has no entries
  }
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(find, &data));
  const int error = last_error();
  FindClose(find);
  return error == ERROR_NO_MORE_FILES ? 0 : error;
}

int check_readable(const std::string& path) {
  const Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid() ? 0 : last_error();
}

std::optional<std::string> home_directory() {
  char buffer[MAX_PATH + 1] = {};
  DWORD length = GetEnvironmentVariableA("USERPROFILE", buffer, sizeof(buffer));
  if (length > 0 && length < sizeof(buffer)) return std::string(buffer, length);
  char drive[MAX_PATH + 1] = {};
  const DWORD drive_length = GetEnvironmentVariableA("HOMEDRIVE", drive, sizeof(drive));
  length = GetEnvironmentVariableA("HOMEPATH", buffer, sizeof(buffer));
  if (drive_length > 0 && drive_length < sizeof(drive) && length > 0 && length < sizeof(buffer)) {
    return std::string(drive, drive_length) + std::string(buffer, length);
  }
  return std::nullopt;
}

// The command line goes to CreateProcessA as it is; the output file is inherited as the
// child's standard output and error. A run past its limit is ended with exit code 1.
RunResult run_program(const RunRequest& request) {
  RunResult result;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (request.hidden) {
    startup.dwFlags |= STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  Handle output(INVALID_HANDLE_VALUE);
  if (!request.output_file.empty()) {
    output.handle = CreateFileA(request.output_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!output.valid()) {
      result.system_error = last_error();
      return result;
    }
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.handle;
    startup.hStdError = output.handle;
  }
  std::string line = request.command_line;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, output.valid() ? TRUE : FALSE,
                      request.hidden ? CREATE_NO_WINDOW : 0, nullptr, nullptr, &startup, &process)) {
    result.system_error = last_error();
    return result;
  }
  const Handle process_handle(process.hProcess);
  const Handle thread_handle(process.hThread);
  if (!request.wait) return result;
  const DWORD limit = request.time_limit_ms > 0 ? static_cast<DWORD>(request.time_limit_ms) : INFINITE;
  if (WaitForSingleObject(process.hProcess, limit) == WAIT_TIMEOUT) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    result.timed_out = true;
    return result;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  result.exit_code = static_cast<int>(code);
  return result;
}

}  // namespace quill::os
