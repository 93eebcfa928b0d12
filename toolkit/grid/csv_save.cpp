// WGridSave: a range of a grid as comma-separated lines, one per row, each ended by a
// carriage return and a line feed.
#include <array>

#include "base/error_codes.hpp"
#include "grid/grid_file.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"

namespace quill {
namespace {

constexpr int kNoQuotes = 1;
constexpr int kTitles = 2;
constexpr int kUndefinedValues = 4;

// Characters that make a field need enclosing quotes: a quote, a comma, a line end.
constexpr std::array<bool, 256> kSpecial = [] {
  std::array<bool, 256> table{};
  for (const unsigned char c : {'"', ',', '\r', '\n'}) table[c] = true;
  return table;
}();

// A field the loader would read differently without enclosing quotes: one holding a
// quote, a comma or a line end, or one beginning with a blank.
bool needs_quotes(std::string_view text) {
  if (text.empty()) return false;
  if (text.front() == ' ') return true;
  for (const char c : text) {
    if (kSpecial[static_cast<unsigned char>(c)]) return true;
  }
  return false;
}

// One field: the text without trailing blanks and with its quotes doubled, enclosed in
// quotes when the field type asks for them (and option 1 does not forbid it) or when
// the text needs them.
void put_field(BufferedWriter& out, std::string_view text, bool quoted, int options) {
  text = trim_trailing(text);
  const bool special = needs_quotes(text);
  const bool enclose = (quoted && (options & kNoQuotes) == 0) || special;
  if (enclose) out.put('"');
  if (special) {
    std::size_t start = 0;
    for (std::size_t quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"', start)) {
      out.write(text.substr(start, quote + 1 - start));
      out.put('"');
      start = quote + 1;
    }
    text.remove_prefix(start);
  }
  out.write(text);
  if (enclose) out.put('"');
}

void put_cell(BufferedWriter& out, const GridColumn& column, const GridCell& cell, int options) {
  switch (column.type) {
    case ColumnType::Text: put_field(out, cell.text, true, options); break;
    case ColumnType::Integer:
    case ColumnType::Real:
    case ColumnType::Real8: {
      const bool quoted = column.type != ColumnType::Integer;
      if (!cell.defined && (options & kUndefinedValues) != 0) {
        std::array<char, 256> buffer;
        const std::size_t size = format_value(column, kUndefinedReal, buffer);
        put_field(out, std::string_view(buffer.data(), size), quoted, options);
      } else {
        put_field(out, cell.defined ? std::string_view(cell.text) : std::string_view(), quoted, options);
      }
      break;
    }
    case ColumnType::CheckBox:
      put_field(out, cell.check != 0 ? std::string_view("Yes") : std::string_view("No"), false, options);
      break;
    case ColumnType::OptionMenu:
      if (const std::string_view text = option_text(column, cell); !text.empty()) {
        put_field(out, text, true, options);
      }
      break;
    case ColumnType::Kind8:
    case ColumnType::Kind10: break;
  }
}

void put_separator(BufferedWriter& out, int column, const GridRange& range) {
  out.write(column < range.last_column ? std::string_view(",") : std::string_view("\r\n"));
}

// Asks for the texts of a later row ahead of time: cell texts live apart from the cells,
// and waiting for each one in turn costs more than writing it.
void prefetch_row(const Grid& grid, const GridRange& range, int row) {
#if defined(__GNUC__)
  if (row > range.last_row) return;
  for (int c = range.first_column; c <= range.last_column; ++c)
    __builtin_prefetch(grid.cell(c, row).text.data());
#else
  (void)grid, (void)range, (void)row;
#endif
}

void write_csv(const Grid& grid, const GridRange& range, int options, BufferedWriter& out) {
  if (range.first_column > range.last_column) return;
  const bool titles = (options & kTitles) != 0;
  if (titles && grid.column_titles) {
    if (grid.row_titles) {
      put_field(out, grid.corner_title, true, options);
      out.put(',');
    }
    for (int c = range.first_column; c <= range.last_column && !out.failed(); ++c) {
      put_field(out, grid.column(c).title, true, options);
      put_separator(out, c, range);
    }
  }
  for (int r = range.first_row; r <= range.last_row && !out.failed(); ++r) {
    prefetch_row(grid, range, r + 4);
    if (titles && grid.row_titles) {
      put_field(out, *row_title(grid, r), true, options);
      out.put(',');
    }
    for (int c = range.first_column; c <= range.last_column; ++c) {
      put_cell(out, grid.column(c), grid.cell(c, r), options);
      put_separator(out, c, range);
    }
  }
}

}  // namespace
}  // namespace quill

void WGridSave(int field, std::string_view file_name, std::optional<int> first_column,
               std::optional<int> last_column, std::optional<int> first_row, std::optional<int> last_row,
               std::optional<int> options) {
  const quill::GridTarget target = quill::find_grid(field);
  if (target.error != 0) {
    IErrorReport(target.error, "WGridSave");
    return;
  }
  const quill::Grid& grid = *target.grid;
  const quill::GridRange range = quill::clamp_range(grid, first_column, last_column, first_row, last_row);
  quill::BufferedWriter out(quill::kGridWriterBuffer);
  if (!quill::open_grid_file(out, quill::grid_file_name(file_name))) {
    IErrorReport(quill::error::kFileOpen, "WGridSave");
    return;
  }
  quill::write_csv(grid, range, options.value_or(0), out);
  if (!quill::close_grid_file(out)) IErrorReport(quill::error::kFileReadWrite, "WGridSave");
}
