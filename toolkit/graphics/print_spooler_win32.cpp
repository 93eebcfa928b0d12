// Printing a finished hardcopy file through the spooler: the bytes go to the printer
// unchanged (data type "RAW"), so the file must be in a language the printer speaks.
#include <windows.h>
#include <commdlg.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "graphics/print_handover.hpp"
#include "graphics/print_setup.hpp"

namespace quill {
namespace {

struct Job {
  HANDLE printer = nullptr;
  std::FILE* file = nullptr;
  bool document_open = false;

  ~Job() {
    if (document_open) EndDocPrinter(printer);
    if (printer != nullptr) ClosePrinter(printer);
    if (file != nullptr) std::fclose(file);
  }
};

void record_system_error() {
  ErrorState& state = errors();
  state.file_error = static_cast<int>(GetLastError());
  state.file_error_source = 2;
}

// Copies the open file into the open document; 0 or error 2.
int write_job(Job& job) {
  std::array<char, 1 << 16> buffer;
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), job.file);
    DWORD written = 0;
    if (got > 0 &&
        (!WritePrinter(job.printer, buffer.data(), static_cast<DWORD>(got), &written) || written != got)) {
      record_system_error();
      return error::kFileReadWrite;
    }
    if (got < buffer.size()) return std::ferror(job.file) != 0 ? error::kFileReadWrite : 0;
  }
}

}  // namespace

std::optional<int> send_to_printer(const std::string& file, const std::string& document,
                                   const std::string& destination) {
  Job job;
  if (!OpenPrinterA(const_cast<char*>(destination.c_str()), &job.printer, nullptr)) {
    job.printer = nullptr;
    return std::nullopt;
  }
  job.file = std::fopen(file.c_str(), "rb");
  if (job.file == nullptr) return error::kFileOpen;
  std::string name = document;
  char raw[] = "RAW";
  DOC_INFO_1A info{};
  info.pDocName = name.data();
  info.pDatatype = raw;
  if (StartDocPrinterA(job.printer, 1, reinterpret_cast<LPBYTE>(&info)) == 0) {
    record_system_error();
    return error::kPrinterUnavailable;
  }
  job.document_open = true;
  const int code = write_job(job);
  if (code != 0) {
    AbortPrinter(job.printer);  // the spooler drops the partial job
    job.document_open = false;
  }
  return code;
}

bool printer_exists(const std::string& name) {
  HANDLE printer = nullptr;
  if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr)) return false;
  ClosePrinter(printer);
  return true;
}

bool run_print_box(const PrinterChoice& choice, PrintBoxResult& result) {
  PRINTDLGA box{};
  box.lStructSize = sizeof box;
  box.hwndOwner = GetActiveWindow();
  box.Flags = PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
  box.nCopies = 1;
  if (!choice.name.empty()) {
    // Start from the chosen printer: a DEVNAMES block naming it.
    const std::size_t size = sizeof(DEVNAMES) + choice.name.size() + 2;
    box.hDevNames = GlobalAlloc(GHND, size);
    if (auto* names = static_cast<DEVNAMES*>(GlobalLock(box.hDevNames))) {
      names->wDeviceOffset = sizeof(DEVNAMES);
      std::memcpy(reinterpret_cast<char*>(names) + sizeof(DEVNAMES), choice.name.c_str(),
                  choice.name.size() + 1);
      GlobalUnlock(box.hDevNames);
    }
  }
  const bool confirmed = PrintDlgA(&box) != 0;
  if (confirmed) {
    if (const auto* names = static_cast<const DEVNAMES*>(GlobalLock(box.hDevNames))) {
      result.name = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
      GlobalUnlock(box.hDevNames);
    }
    if (const auto* mode = static_cast<const DEVMODEA*>(GlobalLock(box.hDevMode))) {
      result.copies = mode->dmCopies > 0 ? mode->dmCopies : 1;
      result.landscape = mode->dmOrientation == DMORIENT_LANDSCAPE;
      result.paper = mode->dmPaperSize;
      GlobalUnlock(box.hDevMode);
    }
  }
  if (box.hDevMode != nullptr) GlobalFree(box.hDevMode);
  if (box.hDevNames != nullptr) GlobalFree(box.hDevNames);
  return confirmed && !result.name.empty();
}

}  // namespace quill
