// The system calls behind the operating-system services, one implementation per platform
// (os_posix.cpp, os_win32.cpp). Each call returns 0 or the system's error number (errno,
// GetLastError); the public routines report it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "os/os_internal.hpp"

namespace quill::os {

int remove_file(const std::string& path);
// Copies the bytes; a target that exists is replaced (a device is written as it is)
// unless it is read-only, and a regular target left incomplete by a failure is removed.
int copy_file(const std::string& source, const std::string& target);
// A new name for a file or folder. across_volumes allows copying to another volume.
// An existing target is never replaced.
int rename_file(const std::string& from, const std::string& to, bool across_volumes);
// One folder level; an existing one gives the system's "exists" error.
int make_directory(const std::string& path);
int remove_directory(const std::string& path);
int change_directory(const std::string& path);

struct FileStatus {
  bool directory = false;
  long long size = 0;
  long long modified = 0;  // seconds since 1970-01-01 UTC
};
int file_status(const std::string& path, FileStatus& status);
// True when both names lead to one existing file.
bool same_file(const std::string& first, const std::string& second);

struct DirectoryEntry {
  std::string name;
  bool directory = false;
};
// The entries of a folder except "." and "..", in the order the system gives them.
int read_directory(const std::string& path, std::vector<DirectoryEntry>& entries);

// The person's home folder as the system knows it (without a final separator).
std::optional<std::string> home_directory();

struct RunRequest {
  std::vector<std::string> arguments;  // program first
  std::string command_line;            // the same, as typed (Windows passes it on as it is)
  bool wait = false;
  bool hidden = false;
  int time_limit_ms = 0;    // 0: none
  std::string output_file;  // empty: output stays where it goes
};
struct RunResult {
  int system_error = 0;  // the program could not be started (or its output file opened)
  bool timed_out = false;
  int exit_code = -999;
};
RunResult run_program(const RunRequest& request);

// 0 when path can be opened for reading, else the system's error number.
int check_readable(const std::string& path);

// Shows a help file of a kind the platform can show; 0 or the toolkit's error code
// (1030 the viewer failed, 1081 no HTML Help library).
int show_help(HelpKind kind, const std::string& file, const std::string& topic);

struct MailMessage {
  std::vector<std::string> recipients;
  std::string subject;
  std::string text;
  std::vector<std::string> attachments;
  bool dialog = false;
};
// Hands message to the mail entry (see mail_entry); the mail interface's result, 0 sent.
int send_mail(void* entry, const MailMessage& message);

}  // namespace quill::os
