// IOsExecute: running another program, waiting for it or not.
#include "base/error_codes.hpp"
#include "os/os_internal.hpp"
#include "os/os_platform.hpp"
#include "quill/errors.hpp"
#include "quill/os.hpp"

void IOsExecute(std::string_view command, int mode, int& exit_code, std::optional<int> time_limit_ms,
                std::optional<std::string_view> output_file) {
  using namespace quill::os;
  exit_code = -999;
  RunRequest request;
  request.command_line = trimmed(command);
  request.arguments = split_arguments(request.command_line);
  if (request.arguments.empty() || request.arguments.front().empty()) {
    IErrorReport(quill::error::kNoProgramName, "IOsExecute");
    return;
  }
  request.wait = (mode & 1) != 0;
  request.hidden = (mode & 2) != 0;
  request.time_limit_ms = request.wait && time_limit_ms && *time_limit_ms > 0 ? *time_limit_ms : 0;
  if (output_file) request.output_file = trimmed(*output_file);
  const RunResult result = run_program(request);
  if (report_system_error(result.system_error, "IOsExecute")) return;
  if (result.timed_out) {
    IErrorReport(quill::error::kTimedOut, "IOsExecute");
    return;
  }
  exit_code = result.exit_code;
}
