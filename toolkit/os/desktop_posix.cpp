// Without a window system there is no help viewer, mail interface or selection box:
// their routines report the codes for a missing viewer (1030), mail library (1082) and
// common dialog (1004).
#include "base/error_codes.hpp"
#include "os/os_internal.hpp"
#include "os/os_platform.hpp"
#include "quill/errors.hpp"
#include "quill/os.hpp"

namespace quill::os {

int show_help(HelpKind, const std::string&, const std::string&) { return error::kHelpViewer; }

void* mail_entry() { return nullptr; }
void release_mail_library() {}
void set_mail_library_for_test(std::string) {}
int send_mail(void*, const MailMessage&) { return 2; }  // general failure; never reached

}  // namespace quill::os

void WSelectFile(int, std::string_view, std::span<char> file_name, std::optional<std::string_view>,
                 std::optional<int>, std::optional<std::string_view>, std::optional<std::string_view>) {
  quill::os::put_text(file_name, "");
  IErrorReport(quill::error::kCommonDialog, "WSelectFile");
}

void WSelectDirectory(std::span<char> directory, std::optional<std::string_view>) {
  quill::os::put_text(directory, "");
  IErrorReport(quill::error::kCommonDialog, "WSelectDirectory");
}
