#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "driver_files_support.hpp"
#include "core/settings.hpp"
#include "graphics/hpgl2/hpgl_driver.hpp"
#include "base/error_state.hpp"

namespace quill::filetest {
namespace {

using Lines = std::vector<std::string>;

int count_lines(const Lines& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// The lines after the last scaling command (the header's, or the clipping that the start
// of a hardcopy replays), without the closing escape.
Lines body_lines(const Lines& lines) {
  auto it = std::find(lines.rbegin(), lines.rend(), "SC0 32760 0 32760");
  Lines body(it.base(), lines.end());
  if (!body.empty() && body.back() == "\x1b%0A") {
    body.pop_back();
  }
  return body;
}

class Hpgl2 : public DriverFileTest {
 protected:
  int driver() const override { return 12; }
  std::string extension() const override { return ".plt"; }
  void TearDown() override {
    hpgl::hpgl_models() = {};
    DriverFileTest::TearDown();
  }
  Lines draw_lines(const std::function<void()>& body, int model = 5, const std::string& title = "",
                   const std::function<void()>& configure = {}) {
    hpgl::hpgl_models().printer = model;
    return crlf_lines(draw(body, title, configure));
  }
};

class PenPlotter : public Hpgl2 {
 protected:
  int driver() const override { return 1; }
};

TEST_F(Hpgl2, HeaderOfEachModel) {
  const Lines model5 = draw_lines([] {}, 5, "Plot \"one\"; IN; PG;");
  EXPECT_EQ(Lines(model5.begin(), model5.begin() + 12),
            (Lines{"\x1b%0B", "CO\"Plot 'one', IN, PG,\";", "IN; IP0 0 10851 7916", "RO90; IP0 0 10851 7916",
                   "DT\x04", "DI1. 0.", "TR0", "AD1,14;SA", "NP256", "CO\"13 5 1.2 9\";", "CO\"2 0\";",
                   "SC0 32760 0 32760"}));
  EXPECT_EQ(model5.back(), "\x1b%0A");

  const Lines model1 = draw_lines([] {}, 1);
  EXPECT_EQ(Lines(model1.begin(), model1.begin() + 11),
            (Lines{"\x1b%0B", "IN; IP0 0 10851 7916", "RO90; IP0 0 10851 7916", "DT\x04", "DI1. 0.", "TR0",
                   "CO\"13 1 1.5 9\";", "CO\"2 0\";", "SC0 32760 0 32760",
                   "RF1,8,4,1,1,1,0,1,1,1,0,1,0,1,1,1,0,1,1,1,1,1,0,1,1,1,0,1,1,1,0,1,1",
                   "RF2,8,4,1,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0,0,0,1,0,0,0,0,0,0,0"}));

  const std::string model4 = draw([] { hpgl::hpgl_models().printer = 4; }, "",
                                  [] {
                                    hpgl::hpgl_models().printer = 4;
                                    IGrHardCopySelect(12);
                                  });
  EXPECT_EQ(model4.find('\x1b'), std::string::npos);
  const Lines lines4 = crlf_lines(model4);
  EXPECT_EQ(lines4[0], "IN; IP0 0 15832 10851");
  EXPECT_EQ(lines4[1], "RO0; IP0 0 15832 10851");
}

TEST_F(Hpgl2, ModelsComeFromTheConfigurationUnlessChosen) {
  struct Case {
    int chosen, configured, plotter_configured;
    const char* model_note;
    std::string_view plotter_capabilities;
  };
  const Case cases[] = {
      {0, 1, 3, "CO\"13 1 1.5 9\";", kPlotterCapabilities[2]},
      {0, 9, 7, "CO\"13 5 1.2 9\";", kPlotterCapabilities[0]},  // out of range: the defaults
      {2, 1, 0, "CO\"13 2 1.2 9\";", kPlotterCapabilities[0]},
  };
  for (const Case& c : cases) {
    hpgl::hpgl_models().printer = c.chosen;
    settings().hpgl2_setting = c.configured;
    settings().plotter_type = c.plotter_configured;
    IGrHardCopySelect(12);
    IGrHardCopy("S", path().string());
    IGrHardCopy("E");
    const Lines lines = crlf_lines(read_bytes(path()));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), c.model_note), 1) << c.configured;
    IGrHardCopySelect(1);
    EXPECT_EQ(drawing().device.capabilities, c.plotter_capabilities) << c.plotter_configured;
  }
  reset_settings_for_test();
}

