// A stand-in mail provider for the tests: MAPISendMail writes what it was given to the
// file named by QUILL_TEST_MAPI_LOG and answers the number in QUILL_TEST_MAPI_RESULT.
#include <windows.h>
#include <mapi.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string variable(const char* name) {
  char buffer[1024] = {};
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

const char* text(const char* value) { return value != nullptr ? value : "(null)"; }

}  // namespace

extern "C" __declspec(dllexport) ULONG WINAPI
    MAPISendMail(LHANDLE, ULONG_PTR, lpMapiMessage message, FLAGS flags, ULONG) {
  std::ofstream log(variable("QUILL_TEST_MAPI_LOG"), std::ios::binary);
  log << "subject=" << text(message->lpszSubject) << "\n";
  log << "text=" << text(message->lpszNoteText) << "\n";
  log << "flags=" << flags << "\n";
  for (ULONG i = 0; i < message->nRecipCount; ++i) {
    const MapiRecipDesc& r = message->lpRecips[i];
    log << "to=" << r.ulRecipClass << "|" << text(r.lpszName) << "|" << text(r.lpszAddress) << "\n";
  }
  for (ULONG i = 0; i < message->nFileCount; ++i) {
    const MapiFileDesc& f = message->lpFiles[i];
    log << "file=" << text(f.lpszPathName) << "|" << text(f.lpszFileName) << "\n";
  }
  return static_cast<ULONG>(std::atoi(variable("QUILL_TEST_MAPI_RESULT").c_str()));
}
