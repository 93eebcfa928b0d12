#include "demo_log_win32.hpp"

#include <cstdio>
#include <cstring>

namespace demo_log {
namespace {

std::FILE* log_file = nullptr;

}  // namespace

void open(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--log") == 0) log_file = std::fopen(argv[i + 1], "w");
  }
}

void close() {
  if (log_file != nullptr) std::fclose(log_file);
  log_file = nullptr;
}

void line(const std::string& text) {
  if (log_file == nullptr) return;
  std::fprintf(log_file, "%s\n", text.c_str());
  std::fflush(log_file);
}

std::string rect_words(const RECT& rect) {
  return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right) + " " +
         std::to_string(rect.bottom);
}

std::string event_words(int type, const EventRecord& record) {
  return "event " + std::to_string(type) + " " + std::to_string(record.window) + " " +
         std::to_string(record.detail1) + " " + std::to_string(record.detail2);
}

int next_event(EventRecord& record) {
  int type = 0;
  WEventGet(type, record);
  line(event_words(type, record));
  return type;
}

}  // namespace demo_log
