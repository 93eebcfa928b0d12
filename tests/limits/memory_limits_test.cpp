// Sizes that do not fit in memory: each case runs in a forked child whose address space
// is limited to what it already uses plus some headroom, asks for more, and reports the
// codes it saw and whether the state it asked to change stayed as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/error_state.hpp"
#include "graphics/drawing_state.hpp"
#include "graphics/image/memory_bitmap.hpp"
#include "graphics/metafile/metafile_internal.hpp"
#include "grid/grid_registry.hpp"
#include "grid/grid_setup.hpp"
#include "quill/graphics.hpp"
#include "quill/grid.hpp"
#include "quill/image.hpp"
#include "quill/metafile.hpp"

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr int kField = 10;

std::size_t address_space_in_use() {
  std::size_t pages = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%zu", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Runs body in a child limited to headroom bytes more than it uses; returns what body
// wrote, or a note of how the child ended when it did not exit normally.
std::string run_limited(std::size_t headroom, const std::function<std::string()>& body) {
  int out[2];
  if (pipe(out) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(out[0]);
    const rlimit limit{address_space_in_use() + headroom, address_space_in_use() + headroom};
    std::string report = "no limit";
    try {
      if (setrlimit(RLIMIT_AS, &limit) == 0) report = body();
    } catch (const std::exception& e) {  // a routine let it through: the process would end
      report = std::string("uncaught ") + e.what();
    }
    if (write(out[1], report.data(), report.size()) < 0) _exit(2);
    _exit(0);
  }
  close(out[1]);
  std::string report;
  char buffer[256];
  for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, static_cast<std::size_t>(got));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return report + " [ended by signal " + std::to_string(WTERMSIG(status)) + "]";
  return report;
}

// The last-error code, then cleared.
int take_error() { return std::exchange(quill::errors().last_error, 0); }

std::string grid_state() {
  int rows = 0, code = 0;
  std::string text(8, ' ');
  WGridGetCellString(kField, 1, 2, text);
  code = take_error();
  rows = quill::grid_registry().grids.begin()->second.rows;
  return "rows " + std::to_string(rows) + " columns " +
         std::to_string(quill::grid_registry().grids.begin()->second.column_count()) + " cell " +
         text.substr(0, text.find(' ')) + (code != 0 ? " error " + std::to_string(code) : "");
}

class MemoryLimit : public ::testing::Test {
 protected:
  void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space and ends the process on a failed "
                    "allocation, so an address-space limit cannot be tested under it";
#endif
    quill::reset_grids_for_test();
    quill::errors() = quill::ErrorState{};
    quill::attach_dialog_grid(1, kField);
    quill::select_grid_dialog(1);
    const std::vector<int> text_columns(1000, 4);
    WGridColumns(kField, 1000, text_columns);
    WGridRows(kField, 3);
    WGridPutCellString(kField, 1, 2, "keep");
  }
};

TEST_F(MemoryLimit, GridsTooLargeForMemoryReportGridSizeAndStayAsTheyWere) {
  const std::string report = run_limited(1024 * kMiB, [] {
    std::string seen;
    // A dialog's grid set-up line asking for the same.
    quill::Grid& grid = quill::grid_registry().grids.begin()->second;
    seen += "setup " + std::to_string(quill::apply_grid_setup(
                           grid, quill::parse_grid_setup_line("rows 10000000 10000000")));
    seen += " max " + std::to_string(grid.max_rows);
    WGridRowsMax(kField, 10'000'000);
    seen += ", max " + std::to_string(take_error());
    WGridRows(kField, 10'000'000);
    seen += ", rows " + std::to_string(take_error());
    // Fewer columns with many rows, then all columns again.
    const std::vector<int> one_column(1, 4);
    WGridColumns(kField, 1, one_column);
    WGridRows(kField, 1'000'000);
    seen += ", narrow " + std::to_string(take_error());
    const std::vector<int> text_columns(1000, 4);
    WGridColumns(kField, 1000, text_columns);
    seen += ", widen " + std::to_string(take_error());
    return seen + "; " + grid_state();
  });
  EXPECT_EQ(report,
            "setup 1018 max 1000, max 0, rows 1018, narrow 0, widen 1018; rows 1000000 columns 1 cell keep");
}

