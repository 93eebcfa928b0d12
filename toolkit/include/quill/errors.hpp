// Error reporting: the one way every toolkit routine reports a failure.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// Records code as the last-error code and shows one report line, the code's message and
// routine, in the current mode: 0 nothing, 1 standard output, 2 the file "debug", 3 the
// root window's status bar, 4 a message box whose Cancel ends the program.
void IErrorReport(int code, std::string_view routine);
// Sets the report mode 0 (silent) to 4 (message box); other values are ignored.
void IErrorMode(int mode);
// Writes the message for value from table kind, blank-padded and cut to fit (all blank
// for a value the table lacks): 1 (the default) the toolkit's error codes, 2 and 4 the
// system's error numbers, 3 the compression library's codes, 6 the mail interface's
// results, 5 none. Another kind leaves text unchanged.
void IErrorText(int value, std::span<char> text, std::optional<int> kind = std::nullopt);
// Shows text (unless all blank) in a last message box and ends the process.
[[noreturn]] void IAbnormalExit(std::string_view text, int exit_code);
// Modal message box owned by the current window; the result is kept as the last
// message-box result (1 OK/Yes/Retry, 2 No/Abort, 0 Cancel/Ignore).
void WMessageBox(int buttons, int icon, int default_button, std::string_view message, std::string_view title);

// The last-error code: the code of the most recent report, 0 when nothing has been
// reported since start-up or since the last IErrorReset. Every report sets it, whatever
// the report mode, so a caller learns whether the routine it just called failed.
int IErrorCode();
// Sets the last-error code back to 0 (before a call whose failure the caller will check).
void IErrorReset();
// The current report mode, 0 (silent) to 4 (message box), as IErrorMode last set it.
int IErrorModeQuery();
