#include "grid_test_support.hpp"

#include <fstream>
#include <sstream>

#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"
#include "base/error_state.hpp"

namespace fs = std::filesystem;

namespace grid_test {

void GridTest::SetUp() {
  quill::reset_grids_for_test();
  quill::errors() = quill::ErrorState{};
  quill::attach_dialog_grid(1, kField);
  quill::select_grid_dialog(1);
  previous_ = fs::current_path();
  scratch_ = fs::temp_directory_path() /
             ("quill_grid_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  fs::remove_all(scratch_);
  fs::create_directories(scratch_);
  fs::current_path(scratch_);
}

void GridTest::TearDown() {
  fs::current_path(previous_);
  std::error_code ignored;
  fs::remove_all(scratch_, ignored);
  quill::reset_grids_for_test();
}

int GridTest::take_error() {
  const int code = quill::errors().last_error;
  quill::errors().last_error = 0;
  return code;
}

void GridTest::define(const std::vector<int>& types, int rows) {
  WGridColumns(kField, static_cast<int>(types.size()), types);
  WGridRows(kField, rows);
}

namespace {
std::string trimmed(const std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}
}  // namespace

std::string GridTest::cell_text(int column, int row) {
  std::string text(200, '?');
  WGridGetCellString(kField, column, row, text);
  return trimmed(text);
}

std::string GridTest::column_title(int column) {
  std::string text(200, '?');
  WGridGetColumnTitle(kField, column, text);
  return trimmed(text);
}

std::string GridTest::row_title(int row) {
  std::string text(200, '?');
  WGridGetRowTitle(kField, row, text);
  return trimmed(text);
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

}  // namespace grid_test