TEST_F(Hpgl2, DeviceDescriptionFollowsTheModel) {
  struct Case {
    int model, width, height, colours;
  };
  for (const Case& c : {Case{1, 769, 561, 2}, Case{2, 769, 561, 256}, Case{4, 1122, 769, 256}}) {
    hpgl::hpgl_models().printer = c.model;
    IGrHardCopySelect(12);
    const DeviceDescription& device = drawing().device;
    EXPECT_EQ(device.option(GrOption::Width), c.width) << c.model;
    EXPECT_EQ(device.option(GrOption::Height), c.height) << c.model;
    EXPECT_EQ(device.colours, c.colours) << c.model;
    EXPECT_EQ(device.option(GrOption::LabelTerminator), 4);
    EXPECT_TRUE(device.landscape());
  }
  EXPECT_EQ(probe_driver(12), 12);
  EXPECT_EQ(probe_driver(1), 1);
}

TEST_F(Hpgl2, LinesMoveOnlyWhenThePenIsElsewhere) {
  const Lines body = body_lines(draw_lines([] {
    IGrJoin(0.0F, 0.0F, 100.0F, 50.0F);
    IGrJoin(100.0F, 50.0F, 200.0F, 0.0F);
    IGrPoint(10.0F, 10.0F);
  }));
  const Lines expected{"PC1 0 0 0",   "PU;SP1",   "CO\"1 0\";", "PU0 0",
                       "PD4260 2919", "PD8520 0", "PU426 583",  "PD426 583"};
  EXPECT_EQ(body, expected);
}

TEST_F(Hpgl2, ColoursDefinePensOnceAndSelectOnChange) {
  const Lines body = body_lines(draw_lines([] {
    IGrColourN(0x0000FF);
    IGrColourN(0x0000FF);
    IGrColourN(0x00FF00);
    IGrColourN(0x0000FF);
  }));
  EXPECT_EQ(body, (Lines{"PC1 0 0 0", "PU;SP1", "CO\"1 0\";", "PC2 255 0 0", "PU;SP2", "CO\"1 16711680\";",
                         "CO\"1 16711680\";", "PC3 0 255 0", "PU;SP3", "CO\"1 65280\";", "PU;SP2",
                         "CO\"1 16711680\";"}));
}

TEST_F(Hpgl2, TrueColourPensStayInBoundsAfter255Colours) {
  const std::string text = draw([] {
    for (int colour = 1; colour <= 600; ++colour) {
      IGrColourN(colour * 9973);
    }
  });
  const Lines lines = crlf_lines(text);
  int pens = 0;
  for (const std::string& line : lines) {
    if (line.starts_with("PU;SP")) {
      const int pen = std::stoi(line.substr(5));
      EXPECT_GE(pen, 0);
      EXPECT_LE(pen, 255);
      ++pens;
    }
  }
  EXPECT_EQ(pens, 601);
  EXPECT_EQ(count_lines(lines, "PU;SP255"), 2);
}

TEST_F(Hpgl2, TwoColourModelsUseThePenForTheBackgroundAndOneForTheRest) {
  const Lines body = body_lines(draw_lines(
      [] {
        drawing().drawable.true_colour = false;
        IGrColourN(31);
        IGrColourN(95);
        IGrColourN(0);
      },
      1));
  std::vector<std::string> selections;
  for (const std::string& line : body) {
    if (line.starts_with("PU;SP") || line.starts_with("PC")) {
      selections.push_back(line);
    }
  }
  EXPECT_EQ(selections, (Lines{"PU;SP1", "PU;SP0"}));
}

TEST_F(Hpgl2, LineAttributes) {
  const Lines body = body_lines(draw_lines([] {
    IGrLineType(0);
    IGrLineType(4);
    IGrLineWidth(1);
    IGrLineWidth(20);
    IGrLineWidth(5000);
    IGrLineJoin(1);
    IGrLineCap(2);
  }));
  const Lines tail(body.end() - 7, body.end());
  EXPECT_EQ(tail, (Lines{"LT", "LT7 2", "PW0.028", "PW0.567", "PW5.000", "LA2 4", "LA1 2"}));
}

