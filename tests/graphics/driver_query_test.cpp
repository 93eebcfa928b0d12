// Which hardcopy drivers a build has, as an application asks.
#include <gtest/gtest.h>

#include <string>

#include "quill/graphics.hpp"

namespace {

TEST(HardCopyDriverQuery, AnswersPresenceAndDefaultFile) {
  struct Row {
    int driver;
    int present;
    const char* file;
  };
  const Row rows[] = {{2, 1, "quilplot.ps"},
                      {3, 1, "quilplot.svg"},
                      {8, 1, "quilplot.dxf"},
                      {5, 0, ""},
                      {0, 0, ""},
                      {13, 0, ""},
                      {-1, 0, ""}};
  for (const Row& row : rows) {
    int present = -1;
    std::string file(16, '#');
    IGrHardCopyDriver(row.driver, present, file);
    EXPECT_EQ(present, row.present) << row.driver;
    EXPECT_EQ(file, (std::string(row.file) + std::string(16, ' ')).substr(0, 16)) << row.driver;
  }
#ifdef _WIN32
  const int printer_present = 1;
#else
  const int printer_present = 0;
#endif
  int present = -1;
  std::string file(4, '#');
  IGrHardCopyDriver(10, present, file);
  EXPECT_EQ(present, printer_present);
  EXPECT_EQ(file, "    ");
}

}  // namespace
