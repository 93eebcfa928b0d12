// WGridSaveHTML: the document frame, options, alignment, colours, check marks, escaping.
#include <array>
#include <string>

#include "grid_test_support.hpp"
#include "quill/errors.hpp"
#include "quill/grid.hpp"

namespace {

using grid_test::GridTest;
using grid_test::kField;
using grid_test::read_file;

class HtmlExportTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    define({4, 9, 11}, 1);
    WGridJustify(kField, 2, 1);
    WGridJustify(kField, 3, 2);
    const std::array<std::string_view, 1> options{"A&B"};
    WGridPutOptions(kField, 3, options, 1);
    WGridPutCellString(kField, 1, 1, "<b>\"x\" \x80\xe9");
    WGridPutCellCheckBox(kField, 2, 1, 1);
    WGridColourCell(kField, 1, 1, 0x0A0B05, 0x0000FF);
    ASSERT_EQ(take_error(), 0);
  }

  static std::string html(int options, std::optional<std::string_view> title = std::nullopt,
                          std::optional<int> border = std::nullopt,
                          std::optional<int> background = std::nullopt) {
    WGridSaveHTML(kField, "out.html", std::nullopt, std::nullopt, std::nullopt, std::nullopt, options, title,
                  border, background);
    EXPECT_EQ(take_error(), 0);
    return read_file("out.html");
  }
};

constexpr const char* kRow =
    "<tr>\r\n"
    "<td align=left bgcolor=#ff0000>\r\n<font color=#050b0a>\r\n"
    "&lt;b&gt;&quot;x&quot; &#8364;&#233;\r\n</font>\r\n</td>\r\n"
    "<td align=center>\r\n<font face=\"Symbol\">&middot;</font>\r\n</td>\r\n"
    "<td align=right>\r\n&nbsp;\r\n</td>\r\n"
    "</tr>\r\n";

TEST_F(HtmlExportTest, WritesTheDocumentFrameAndCells) {
  EXPECT_EQ(
      html(0),
      std::string("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head>\r\n<body>\r\n"
                  "<table border=0 cellpadding=5>\r\n") +
          kRow + "</table>\r\n</body>\r\n</html>\r\n");
  EXPECT_EQ(html(1, std::nullopt, -4),
            std::string("<table border=0 cellpadding=5>\r\n") + kRow + "</table>\r\n");
}

TEST_F(HtmlExportTest, TitleBorderBackgroundAndCentring) {
  const std::string text = html(2, "Sales & <more>  ", 3, 0x000102);
  EXPECT_EQ(text.substr(0, text.find("<tr>")),
            "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
            "<title>Sales &amp; &lt;more&gt;</title>\r\n</head>\r\n<body bgcolor=#020100>\r\n<center>\r\n"
            "<h2>Sales &amp; &lt;more&gt;</h2>\r\n<table border=3 cellpadding=5>\r\n");
  EXPECT_NE(text.find("</table>\r\n</center>\r\n</body>\r\n</html>\r\n"), std::string::npos);
}

TEST_F(HtmlExportTest, OptionsForCheckLettersAndNoColours) {
  WGridPutCellOption(kField, 3, 1, 1);
  const std::string text = html(1 + 4 + 8);
  EXPECT_EQ(text,
            "<table border=0 cellpadding=5>\r\n<tr>\r\n"
            "<td align=left>\r\n&lt;b&gt;&quot;x&quot; &#8364;&#233;\r\n</td>\r\n"
            "<td align=center>\r\nY\r\n</td>\r\n"
            "<td align=right>\r\nA&amp;B\r\n</td>\r\n"
            "</tr>\r\n</table>\r\n");
  WGridPutCellCheckBox(kField, 2, 1, 0);
  EXPECT_NE(html(1 + 4).find("<td align=center>\r\nN\r\n"), std::string::npos);
  EXPECT_NE(html(1).find("<td align=center>\r\n&nbsp;\r\n"), std::string::npos);
}

TEST_F(HtmlExportTest, TitlesAndRowTitles) {
  WGridTitles(kField, 1, 1);
  WGridColumnTitle(kField, 1, "Name");
  WGridRowTitle(kField, 1, "r<1>");
  const std::string text = html(1 + 8, std::nullopt, std::nullopt, std::nullopt);
  EXPECT_EQ(text.substr(0, text.find("<td align=left>\r\n&lt;b")),
            "<table border=0 cellpadding=5>\r\n<tr>\r\n<td></td>\r\n"
            "<th align=center>\r\nName\r\n</th>\r\n<th align=center>\r\n&nbsp;\r\n</th>\r\n"
            "<th align=center>\r\n&nbsp;\r\n</th>\r\n</tr>\r\n"
            "<tr>\r\n<td align=left>\r\nr&lt;1&gt;\r\n</td>\r\n");
}

TEST_F(HtmlExportTest, ControlAndUndefinedBytesBecomeReplacementCharacters) {
  WGridPutCellString(kField, 1, 1, "a\001b\201c\177\377");
  const std::string text = html(1 + 8);
  EXPECT_NE(text.find("a&#65533;b&#65533;c&#65533;&#255;\r\n"), std::string::npos);
}

TEST_F(HtmlExportTest, ReplacesAnOlderLongerFileAndReportsFailures) {
  grid_test::write_file("out.html", std::string(10'000, 'Q'));
  EXPECT_EQ(html(1).find('Q'), std::string::npos);
  WGridSaveHTML(kField, "no/such/dir/out.html");
  EXPECT_EQ(take_error(), 1);
  WGridSaveHTML(kField + 1, "out.html");
  EXPECT_EQ(take_error(), 1006);
}

}  // namespace
