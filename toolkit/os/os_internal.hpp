// Portable pieces of the operating-system services, shared by their files, by start-up
// and by the tests.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill::os {

// Whether the platform's file names compare without regard to case.
#ifdef _WIN32
inline constexpr bool kNamesFoldCase = true;
#else
inline constexpr bool kNamesFoldCase = false;
#endif

// A name without its trailing blanks and NULs.
std::string trimmed(std::string_view text);

// Fills field with text, blank-padded; false (and all blank) when text does not fit.
bool put_text(std::span<char> field, std::string_view text);
// put_text, reporting 1023 for routine when text does not fit.
void put_result(std::span<char> field, std::string_view text, const char* routine);

// Records error_number as the system error and reports 13 for routine; false when
// error_number is 0 (nothing to report).
bool report_system_error(int error_number, const char* routine);

// path with the platform's separator added when it does not end in one (empty stays empty).
std::string with_separator(std::string path);

// The temporary folder: TEMP, else TMP, else the platform's default; a value longer than
// 260 characters counts as unset. Ends in the separator.
std::string temporary_directory();

// Whether name matches pattern ("*" any run, "?" one character).
bool wildcard_match(std::string_view pattern, std::string_view name, bool fold_case);

// A command line cut into its arguments: separated by blanks, an argument that begins
// with a double quote runs to the next one (the quotes are not part of it).
std::vector<std::string> split_arguments(std::string_view line);

// Items of a list separated by ";", trimmed of blanks, empty items dropped.
std::vector<std::string> split_list(std::string_view list);

// How a help file is shown: by its extension, without regard to case.
enum class HelpKind { HtmlHelp, Viewer, Unsupported };
HelpKind help_kind(std::string_view file);

// The mail library (loaded on first use, kept until release_mail_library) and its
// MAPISendMail entry; null when either is missing. Only the Windows build has one.
void* mail_entry();
void release_mail_library();
// Test-only: the library name mail_entry loads (releases the one loaded).
void set_mail_library_for_test(std::string name);

}  // namespace quill::os
