// Operating-system services: the environment, files and folders, running programs, help display, mail, and
// the file and folder selection boxes. File and folder names lose their trailing blanks.
// A failure of the system itself reports 13 with the system's error number, whose text
// the report line carries.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// Writes the value of environment variable name into value, blank-padded (all blank
// when unset). A value longer than value leaves it blank and reports 1023.
void IOsVariable(std::string_view name, std::span<char> value);

// Files. A rename or move never replaces an existing target; a copy does. A failure of
// the system (a missing file, no permission) reports 13.

// Deletes a file.
void IOsDeleteFile(std::string_view file);
// Copies the bytes of source to target; the same file on both sides reports 55, a
// read-only target is not replaced (13), and a target left half written is removed.
void IOsCopyFile(std::string_view source, std::string_view target);
// A new name for a file or folder on the same volume.
void IOsRenameFile(std::string_view old_name, std::string_view new_name);
// Like IOsRenameFile, but also across volumes (by copying, then deleting the source).
void IOsMoveFile(std::string_view source, std::string_view target);

// True when path names an existing file (IOsExists) or folder (IOsDirExists).
bool IOsExists(std::string_view path);
bool IOsDirExists(std::string_view path);
// Size in bytes and time of the last change (seconds since 1970-01-01 UTC) of a file or
// folder; -999 when it cannot be examined.
void IOsFileSize(std::string_view file, long long& size);
void IOsFileTime(std::string_view file, long long& seconds);

// Folders. IOsDirMake also makes missing parent folders; an existing folder is no
// failure. IOsDirRemove removes an empty folder only.
void IOsDirMake(std::string_view directory);
void IOsDirRemove(std::string_view directory);
// Makes directory the current folder.
void IOsDirChange(std::string_view directory);
// The current, home and temporary folders, ending in the path separator and blank-padded;
// 1023 (and blanks) when the name does not fit, 1093 when no home folder can be found.
// The temporary folder is TEMP, else TMP, else the system's default.
void IOsDirName(std::span<char> directory);
void IOsHomeDirectory(std::span<char> directory);
void IOsTempDirectory(std::span<char> directory);

// Listing a folder: the entries of directory whose names match pattern ("*" any run of
// characters, "?" one character; without regard to case on Windows), "." and ".." never.
// kind: 0 files (default), 1 folders, 2 both. IOsDirInfo counts them; IOsDirList puts
// their names, in byte order, into names and their number into count. More names than
// names holds: the first ones are kept, count tells how many matched, and 40 is reported.
void IOsDirInfo(std::string_view directory, std::string_view pattern, int& count,
                std::optional<int> kind = std::nullopt);
void IOsDirList(std::string_view directory, std::string_view pattern, std::span<std::string> names,
                int& count, std::optional<int> kind = std::nullopt);

// Runs a command line: program then arguments, separated by blanks, an argument that
// begins with a double quote running to the next one. mode is the sum of 1 (wait until it
// ends) and 2 (hidden window). Waiting, exit_code receives its exit code (128 plus the
// signal on POSIX systems when a signal ended it); otherwise -999. time_limit_ms > 0
// bounds a waiting run: a program still running then is ended and 1034 reported.
// output_file receives the program's standard output and error. An empty command reports
// 23, a program that cannot be started 13.
void IOsExecute(std::string_view command, int mode, int& exit_code,
                std::optional<int> time_limit_ms = std::nullopt,
                std::optional<std::string_view> output_file = std::nullopt);

// Help: a ".chm" file in HTML Help (1081 when its viewer library is missing), a ".htm",
// ".html" or ".txt" file in the viewer the system associates with it; topic names a page
// of a ".chm" file. 1030 when the viewer fails (always on systems without one), 1031 for
// any other extension, 13 for a missing file.
void WHelpFile(std::string_view file, std::optional<std::string_view> topic = std::nullopt);

// Mail through the system's mail interface (MAPISendMail of "mapi32.dll"). recipients and
// attachments are lists separated by ";". dialog 1 lets the person edit the message
// before it goes. 1085 without a recipient, 1082 without the mail library (always on
// systems without one), 1084 for an attachment that cannot be read, 1083 when the call
// fails (its result code in the report line).
void IOsSendMail(std::string_view recipients, std::string_view subject, std::string_view text,
                 std::optional<std::string_view> attachments = std::nullopt,
                 std::optional<int> dialog = std::nullopt);

// The system's box to pick a file: mode 0 open, 1 save. filters pairs descriptions and
// patterns, separated by "|" ("CSV files|*.csv|All files|*.*"). file_name holds the name
// proposed and receives the name chosen, blank-padded; all blank when the person cancels.
// options: the sum of 1 (several files may be picked, open box: their full names come
// separated by "|") and 2 (save box: ask before replacing an existing file). A default
// extension (without the dot) is added to a name typed without one. 1023 when the name
// does not fit, 1004 when the box cannot be shown (always on systems without one).
void WSelectFile(int mode, std::string_view filters, std::span<char> file_name,
                 std::optional<std::string_view> title = std::nullopt,
                 std::optional<int> options = std::nullopt,
                 std::optional<std::string_view> default_extension = std::nullopt,
                 std::optional<std::string_view> directory = std::nullopt);
// The system's box to pick a folder, starting at the one directory names; directory
// receives the folder chosen (blank-padded, all blank when the person cancels).
void WSelectDirectory(std::span<char> directory, std::optional<std::string_view> title = std::nullopt);
