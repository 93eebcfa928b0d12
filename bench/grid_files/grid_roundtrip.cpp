// Writes the grid files of one build for comparison with another's (see
// compare_grid_files.sh): "make FILE" builds the benchmark's 100,000-row grid through the
// routines and saves it; "copy IN DIR" loads IN into the same grid and writes it back as
// DIR/grid.csv, with undefined values as DIR/undefined.csv and as DIR/grid.html.
#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "grid/grid_registry.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"

namespace {

constexpr int kField = 1;
constexpr int kRows = 100'000;
constexpr std::array kTypes{4, 5, 7, 9, 11, 4, 5, 7, 9, 11};
constexpr std::array<std::string_view, 4> kOptions{"north", "east", "south", "west, far"};

void make_grid() {
  quill::attach_dialog_grid(1, kField);
  quill::select_grid_dialog(1);
  WGridColumns(kField, static_cast<int>(kTypes.size()), kTypes);
  WGridRowsMax(kField, kRows);
  WGridTitles(kField, 1, 0);
  for (int c = 5; c <= 10; c += 5) WGridPutOptions(kField, c, kOptions, static_cast<int>(kOptions.size()));
  WGridFormat(kField, 3, "(F14.4)");
  WGridFormat(kField, 8, "(E16.8)");
}

void fill() {
  WGridRows(kField, kRows);
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> integer(-1'000'000, 1'000'000);
  std::uniform_real_distribution<double> real(-1e6, 1e6);
  std::uniform_int_distribution<int> length(0, 24);
  for (int c = 1; c <= 10; ++c) WGridColumnTitle(kField, c, "column " + std::to_string(c));
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 0; c < 10; c += 5) {
      std::string text(static_cast<std::size_t>(length(random)), ' ');
      for (char& ch : text) ch = static_cast<char>(' ' + random() % 95);  // quotes, commas, blanks
      if (r % 7 == 0) text += ", \"quoted\"\r\nnext line";
      WGridPutCellString(kField, c + 1, r, text);
      if (r % 11 != 0) WGridPutCellInteger(kField, c + 2, r, integer(random));
      if (r % 13 != 0) WGridPutCellDouble(kField, c + 3, r, real(random) * std::pow(10.0, r % 9 - 4));
      WGridPutCellCheckBox(kField, c + 4, r, static_cast<int>(random() % 2));
      WGridPutCellOption(kField, c + 5, r, static_cast<int>(random() % 5));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  IErrorMode(0);
  const std::string mode = argc > 1 ? argv[1] : "";
  make_grid();
  if (mode == "make" && argc == 3) {
    fill();
    WGridSave(kField, argv[2], std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
  } else if (mode == "copy" && argc == 4) {
    const std::string dir = argv[3];
    WGridLoad(kField, argv[2], 1, 2);
    WGridSave(kField, dir + "/grid.csv", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
    WGridSave(kField, dir + "/undefined.csv", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 4);
    WGridSaveHTML(kField, dir + "/grid.html");
  } else {
    std::fputs("usage: grid_roundtrip make FILE | copy IN DIR\n", stderr);
    return 2;
  }
  std::printf("last error %d\n", IErrorCode());
  return 0;
}