TEST_F(MemoryLimit, AGridFileTooLargeForMemoryLeavesTheGridAsItWas) {
  // 8,000 lines of 1,000 empty fields: 8 MB of file, 320 MB of cells once loaded.
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "quill_memory_limit.csv";
  {
    std::ofstream out(file, std::ios::binary);
    const std::string line = std::string(999, ',') + "\r\n";
    for (int i = 0; i < 8'000; ++i) out << line;
  }
  WGridRowsMax(kField, 10'000'000);
  const std::string report = run_limited(256 * kMiB, [&] {
    WGridLoad(kField, file.string(), 1);
    const std::string seen = "load " + std::to_string(take_error());
    return seen + "; " + grid_state();
  });
  std::filesystem::remove(file);
  EXPECT_EQ(report, "load 1018; rows 3 columns 1000 cell keep");
}

TEST_F(MemoryLimit, BitmapsImagesAndPointArraysTooLargeForMemoryReportTheirCodes) {
  const std::string report = run_limited(256 * kMiB, [] {
    std::string seen;
    int handle = -1;
    WBitmapCreate(handle, 16384, 16384, 32);  // 1 GiB: allowed, but not available
    seen += "bitmap " + std::to_string(take_error()) + " handle " + std::to_string(handle);
    WBitmapCreate(handle, 6000, 6000, 24);  // 108 MB: fits twice, not three times
    seen += ", smaller " + std::to_string(take_error());
    IGrSelect(2, handle);
    IGrSaveImage("/tmp/quill_memory_limit.png");
    seen += ", save " + std::to_string(take_error());
    seen += quill::bitmap_slot(handle)->pixel(10, 10).red == 255 ? " white" : " changed";
    WBitmapDestroy(handle);
    IGrSelect(1, 0);
    take_error();
    std::vector<float> xs(20'000'000, 0.5F);  // 160 MB of points for 320 MB of drawing units
    IGrPolyLine(xs, xs);
    seen += ", polyline " + std::to_string(take_error());
    return seen;
  });
  std::filesystem::remove("/tmp/quill_memory_limit.png");
  EXPECT_EQ(report, "bitmap 1020 handle -1, smaller 0, save 1072 white, polyline 49");
}

TEST_F(MemoryLimit, AMetafileThatFillsMemoryKeepsWhatItRecorded) {
  const std::string report = run_limited(48 * kMiB, [] {
    int handle = 0;
    WMetafileCreate(handle);
    IGrSelect(4, handle);
    std::vector<float> xs(100'000), ys(100'000);
    for (std::size_t i = 0; i < xs.size(); ++i) {
      xs[i] = static_cast<float>(i % 100) / 100.0F;
      ys[i] = static_cast<float>(i % 37) / 37.0F;
    }
    int code = 0, lines = 0;
    for (; lines < 1000 && code == 0; ++lines) {
      IGrPolyLine(xs, ys);
      code = take_error();
    }
    // Every element recorded before the refused one reads to the end of the bytes.
    const std::string& bytes = quill::metafiles().slots[static_cast<std::size_t>(handle)];
    std::size_t at = 0;
    quill::CgmElementView element;
    std::string joined;
    int polylines = 0;
    while (quill::next_cgm_element(bytes, at, element, joined))
      polylines += element.element_class == 4 && element.id == 1;
    return "code " + std::to_string(code) + (lines > 1 ? " after some" : " at once") +
           (at == bytes.size() ? " whole" : " damaged") + (polylines == lines - 1 ? " kept" : " lost");
  });
  EXPECT_EQ(report, "code 1062 after some whole kept");
}

}  // namespace
