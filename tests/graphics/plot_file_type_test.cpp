// The plot-file type detector on the files every driver writes, on files of other
// programs (Pillow, matplotlib, ezdxf) and on small hand-made heads.
#include <gtest/gtest.h>

#include <string>

#include "core/settings.hpp"
#include "driver_files_support.hpp"
#include "graphics/drawing_state.hpp"
#include "image_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"

namespace quill {
namespace {

using filetest::read_bytes;
using filetest::write_bytes;

class PlotFileTypeTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_drawing_for_tests(); }
  void TearDown() override {
    settings().hpgl2_setting = 0;
    reset_drawing_for_tests();
  }
  test::TempDir dir_;
  const std::filesystem::path directory_ = dir_.file("");
};

int type_of(const std::filesystem::path& file) {
  IErrorReset();
  const int type = IGrPlotFileType(file.string());
  EXPECT_EQ(IErrorCode(), 0);
  return type;
}

TEST_F(PlotFileTypeTest, TellsEveryDriversFilesApart) {
  struct Case {
    int driver;
    int option, value;  // a hardcopy option to set first (0: none)
    int hpgl2_model;
    const char* file;
    int type;
  };
  const Case cases[] = {
      {1, 0, 0, 0, "pen.plt", PlotFileHpgl},     {2, 0, 0, 0, "page.ps", PlotFilePostScript},
      {2, 22, 1, 0, "page.eps", PlotFileEps},    {3, 0, 0, 0, "page.svg", PlotFileSvg},
      {6, 26, 15, 0, "page.png", PlotFilePng},   {6, 26, 1, 0, "page.bmp", PlotFileBmp},
      {6, 26, 2, 0, "page.pcx", PlotFilePcx},    {8, 0, 0, 0, "page.dxf", PlotFileDxf},
      {9, 0, 0, 0, "page.cgm", PlotFileCgm},     {12, 0, 0, 5, "framed.plt", PlotFileHpgl2Pcl},
      {12, 0, 0, 4, "plain.plt", PlotFileHpgl2},
#ifdef _WIN32
      {11, 0, 0, 0, "page.emf", PlotFileEmf},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    reset_drawing_for_tests();
    settings().hpgl2_setting = c.hpgl2_model;
    IGrHardCopySelect(c.driver);
    if (c.option != 0) IGrHardCopyOptions(c.option, c.value);
    const auto file = directory_ / c.file;
    IErrorReset();
    IGrHardCopy("S", file.string(), "Type");
    filetest::draw_sample_picture();
    IGrHardCopy("E");
    ASSERT_EQ(IErrorCode(), 0);
    EXPECT_EQ(type_of(file), c.type);
  }
}

TEST_F(PlotFileTypeTest, TellsOtherProgramsFilesApart) {
  if (filetest::run("/usr/bin/python3 -c 'import PIL, matplotlib, ezdxf' 2>/dev/null") != 0) {
    GTEST_SKIP() << "Pillow, matplotlib or ezdxf is missing (scripts/setup.sh installs them)";
  }
  static const char* const kWriter = R"PY(
import os, sys
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
import ezdxf
from PIL import Image
out = sys.argv[1]
image = Image.new("RGB", (20, 10), (200, 30, 40))
for name in ("pil.png", "pil.bmp", "pil.pcx", "pil.eps"):
    image.save(os.path.join(out, name))
plt.plot([0, 1, 2], [1, 0, 1])
for name in ("mpl.ps", "mpl.eps", "mpl.svg"):
    plt.savefig(os.path.join(out, name))
doc = ezdxf.new()
doc.modelspace().add_line((0, 0), (10, 5))
doc.saveas(os.path.join(out, "ezdxf.dxf"))
doc.saveas(os.path.join(out, "ezdxf_binary.dxf"), fmt="bin")
)PY";
  std::string output;
  ASSERT_EQ(filetest::run_python(kWriter, directory_.string(), &output), 0) << output;
  const std::pair<const char*, int> cases[] = {
      {"pil.png", PlotFilePng}, {"pil.bmp", PlotFileBmp},       {"pil.pcx", PlotFilePcx},
      {"pil.eps", PlotFileEps}, {"mpl.ps", PlotFilePostScript}, {"mpl.eps", PlotFileEps},
      {"mpl.svg", PlotFileSvg}, {"ezdxf.dxf", PlotFileDxf},     {"ezdxf_binary.dxf", PlotFileDxf}};
  for (const auto& [name, type] : cases) {
    EXPECT_EQ(type_of(directory_ / name), type) << name;
  }
}

TEST_F(PlotFileTypeTest, TellsHandMadeHeadsApart) {
  std::string emf(88, '\0');
  emf[0] = 1;
  emf.replace(40, 4, " EMF");
  const std::pair<std::string, int> cases[] = {
      {emf, PlotFileEmf},
      {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<!DOCTYPE svg>\n<svg:svg "
       "xmlns:svg=\"x\"/>",
       PlotFileSvg},
      {"<?xml version=\"1.0\"?><html/>", PlotFileUnknown},
      {"BEGMF 'clear text';\nMFVERSION 1;", PlotFileCgm},
      {std::string("\x1b%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE=POSTSCRIPT\r\n%!PS-Adobe-3.0\n"),
       PlotFilePostScript},
      {"\033E\033%-1BIN;SP1;PD100,100;", PlotFileHpgl2Pcl},
      {"\033E\033*r1A\033*b3W\x01\x02\x03", PlotFileUnknown},
      {"IN;SP1;PU100,100;PD200,200;LBHello\x03;SP0;", PlotFileHpgl},
      {"\x1b.(;\x1b.I81;;17:IN;DF;SP2;PA0,0;", PlotFileHpgl},
      {"BP;IN;PS10000,8000;PW0.35;PE<=abc;SP1;", PlotFileHpgl2},
      {"IN;CO\"a comment; with PD in it\";SP1;PD;", PlotFileHpgl2},
      {"999\ncomment\n  0\nSECTION\n  2\nHEADER\n", PlotFileDxf},
      {"%!PS-Adobe-3.0 EPSF-3.0\n", PlotFileEps},
      {"Name,Value\r\n1,2\r\n", PlotFileUnknown},
      {"INVOICE\n", PlotFileUnknown},
      {"", PlotFileUnknown},
  };
  for (const auto& [head, type] : cases) {
    const auto file = directory_ / "head";
    write_bytes(file, head);
    EXPECT_EQ(type_of(file), type) << head;
  }
  IErrorReset();
  EXPECT_EQ(IGrPlotFileType((directory_ / "missing").string()), PlotFileUnknown);
  EXPECT_EQ(IErrorCode(), 1);
}

}  // namespace
}  // namespace quill