TEST_F(Hpgl2, PageEndsAndCopies) {
  struct Case {
    int model, copies;
    const char* expected;
  };
  for (const Case& c : {Case{5, 1, "\x1b%1A\x1b&l01X\f\x1b%0B"}, Case{5, 12, "\x1b%1A\x1b&l12X\f\x1b%0B"},
                        Case{5, 150, "\x1b%1A\x1b&l150X\f\x1b%0B"}, Case{4, 1, "PG"}}) {
    const Lines lines = draw_lines([] { IGrNewPage(); }, c.model, "",
                                   [&c] {
                                     hpgl::hpgl_models().printer = c.model;
                                     IGrHardCopySelect(12);
                                     IGrHardCopyOptions(8, c.copies);
                                   });
    const auto it = std::find(lines.begin(), lines.end(), "CO\"3 0\";");
    ASSERT_NE(it, lines.end()) << c.copies;
    EXPECT_EQ(*(it + 1), c.expected) << c.copies;
  }
}

TEST_F(Hpgl2, LabelsKeepTheirTextWithoutTerminatorOrControlBytes) {
  const std::string long_label(120, 'L');
  const Lines lines = draw_lines([&long_label] {
    IGrCharOut(100.0F, 100.0F, "a\x04z  b\r\n\xe9");
    IGrCharOut(100.0F, 100.0F, long_label);
  });
  EXPECT_EQ(count_lines(lines, "LBaz  b  \xc5\x04"), 1);
  EXPECT_EQ(count_lines(lines, "LB" + long_label + "\x04"), 1);
}

TEST_F(Hpgl2, TextWritesModeSizeFontOriginAndDirectionOnlyWhenChanged) {
  const Lines body = body_lines(draw_lines([] {
    IGrCharFont(3, 2);
    IGrCharJustify(1);
    IGrCharOut(100.0F, 100.0F, "A");
    IGrCharOut(200.0F, 100.0F, "B");
    IGrCharRotate(90.0F);
    IGrCharOut(200.0F, 100.0F, "C");
  }));
  for (const char* line :
       {"CO\"10 0\";", "SL.2", "SD1,277,2,1,4,12,5,1,6,0,7,4101;SS", "LO4", "DI0.000 1.000"}) {
    EXPECT_EQ(count_lines(body, line), 1) << line;
  }
  int sizes = 0;
  for (const std::string& line : body) {
    sizes += line.starts_with("SR") ? 1 : 0;
  }
  EXPECT_EQ(sizes, 1);
}

TEST_F(Hpgl2, FillsAreBracketedByTheirKind) {
  const Lines body = body_lines(draw_lines([] {
    IGrFillPattern(4);
    IGrRectangle(10.0F, 10.0F, 100.0F, 50.0F);
    IGrTriangle(10.0F, 10.0F, 100.0F, 10.0F, 50.0F, 50.0F);
  }));
  const Lines expected{"CO\"6\";",    "PU426 583",   "RA4260 2919",
                       "CO\"6 -1\";", "PU;SP1",      "CO\"8\";",
                       "PU426 583",   "PM0",         "PD4260 583 2130 2919 426 583",
                       "PM2;FP",      "CO\"8 -1\";", "PU;SP1"};
  EXPECT_EQ(Lines(body.end() - 12, body.end()), expected);
}

TEST_F(Hpgl2, HugeAndNanCoordinatesAreClamped) {
  const Lines body =
      body_lines(draw_lines([] { IGrJoin(1e30F, -1e30F, std::numeric_limits<float>::quiet_NaN(), 5.0F); }));
  ASSERT_EQ(body.size(), 5U);
  EXPECT_EQ(body[3], "PU1000000 -1000000");
  EXPECT_EQ(body[4], "PD0 291");
}

