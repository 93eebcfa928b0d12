// WHelpFile and IOsSendMail: the checks every platform makes before its viewer or its
// mail interface is asked.
#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "os/os_internal.hpp"
#include "os/os_platform.hpp"
#include "quill/errors.hpp"
#include "quill/os.hpp"

using namespace quill::os;

void WHelpFile(std::string_view file, std::optional<std::string_view> topic) {
  const std::string name = trimmed(file);
  const HelpKind kind = help_kind(name);
  if (kind == HelpKind::Unsupported) {
    IErrorReport(quill::error::kHelpExtension, "WHelpFile");
    return;
  }
  FileStatus status;
  if (report_system_error(file_status(name, status), "WHelpFile")) return;
  const int code = show_help(kind, name, topic ? trimmed(*topic) : std::string());
  if (code != 0) IErrorReport(code, "WHelpFile");
}

void IOsSendMail(std::string_view recipients, std::string_view subject, std::string_view text,
                 std::optional<std::string_view> attachments, std::optional<int> dialog) {
  MailMessage message;
  message.recipients = split_list(recipients);
  if (message.recipients.empty()) {
    IErrorReport(quill::error::kNoRecipient, "IOsSendMail");
    return;
  }
  void* entry = mail_entry();
  if (entry == nullptr) {
    IErrorReport(quill::error::kMailLibrary, "IOsSendMail");
    return;
  }
  if (attachments) message.attachments = split_list(*attachments);
  for (const std::string& attachment : message.attachments) {
    if (const int error = check_readable(attachment)) {
      quill::errors().os_error = error;
      IErrorReport(quill::error::kMailAttachment, "IOsSendMail");
      return;
    }
  }
  message.subject = trimmed(subject);
  message.text = std::string(text);
  message.dialog = dialog.value_or(0) == 1;
  if (const int result = send_mail(entry, message)) {
    quill::errors().os_error = result;
    IErrorReport(quill::error::kMailProgram, "IOsSendMail");
  }
}
