// The error reporter: records the last-error code and shows one line in the
// current report mode.
#include <cstdint>

#include "base/error_codes.hpp"
#include "base/error_report.hpp"
#include "base/platform.hpp"
#include "base/error_state.hpp"
#include "base/report_layer.hpp"

namespace quill {
namespace {

// The debug log of report mode 2: created once per process on the first line.
struct DebugLog {
  bool tried = false;
  std::optional<std::intptr_t> handle;
  std::string name;
};

DebugLog& debug_log() {
  static DebugLog log;
  return log;
}

bool is_internal_routine(std::string_view routine) {
  if (routine.size() < 2) return false;
  const std::string_view prefix = routine.substr(0, 2);
  return prefix == "XX" || prefix == "xx" || prefix == "YY" || prefix == "yy";
}

// Appends text to a line that holds at most kReportLineLength characters.
void append_bounded(std::string& line, std::string_view text) {
  if (line.size() >= kReportLineLength) return;
  line.append(text.substr(0, kReportLineLength - line.size()));
}

void trim_trailing_blanks(std::string& line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
}

// The detail text that follows the message for some codes, if any.
std::optional<std::string> detail_for(int code, const ErrorState& state) {
  switch (code) {
    case quill::error::kFileOpen:
    case quill::error::kFileReadWrite:
      if (state.file_error_source != 2) return std::nullopt;
      return error_text(state.file_error, 2);
    case quill::error::kOperatingSystem:
    case quill::error::kImageSave:
    case quill::error::kMailAttachment: return error_text(state.os_error, 2);
    case quill::error::kOpenGl: return error_text(state.os_error, 4);
    case quill::error::kZlib: return error_text(state.os_error, 3);
    case quill::error::kMailProgram: return error_text(state.os_error, 6);
    case quill::error::kSqlExecution:
    case quill::error::kRowsetFetch: return error_text(0, 5);
    default: return std::nullopt;
  }
}

}  // namespace

ErrorState& errors() {
  static ErrorState state;
  return state;
}

std::string compose_report_line(int code, std::string_view routine) {
  const ErrorState& state = errors();
  std::string line;
  line.reserve(kReportLineLength);
  append_bounded(line, is_internal_routine(routine) ? "Internal routine:" : "Routine:");
  append_bounded(line, routine);
  trim_trailing_blanks(line);
  append_bounded(line, " Error=");
  append_bounded(line, format_i4(code));
  append_bounded(line, ":");
  append_bounded(line, error_message(code));
  trim_trailing_blanks(line);
  if (line.size() < kReportLineLength - 2) {
    if (const std::optional<std::string> detail = detail_for(code, state)) {
      append_bounded(line, ": ");
      append_bounded(line, *detail);
    }
  }
  trim_trailing_blanks(line);
  return line;
}

void debug_log_write_line(std::string_view line) {
  DebugLog& log = debug_log();
  if (!log.tried) {
    log.tried = true;
    for (const char* name : {"debug", "debug.txt", "debug.dat"}) {
      log.handle = platform::create_log_file(name);
      if (log.handle) {
        log.name = name;
        break;
      }
    }
  }
  if (!log.handle) return;
  std::string record(line);
  record += "\r\n";
  platform::write_file(*log.handle, record);
}

const std::string& debug_log_name() { return debug_log().name; }

void reset_errors_for_test() {
  DebugLog& log = debug_log();
  if (log.handle) platform::close_file(*log.handle);
  log = DebugLog{};
  errors() = ErrorState{};
  registered_layers<ReportLayer>().clear();
}

}  // namespace quill

void IErrorMode(int mode) {
  if (mode >= 0 && mode <= 4) quill::errors().report_mode = mode;
}

int IErrorCode() { return quill::errors().last_error; }

void IErrorReset() { quill::errors().last_error = 0; }

int IErrorModeQuery() { return quill::errors().report_mode; }

void IErrorReport(int code, std::string_view routine) {
  quill::ErrorState& state = quill::errors();
  state.last_error = code;
  if (state.report_mode == 0) return;

  // Whatever fails while the line is shown must not report again.
  const int mode = state.report_mode;
  state.report_mode = 0;
  const std::string line = quill::compose_report_line(code, routine);
  switch (mode) {
    case 1: quill::platform::write_stdout_line(line); break;
    case 2: quill::debug_log_write_line(line); break;
    case 3: quill::tell_layers(&quill::ReportLayer::status_bar_line, line); break;
    case 4: {
      // A box that could not be shown leaves the result unchanged; only a real
      // Cancel ends the process.
      const int previous_result = state.last_message_box_result;
      state.last_message_box_result = -1;
      WMessageBox(1, 3, 1, line, "Library Error");
      const int result = state.last_message_box_result;
      if (result == -1) state.last_message_box_result = previous_result;
      if (result == 0) IAbnormalExit("", 0);
      break;
    }
    default: break;
  }
  state.report_mode = mode;
  state.last_error = code;
}