TEST_F(PenPlotter, PlainHpglWithoutPclCommentsOrHpgl2Commands) {
  const std::string text = draw([] { draw_sample_picture(); }, "title");
  EXPECT_EQ(text.find('\x1b'), std::string::npos);
  for (const char* command : {"CO", "PC", "PW", "LA", "PM", "NP", "SD", "LO", "RF", "FT"}) {
    for (const std::string& line : crlf_lines(text)) {
      EXPECT_FALSE(line.starts_with(command)) << line;
    }
  }
  const Lines lines = crlf_lines(text);
  EXPECT_EQ(lines[0], "IN;");
  EXPECT_EQ(lines.back(), "PU;SP0");
  EXPECT_EQ(drawing().device.capabilities, kPlotterCapabilities[0]);
}

TEST_F(Hpgl2, FailedWritesAreReportedOnceByBothDialects) {
#ifdef _WIN32
  GTEST_SKIP() << "/dev/full is a device of the native build";
#else
  for (int number : {12, 1}) {
    reset_drawing_for_tests();
    errors().last_error = 0;
    IGrHardCopySelect(number);
    IGrHardCopy("S", "/dev/full");
    for (int i = 0; i < 5000; ++i) {
      IGrJoin(0.0F, 0.0F, static_cast<float>(i), 1.0F);
      if (i == 4000) {
        EXPECT_EQ(errors().last_error, 2) << number;
        errors().last_error = 0;  // nothing more may be reported
      }
    }
    EXPECT_FALSE(drawing().hardcopy.active) << number;
    IGrHardCopy("E");
    EXPECT_EQ(errors().last_error, 0) << number;
  }
#endif
}

TEST_F(PenPlotter, FillsAreOutlinedAndHatchedInsideTheShape) {
  const Lines lines = crlf_lines(draw([] {
    IGrFillPattern(4);
    IGrRectangle(100.0F, 100.0F, 300.0F, 200.0F);
  }));
  // Hatch lines: a move to the left edge, then a pen-down move along the same height.
  int hatches = 0;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (!lines[i].starts_with("PU") || !lines[i + 1].starts_with("PD") || lines[i] == "PU;SP0") {
      continue;
    }
    long x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    if (std::sscanf(lines[i].c_str(), "PU%ld %ld", &x0, &y0) == 2 &&
        std::sscanf(lines[i + 1].c_str(), "PD%ld %ld", &x1, &y1) == 2 && y0 == y1 && x1 > x0) {
      EXPECT_NEAR(static_cast<double>(x0), 100 * 32760 / 962.0, 2.0);
      EXPECT_NEAR(static_cast<double>(x1), 300 * 32760 / 962.0, 2.0);
      ++hatches;
    }
  }
  EXPECT_GT(hatches, 20);
}

#ifndef _WIN32
struct Hp2xxLog {
  long read = -1, ignored = -1, unexpected = -1;
  std::vector<std::string> ignored_commands;
};

long log_number(const std::string& log, const std::string& label) {
  const std::size_t at = log.find(label);
  return at == std::string::npos ? -1 : std::stol(log.substr(at + label.size()));
}

// Runs hp2xx on file into a PNG and reads the counts of its log.
Hp2xxLog run_hp2xx(const std::filesystem::path& file, const std::filesystem::path& png) {
  std::string log;
  run("hp2xx -m png -f " + png.string() + " " + file.string(), &log);
  Hp2xxLog result;
  result.read = log_number(log, "HPGL commands read:");
  result.ignored = log_number(log, "HPGL command(s) ignored:");
  result.unexpected = log_number(log, "Unexpected event(s):");
  for (std::size_t at = log.find(": ignored"); at != std::string::npos; at = log.find(": ignored", at + 1)) {
    result.ignored_commands.push_back(log.substr(at - 2, 2));
  }
  return result;
}

// Lines that hold at least one command (all but escapes and blank lines).
long command_lines(const std::string& text) {
  long n = 0;
  for (const std::string& line : crlf_lines(text)) {
    n += !line.empty() && line[0] != '\x1b' ? 1 : 0;
  }
  return n;
}

void expect_clean_read(const Hp2xxLog& log, long lines, const std::vector<std::string>& may_ignore) {
  EXPECT_GE(log.read, lines);
  EXPECT_EQ(log.unexpected, 0);
  EXPECT_EQ(log.ignored, static_cast<long>(log.ignored_commands.size()));
  for (const std::string& command : log.ignored_commands) {
    EXPECT_NE(std::find(may_ignore.begin(), may_ignore.end(), command), may_ignore.end()) << command;
  }
}

