// The operating-system services on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "os/os_platform.hpp"

extern char** environ;

namespace quill::os {
namespace {

// Writes all of data; 0 or the error number.
int write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return ENOSPC;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

int copy_bytes(int in, int out) {
  std::array<char, 1 << 16> buffer;
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return 0;
    if (const int error = write_all(out, buffer.data(), static_cast<std::size_t>(got))) return error;
  }
}

// Children started without waiting, collected once they have ended so none stays a zombie.
std::vector<pid_t>& background_children() {
  static std::vector<pid_t> children;
  return children;
}

void collect_background_children() {
  std::vector<pid_t>& children = background_children();
  std::erase_if(children, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

int exit_code_of(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -999;
}

}  // namespace

int remove_file(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return EISDIR;
  return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int copy_file(const std::string& source, const std::string& target) {
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  struct stat info {};
  if (::fstat(in, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(in);
    return EISDIR;
  }
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
      (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    ::close(in);
    return EACCES;  // read-only for everyone, the superuser too
  }
  const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) {
    const int error = errno;
    ::close(in);
    return error;
  }
  int error = copy_bytes(in, out);
  ::close(in);
  struct stat written {};
  const bool regular = ::fstat(out, &written) == 0 && S_ISREG(written.st_mode);
  if (::close(out) != 0 && error == 0) error = errno;
  if (error != 0 && regular) ::unlink(target.c_str());
  return error;
}

int rename_file(const std::string& from, const std::string& to, bool across_volumes) {
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0) return errno;
  if (::lstat(to.c_str(), &info) == 0) return EEXIST;
  if (::rename(from.c_str(), to.c_str()) == 0) return 0;
  if (errno != EXDEV || !across_volumes || S_ISDIR(info.st_mode)) return errno;
  if (const int error = copy_file(from, to)) return error;
  return remove_file(from);
}

int make_directory(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno; }
int remove_directory(const std::string& path) { return ::rmdir(path.c_str()) == 0 ? 0 : errno; }
int change_directory(const std::string& path) { return ::chdir(path.c_str()) == 0 ? 0 : errno; }

int file_status(const std::string& path, FileStatus& status) {
  struct stat info {};
  if (path.empty()) return ENOENT;
  if (::stat(path.c_str(), &info) != 0) return errno;
  status.directory = S_ISDIR(info.st_mode);
  status.size = static_cast<long long>(info.st_size);
  status.modified = static_cast<long long>(info.st_mtime);
  return 0;
}

bool same_file(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

int read_directory(const std::string& path, std::vector<DirectoryEntry>& entries) {
  DIR* directory = ::opendir(path.c_str());
  if (directory == nullptr) return errno;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    const bool is_directory =
        ::fstatat(::dirfd(directory), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
    entries.push_back({name, is_directory});
  }
  ::closedir(directory);
  return 0;
}

int check_readable(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat info {};
  const bool directory = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
  ::close(fd);
  return directory ? EISDIR : 0;
}

std::optional<std::string> home_directory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    return std::string(user->pw_dir);
  }
  return std::nullopt;
}

// posix_spawnp reports a program it cannot start as its result; a waiting run past its
// limit is ended with SIGKILL.
RunResult run_program(const RunRequest& request) {
  RunResult result;
  collect_background_children();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!request.output_file.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, request.output_file.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0666);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  }
  std::vector<char*> argv;
  for (const std::string& argument : request.arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  pid_t pid = 0;
  result.system_error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (result.system_error != 0) return result;
  if (!request.wait) {
    background_children().push_back(pid);
    return result;
  }
  int status = 0;
  if (request.time_limit_ms <= 0) {
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exit_code = exit_code_of(status);
    return result;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(request.time_limit_ms);
  for (;;) {
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      result.exit_code = exit_code_of(status);
      return result;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    const timespec pause{0, 2'000'000};
    ::nanosleep(&pause, nullptr);
  }
  ::kill(pid, SIGKILL);
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.timed_out = true;
  return result;
}

}  // namespace quill::os
