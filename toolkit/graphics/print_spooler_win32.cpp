// Printing a finished hardcopy file through the spooler: the bytes go to the printer
// unchanged (data type "RAW"), so the file must be in a language the printer speaks.
#include <windows.h>

#include <array>
#include <cstdio>

#include "base/error_codes.hpp"
#include "base/error_state.hpp"
#include "graphics/print_handover.hpp"

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
    if (got > 0 && (!WritePrinter(job.printer, buffer.data(), static_cast<DWORD>(got), &written) ||
                    written != got)) {
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

}  // namespace quill