TEST_F(Hpgl2, ReaderFlagsUnknownCommandsAndSwallowedLines) {
  write_bytes(path("a"), "IN;\r\nXQ12 5\r\nPU0 0\r\nPD100 100\r\n");
  const Hp2xxLog unknown = run_hp2xx(path("a"), path("a.png"));
  EXPECT_EQ(unknown.ignored_commands, (std::vector<std::string>{"XQ"}));
  write_bytes(path("b"), "IN;\r\nCO\"open comment\r\nPU0 0\r\nPD100 100\r\n");
  const Hp2xxLog swallowed = run_hp2xx(path("b"), path("b.png"));
  EXPECT_LT(swallowed.read, 4);
}

TEST_F(Hpgl2, ReaderReadsEveryCommandOfEachModelAndDrawsTheColours) {
  for (int model : {1, 4, 5}) {
    const std::string text = draw([] { draw_sample_picture(); }, "Sample \"plot\"; IN; PG;",
                                  [model] {
                                    hpgl::hpgl_models().printer = model;
                                    IGrHardCopySelect(12);
                                  });
    const std::filesystem::path png = path(std::to_string(model) + ".png");
    const Hp2xxLog log = run_hp2xx(path(), png);
    SCOPED_TRACE(model);
    expect_clean_read(log, command_lines(text), {"TR", "RF"});  // known, not drawn by hp2xx
    const std::vector<long> counts =
        count_colours(png, {{0, 255, 0}, {255, 0, 255}, {255, 165, 0}, {0, 255, 255}, {0, 0, 0}});
    ASSERT_EQ(counts.size(), 5U);
    if (model == 1) {
      EXPECT_GT(counts[4], 2000);  // black lines and the patterned fills
    } else {
      for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_GT(counts[i], 300) << i;
      }
    }
  }
}

// Without PCL framing the reader starts each page from its defaults: the second page
// still knows the label terminator and pens beyond 8, and draws its lines after a label.
TEST_F(Hpgl2, ReaderDrawsEveryPageOfTheUnframedModel) {
  const std::string text = draw(
      [] {
        for (int pen = 0; pen < 10; ++pen) {
          IGrColourN(0x010101 * pen);
          IGrJoin(10.0F, 10.0F + 10.0F * pen, 200.0F, 10.0F);
        }
        IGrNewPage();
        IGrCharOut(100.0F, 300.0F, "label");
        IGrColourN(0xFF0000);
        IGrLineWidth(100);
        IGrJoin(100.0F, 100.0F, 900.0F, 100.0F);
        IGrJoin(900.0F, 100.0F, 900.0F, 500.0F);
      },
      "",
      [] {
        hpgl::hpgl_models().printer = 4;
        IGrHardCopySelect(12);
      });
  // The reader writes page 2 into <name>.1.png and logs each page after "Reading HPGL file".
  std::string log;
  run("hp2xx -m png -f " + (directory_ / "pages.png").string() + " " + path().string(), &log);
  const std::string page2_log = log.substr(log.rfind("Reading HPGL file"));
  const std::string page2 = text.substr(text.find("\r\nPG\r\n") + 6);
  EXPECT_GE(log_number(page2_log, "HPGL commands read:"), command_lines(page2)) << page2_log;
  EXPECT_EQ(log_number(page2_log, "HPGL command(s) ignored:"), 1) << page2_log;  // TR
  const std::vector<long> blue = count_colours(directory_ / "pages.1.png", {{0, 0, 255}});
  ASSERT_EQ(blue.size(), 1U);
  EXPECT_GT(blue[0], 500);
}

TEST_F(PenPlotter, ReaderReadsEveryCommand) {
  const std::string text = draw([] { draw_sample_picture(); }, "title");
  const Hp2xxLog log = run_hp2xx(path(), path(".png"));
  expect_clean_read(log, command_lines(text), {});
  const std::vector<long> counts = count_colours(path(".png"), {{0, 0, 0}});
  ASSERT_EQ(counts.size(), 1U);
  EXPECT_GT(counts[0], 1000);
}
#endif

}  // namespace
}  // namespace quill::filetest
