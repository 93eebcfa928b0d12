// Help viewers and mail on Windows: HTML Help from "hhctrl.ocx", the associated viewer
// through the shell, and MAPISendMail from "mapi32.dll". The libraries are loaded on
// first use; the mail library is freed at WindowShutdown.
#include <windows.h>
#include <mapi.h>
#include <shellapi.h>

#include <cstring>

#include "base/error_codes.hpp"
#include "os/os_platform.hpp"

namespace quill::os {
namespace {

constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

struct MailLibrary {
  std::string name = "mapi32.dll";
  HMODULE module = nullptr;
  FARPROC send_mail = nullptr;
};

MailLibrary& mail_library() {
  static MailLibrary library;
  return library;
}

template <typename Function>
Function entry_as(FARPROC proc) {
  Function function = nullptr;
  static_assert(sizeof(function) == sizeof(proc));
  std::memcpy(&function, &proc, sizeof(proc));
  return function;
}

// The file part of a path: what a mail program shows as the attachment's name.
std::string file_part(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

int show_help(HelpKind kind, const std::string& file, const std::string& topic) {
  HWND owner = GetActiveWindow();
  if (kind == HelpKind::Viewer) {
    const HINSTANCE result = ShellExecuteA(owner, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32 ? 0 : error::kHelpViewer;
  }
  static HMODULE html_help = LoadLibraryA("hhctrl.ocx");
  const FARPROC proc = html_help != nullptr ? GetProcAddress(html_help, "HtmlHelpA") : nullptr;
  if (proc == nullptr) return error::kHtmlHelpMissing;
  using HtmlHelp = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  const std::string target = topic.empty() ? file : file + "::/" + topic;
  HWND window = entry_as<HtmlHelp>(proc)(owner, target.c_str(), kDisplayTopic, 0);
  return window != nullptr ? 0 : error::kHelpViewer;
}

void* mail_entry() {
  MailLibrary& library = mail_library();
  if (library.module == nullptr) library.module = LoadLibraryA(library.name.c_str());
  if (library.module != nullptr && library.send_mail == nullptr) {
    library.send_mail = GetProcAddress(library.module, "MAPISendMail");
  }
  return reinterpret_cast<void*>(library.send_mail);
}

void release_mail_library() {
  MailLibrary& library = mail_library();
  if (library.module != nullptr) FreeLibrary(library.module);
  library.module = nullptr;
  library.send_mail = nullptr;
}

void set_mail_library_for_test(std::string name) {
  release_mail_library();
  mail_library().name = std::move(name);
}

// Recipients are resolved by the mail program; an address goes as "SMTP:" address.
int send_mail(void* entry, const MailMessage& message) {
  std::vector<std::string> names = message.recipients;
  std::vector<std::string> addresses;
  for (const std::string& recipient : names) {
    addresses.push_back(recipient.find(':') == std::string::npos ? "SMTP:" + recipient : recipient);
  }
  std::vector<MapiRecipDesc> recipients(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    recipients[i].ulRecipClass = MAPI_TO;
    recipients[i].lpszName = names[i].data();
    recipients[i].lpszAddress = addresses[i].data();
  }
  std::vector<std::string> paths = message.attachments;
  std::vector<std::string> file_names;
  for (const std::string& path : paths) file_names.push_back(file_part(path));
  std::vector<MapiFileDesc> files(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    files[i].nPosition = static_cast<ULONG>(-1);
    files[i].lpszPathName = paths[i].data();
    files[i].lpszFileName = file_names[i].data();
  }
  std::string subject = message.subject;
  std::string text = message.text;
  MapiMessage mail{};
  mail.lpszSubject = subject.data();
  mail.lpszNoteText = text.data();
  mail.nRecipCount = static_cast<ULONG>(recipients.size());
  mail.lpRecips = recipients.data();
  mail.nFileCount = static_cast<ULONG>(files.size());
  mail.lpFiles = files.empty() ? nullptr : files.data();
  const FLAGS flags = MAPI_LOGON_UI | (message.dialog ? MAPI_DIALOG : 0);
  const LPMAPISENDMAIL send = entry_as<LPMAPISENDMAIL>(reinterpret_cast<FARPROC>(entry));
  return static_cast<int>(send(0, reinterpret_cast<ULONG_PTR>(GetActiveWindow()), &mail, flags, 0));
}

}  // namespace quill::os
