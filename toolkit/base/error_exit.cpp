// IAbnormalExit: a last message box, then the end of the process.
#include "base/error_report.hpp"
#include "base/platform.hpp"
#include "quill/errors.hpp"

namespace quill {

std::string abnormal_exit_text(std::string_view text, int exit_code) {
  std::string message = "Abnormal exit (code " + format_i4(exit_code) + ") :";
  // The code's digits are moved left so that ") :" follows them directly.
  const std::size_t digits = message.find_first_not_of(' ', 20);
  message.erase(20, digits - 20);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  message += ' ';
  message += text;
  return message;
}

}  // namespace quill

void IAbnormalExit(std::string_view text, int exit_code) {
  if (text.find_first_not_of(' ') != std::string_view::npos) {
    const std::string message = quill::abnormal_exit_text(text, exit_code);
    quill::platform::MessageBoxRequest request;
    request.text = message;
    request.caption = "Quillanthor";
    request.icon = quill::platform::Icon::Stop;
    request.task_modal = true;
    quill::platform::message_box(request);
  }
  quill::platform::exit_process(exit_code);
}
