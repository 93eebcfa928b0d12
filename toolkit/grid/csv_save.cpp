// WGridSave: a range of a grid as comma-separated lines, one per row, each ended by a
// carriage return and a line feed.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "grid/byte_scan.hpp"
#include "grid/grid_file.hpp"
#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"

namespace quill {
namespace {

constexpr int kNoQuotes = 1;
constexpr int kTitles = 2;
constexpr int kUndefinedValues = 4;

// A field the loader would read differently without enclosing quotes: one holding a
// quote, a comma or a line end, or one beginning with a blank.
bool needs_quotes(std::string_view text) {
  if (text.empty()) return false;
  return text.front() == ' ' || contains_any_of_bytes<'"', ',', '\r', '\n'>(text);
}

// The most bytes encode_field writes for a text: every byte a doubled quote, and the
// enclosing pair.
std::size_t field_room(std::string_view text) { return 2 * text.size() + 2; }

// One field at out (field_room bytes free), returning its end: the text without trailing
// blanks and with its quotes doubled, enclosed in quotes when the field type asks for
// them (and option 1 does not forbid it) or when the text needs them.
char* encode_field(char* out, std::string_view text, bool quoted, int options) {
  text = trim_trailing(text);
  const bool special = needs_quotes(text);
  const bool enclose = (quoted && (options & kNoQuotes) == 0) || special;
  if (enclose) *out++ = '"';
  if (special) {
    for (const char c : text) {
      *out++ = c;
      if (c == '"') *out++ = '"';
    }
  } else {
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
    out += text.size();
  }
  if (enclose) *out++ = '"';
  return out;
}

std::string encoded_field(std::string_view text, bool quoted, int options) {
  std::string field(field_room(text), '\0');
  field.resize(static_cast<std::size_t>(encode_field(field.data(), text, quoted, options) - field.data()));
  return field;
}

void put_field(BufferedWriter& out, std::string_view text, bool quoted, int options) {
  if (char* room = out.reserve(field_room(text)); room != nullptr) {
    out.commit(encode_field(room, text, quoted, options));
  } else if (!out.failed()) {
    out.write(encoded_field(text, quoted, options));
  }
}

// A column of the range, with the fields of check box and option cells encoded once:
// "No" and "Yes", or each option's text (empty for an empty option, which writes nothing).
struct ColumnPlan {
  const GridColumn* column = nullptr;
  std::vector<std::string> fields;
};

ColumnPlan plan_column(const GridColumn& column, int options) {
  ColumnPlan plan{&column, {}};
  const auto encode = [&](std::string_view text, bool quoted) {
    const bool written = !text.empty() || column.type == ColumnType::CheckBox;
    plan.fields.push_back(written ? encoded_field(text, quoted, options) : std::string());
  };
  if (column.type == ColumnType::CheckBox) {
    encode("No", false);
    encode("Yes", false);
  } else if (column.type == ColumnType::OptionMenu) {
    for (const std::string& option : column.options) encode(option, true);
  }
  return plan;
}

void put_cell(BufferedWriter& out, const ColumnPlan& plan, const GridCell& cell, int options) {
  const GridColumn& column = *plan.column;
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
    case ColumnType::CheckBox: out.write(plan.fields[cell.check != 0 ? 1 : 0]); break;
    case ColumnType::OptionMenu:
      if (cell.option >= 1 && cell.option <= static_cast<int>(plan.fields.size())) {
        out.write(plan.fields[static_cast<std::size_t>(cell.option - 1)]);
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
  std::vector<ColumnPlan> plans;
  for (int c = range.first_column; c <= range.last_column; ++c)
    plans.push_back(plan_column(grid.column(c), options));
  const std::size_t count = plans.size();
  for (int r = range.first_row; r <= range.last_row && !out.failed(); ++r) {
    prefetch_row(grid, range, r + 4);
    if (titles && grid.row_titles) {
      put_field(out, *row_title(grid, r), true, options);
      out.put(',');
    }
    const GridCell* cells = &grid.cell(range.first_column, r);  // a row's cells lie together
    for (std::size_t i = 0; i + 1 < count; ++i) {
      put_cell(out, plans[i], cells[i], options);
      out.put(',');
    }
    put_cell(out, plans[count - 1], cells[count - 1], options);
    out.write("\r\n");
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
  // The encoded option fields are the only memory a save takes.
  const int code = quill::allocating(quill::error::kGridSize,
                                     [&] { quill::write_csv(grid, range, options.value_or(0), out); });
  if (!quill::close_grid_file(out)) {
    IErrorReport(quill::error::kFileReadWrite, "WGridSave");
  } else if (code != 0) {
    IErrorReport(code, "WGridSave");
  }
}
