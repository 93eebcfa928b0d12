// A hardcopy kept for printing ("file @ printer") goes through the spooler as raw data.
// Under Wine the test installs a printer whose port is a Unix file, so the bytes the
// spooler delivers can be compared with the same drawing written to a plain file; the
// printer is removed again at the end. Elsewhere (no Wine) the test is skipped.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "base/error_state.hpp"
#include "core/settings.hpp"
#include "driver_fixture.hpp"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

constexpr char kPrinter[] = "Quillanthor Raw Test";
constexpr char kDriver[] = "Wine PostScript Driver";

// The Unix name of a Windows path (a Wine export); empty when not running under Wine.
std::string unix_name(const fs::path& path) {
  using Convert = char* (*)(const WCHAR*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (convert == nullptr) return {};
  char* name = convert(path.wstring().c_str());
  if (name == nullptr) return {};
  std::string result(name);
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

bool install_printer(const std::string& port) {
  DRIVER_INFO_3A driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>(kDriver);
  driver.pEnvironment = const_cast<char*>("Windows x64");
  driver.pDriverPath = const_cast<char*>("wineps.drv");
  driver.pDataFile = const_cast<char*>("generic.ppd");
  driver.pConfigFile = const_cast<char*>("wineps.drv");
  AddPrinterDriverExA(nullptr, 3, reinterpret_cast<LPBYTE>(&driver),
                      APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY);
  PRINTER_INFO_2A info{};
  info.pPrinterName = const_cast<char*>(kPrinter);
  info.pPortName = const_cast<char*>(port.c_str());
  info.pDriverName = const_cast<char*>(kDriver);
  info.pPrintProcessor = const_cast<char*>("WinPrint");
  info.pDatatype = const_cast<char*>("RAW");
  HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  if (printer == nullptr) return false;
  ClosePrinter(printer);
  return true;
}

void remove_printer() {
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterA(const_cast<char*>(kPrinter), &printer, &access)) {
    DeletePrinter(printer);
    ClosePrinter(printer);
  }
}

void draw_picture(const std::string& name) {
  reset_drawing_for_tests();
  IGrHardCopySelect(3);
  IGrHardCopy("S", name, "Spooler test");
  draw_test_picture();
  IGrHardCopy("E");
}

TEST(PrintSpooler, PrinterReceivesExactlyTheDriversBytesAsRawData) {
  const fs::path directory = fs::temp_directory_path() / "quill_print_spooler";
  fs::remove_all(directory);
  fs::create_directories(directory);
  const fs::path port = directory / "port.out";
  const std::string port_name = unix_name(port);
  if (port_name.empty()) GTEST_SKIP() << "not running under Wine: no printer to install";
  remove_printer();
  if (!install_printer(port_name)) GTEST_SKIP() << "Wine refused to install a test printer";

  reset_settings_for_test();
  settings().temp_plot_file = (directory / "kvs$$00.plt").string();
  errors().last_error = 0;
  draw_picture((directory / "plain.svg").string());
  draw_picture("picture.svg @ " + std::string(kPrinter));
  EXPECT_EQ(errors().last_error, 0);
  // The spooler may hand the job to the port a little later.
  for (int wait = 0; wait < 50 && read_bytes(port).empty(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(read_bytes(port), read_bytes(directory / "plain.svg"));
  EXPECT_GT(read_bytes(port).size(), 1000U);
  EXPECT_FALSE(fs::exists(settings().temp_plot_file));

  remove_printer();
  reset_drawing_for_tests();
  reset_settings_for_test();
  fs::remove_all(directory);
}

}  // namespace
}  // namespace quill::test
