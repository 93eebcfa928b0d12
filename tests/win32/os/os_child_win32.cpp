// The program the tests run: "sleep MS" waits, "echo TEXT" writes TEXT to standard output
// and "err" to standard error, "exit N" ends with code N.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 3) return 100;
  if (std::strcmp(argv[1], "sleep") == 0) Sleep(static_cast<DWORD>(std::atoi(argv[2])));
  if (std::strcmp(argv[1], "echo") == 0) {
    std::printf("%s\n", argv[2]);
    std::fprintf(stderr, "err\n");
  }
  if (std::strcmp(argv[1], "exit") == 0) return std::atoi(argv[2]);
  return 0;
}
