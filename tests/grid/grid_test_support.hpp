// Shared fixture of the grid tests: a fresh registry with one grid field (10) of
// dialog 1 made current, a fresh error state, and a scratch directory as the current
// directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace grid_test {

inline constexpr int kField = 10;

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The last-error code, then cleared.
  static int take_error();
  // Defines the columns of the test grid and gives it rows rows.
  static void define(const std::vector<int>& types, int rows);
  static std::string cell_text(int column, int row);
  static std::string column_title(int column);
  static std::string row_title(int row);

  std::filesystem::path previous_;
  std::filesystem::path scratch_;
};

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

}  // namespace grid_test
