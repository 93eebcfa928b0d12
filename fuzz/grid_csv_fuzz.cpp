// Feeds arbitrary bytes to the grid file loader, split into chunks at places the input
// chooses: fields across chunk boundaries, long fields and odd quotes must stay in
// bounds, and a chunked load must store exactly what a whole-buffer load stores.
#include <array>
#include <cstdint>
#include <string_view>

#include "grid/csv_load.hpp"
#include "grid/grid_model.hpp"
#include "quill/errors.hpp"
#include "base/error_state.hpp"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

quill::Grid make_grid() {
  quill::Grid grid;
  grid.max_rows = 40;
  grid.column_titles = true;
  grid.row_titles = true;
  quill::set_columns(grid, std::array{4, 5, 6, 7, 9, 11, 8, 10}, {});
  quill::set_rows(grid, 3);
  grid.column(1).case_setting = quill::kCaseUpper;
  grid.column(2).high = 1000.0;
  quill::set_format(grid, 3, "(F9.3)");
  grid.column(6).options = {"a", "b,\"c\""};
  return grid;
}

// Loads text into a fresh grid, in chunks of the given size; returns the pending code.
int load(quill::Grid& grid, std::string_view text, std::size_t chunk, std::size_t limit, int options) {
  quill::CsvGridLoader loader(grid, true, options);
  quill::CsvReader reader(limit);
  const auto checked = [&](const quill::CsvField& field) {
    check(field.text.size() <= limit);
    loader(field);
  };
  for (std::size_t at = 0; at < text.size(); at += chunk) reader.feed(text.substr(at, chunk), checked);
  reader.finish(checked);
  return loader.finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  quill::errors().report_mode = 0;
  const std::size_t chunk = 1 + data[0] % 64;
  const std::size_t limit = data[1] % 2 == 0 ? quill::kCsvFieldLimit : 1 + data[1] % 40;
  const int options = (data[1] & 4) != 0 ? 2 : 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

  quill::Grid whole = make_grid();
  quill::Grid chunked = make_grid();
  const int whole_code = load(whole, text, text.size() + 1, limit, options);
  const int chunked_code = load(chunked, text, chunk, limit, options);
  check(whole_code == chunked_code);
  check(whole.rows == chunked.rows && whole.rows <= whole.max_rows);
  check(whole.cells.size() == static_cast<std::size_t>(whole.rows) * whole.columns.size());
  for (std::size_t i = 0; i < whole.cells.size(); ++i) {
    const quill::GridCell& a = whole.cells[i];
    const quill::GridCell& b = chunked.cells[i];
    check(a.text == b.text && a.check == b.check && a.option == b.option && a.defined == b.defined);
    check(a.text.size() <= quill::kGridTextLength);
    check(a.option >= 0 && a.option <= 2);
  }
  check(whole.row_title_texts == chunked.row_title_texts);
  return 0;
}
