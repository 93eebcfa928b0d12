// WGridLoad: reads a comma-separated file into a grid, field by field, from row 1.
#include <algorithm>
#include <array>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "grid/csv_load.hpp"
#include "grid/grid_file.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"
#include "quill/text.hpp"
#include "text/text_internal.hpp"
#include "base/error_state.hpp"

namespace quill {
namespace {

constexpr const char* kRoutine = "WGridLoad";

bool is_yes(std::string_view text) {
  text = trim_trailing(text);
  if (text.size() != 3) return false;
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return upper(text[0]) == 'Y' && upper(text[1]) == 'E' && upper(text[2]) == 'S';
}

}  // namespace

CsvGridLoader::CsvGridLoader(Grid& grid, bool grow, int options) : grid_(grid), grow_(grow) {
  const bool titles = (options & 2) != 0;
  row_ = titles && grid.column_titles ? 0 : 1;
  first_column_ = titles && grid.row_titles ? 0 : 1;
  column_ = first_column_;
}

// Converts a numeric field in place with the toolkit's conversions. A text they reject
// goes through the conversion routine once more, so the failure shows in the current
// report mode as the routine reports it, but the caller's last-error code survives.
void CsvGridLoader::store_number(const GridColumn& column, int c, std::string_view text) {
  double value = 0.0;
  int code = 0;
  if (column.type == ColumnType::Integer) {
    int number = 0;
    code = parse_integer(text, number);
    value = number;
  } else if (column.type == ColumnType::Real) {
    float number = 0.0F;
    code = parse_float(text, number);
    value = static_cast<double>(number);
  } else {
    code = parse_double(text, value);
  }
  if (code != 0) {
    ErrorState& state = errors();
    const int saved = state.last_error;
    if (column.type == ColumnType::Integer) {
      int ignored = 0;
      IStringToInteger(text, ignored);
    } else if (column.type == ColumnType::Real) {
      float ignored = 0.0F;
      IStringToReal(text, ignored);
    } else {
      IStringToReal8(text, value);
    }
    state.last_error = saved;
    clear_cell(grid_, c, row_);
    return;
  }
  // A value out of range is not stored: the cell keeps what it held.
  if (put_number(grid_, c, row_, value) == error::kFieldValueOutOfRange)
    pending_ = error::kFieldValueOutOfRange;
}

void CsvGridLoader::store_cell(int c, std::string_view text) {
  const GridColumn& column = grid_.column(c);
  switch (column.type) {
    case ColumnType::Text: put_text(grid_, c, row_, text); break;
    case ColumnType::Integer:
    case ColumnType::Real:
    case ColumnType::Real8: store_number(column, c, text); break;
    case ColumnType::CheckBox: put_check(grid_, c, row_, is_yes(text) ? 1 : 0); break;
    case ColumnType::OptionMenu:
      if (put_option_text(grid_, c, row_, text) != 0) IErrorReport(error::kGridOptionMatch, kRoutine);
      break;
    case ColumnType::Kind8:
    case ColumnType::Kind10: break;
  }
}

void CsvGridLoader::store(std::string_view text, bool cut) {
  if (pending_ == error::kGridSize) return;  // out of memory: the rest is not read
  const int c = column_++;
  if (c > grid_.column_count()) {
    pending_ = error::kGridFileSize;
    return;
  }
  const bool is_text = row_ == 0 || c == 0 || grid_.column(c).type == ColumnType::Text;
  if (is_text && (cut || text.size() > kGridTextLength)) IErrorReport(error::kVariableTooSmall, kRoutine);
  if (row_ == 0) {
    put_column_title(grid_, c, text);
    return;
  }
  if (row_ > grid_.rows) {
    if (!grow_ || grid_.rows >= grid_.max_rows) {
      pending_ = error::kGridFileSize;
      return;
    }
    if (const int code = set_rows(grid_, grid_.rows + 1); code != 0) {
      pending_ = code;
      return;
    }
  }
  if (c == 0) {
    put_row_title(grid_, row_, text);
  } else {
    store_cell(c, text);
  }
}

void CsvGridLoader::end_line() {
  if (row_ == 0) {
    for (int c = std::max(column_, 1); c <= grid_.column_count(); ++c) put_column_title(grid_, c, {});
  } else if (row_ <= grid_.rows) {
    for (int c = std::max(column_, 1); c <= grid_.column_count(); ++c) clear_cell(grid_, c, row_);
    last_row_ = row_;
  }
  ++row_;
  column_ = first_column_;
}

void CsvGridLoader::operator()(const CsvField& field) {
  store(field.text, field.truncated);
  if (field.ends_line) end_line();
}

// Reserves cells for as many rows as the text has lines (an upper bound of its records,
// up to the grid's row limit); throws when memory runs out, before the grid changes.
static void reserve_rows(Grid& grid, std::string_view text) {
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  const std::size_t rows = std::min(lines, static_cast<std::size_t>(grid.max_rows));
  if (rows <= static_cast<std::size_t>(grid.rows)) return;
  grid.cells.reserve(rows * grid.columns.size());
  grid.row_title_texts.reserve(rows);
}

int CsvGridLoader::finish() {
  for (int r = last_row_ + 1; r <= grid_.rows; ++r) clear_row(grid_, r, first_column_ == 0);
  return pending_;
}

}  // namespace quill

void WGridLoad(int field, std::string_view file_name, std::optional<int> grow, std::optional<int> options) {
  const quill::GridTarget target = quill::find_grid(field);
  if (target.error != 0) {
    IErrorReport(target.error, quill::kRoutine);
    return;
  }
  quill::GridFileReader in;
  if (!in.open(quill::grid_file_name(file_name), quill::kCsvFieldLimit)) {
    IErrorReport(quill::error::kFileOpen, quill::kRoutine);
    return;
  }
  // The file is read into the grid itself: cells keep their colours, texts reuse their
  // storage, and a value out of range leaves its cell as it was. After a read error what
  // was read stays and the rest of the grid is left as it was.
  quill::Grid& grid = *target.grid;
  bool read_failed = false;
  int pending = 0;
  const bool growing = grow.value_or(0) == 1;
  std::string_view chunk = in.read();
  const int code = quill::allocating(quill::error::kGridSize, [&] {
    // Room for every line of the file is taken before the first cell changes, so a file
    // too large for memory leaves the grid as it was.
    if (growing) quill::reserve_rows(grid, chunk);
    quill::store_rows_in_order(grid);
    quill::CsvGridLoader loader(grid, growing, options.value_or(0));
    quill::CsvReader reader;
    for (; !chunk.empty(); chunk = in.read()) reader.feed(chunk, loader);
    read_failed = in.failed();
    if (read_failed) return;
    reader.finish(loader);
    pending = loader.finish();
  });
  quill::repaint_grid(target);
  if (code != 0 || pending == quill::error::kGridSize) {
    IErrorReport(quill::error::kGridSize, quill::kRoutine);
  } else if (read_failed) {
    IErrorReport(quill::error::kFileReadWrite, quill::kRoutine);
  } else if (pending != 0) {
    IErrorReport(pending, quill::kRoutine);
  }
}
