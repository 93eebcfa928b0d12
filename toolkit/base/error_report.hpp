// Internals of error reporting shared by its files and its tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quill {

inline constexpr std::size_t kReportLineLength = 300;

// Writes value as the integer edit descriptor (I4) does: right-justified in four
// columns, or "****" when it does not fit.
std::string format_i4(int value);

// The message of a toolkit error code (kind 1 table); empty when the code is unlisted.
std::string_view error_message(int code);

// The text IErrorText gives for value in table kind, without padding; nullopt for a
// kind that has no table.
std::optional<std::string> error_text(int value, int kind);

// The report line for code and routine, trimmed of trailing blanks, using the
// detail values held in errors().
std::string compose_report_line(int code, std::string_view routine);

// The text of the abnormal-exit box: "Abnormal exit (code N) : text".
std::string abnormal_exit_text(std::string_view text, int exit_code);

// Appends line and CR LF to the debug log, creating the log on first use.
void debug_log_write_line(std::string_view line);

// The name of the debug log in use, empty when none could be created (or not tried).
const std::string& debug_log_name();

// Test-only: back to the state at process start (closes the debug log).
void reset_errors_for_test();

}  // namespace quill
