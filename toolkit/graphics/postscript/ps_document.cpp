// PostScript document structure: device description, header with prolog and fonts,
// pages and trailer.
#include <cstdint>
#include <string>

#include "graphics/postscript/ps_driver.hpp"

namespace quill::postscript {
namespace {

constexpr std::string_view kProlog[] = {
    "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def",
    "/d {setdash} def/cf {closepath fill} def/s {stroke} def/ff {findfont} def",
    "/ms {makefont setfont} def/ro {rotate} def/cs {closepath stroke} def",
    "/lsh {show} def/rsh {dup stringwidth pop 0 exch sub 0 rmoveto show} def",
    "/csh {dup stringwidth pop 2 div 0 exch sub 0 rmoveto show} def",
};

struct FontFamily {
  std::string_view name;
  std::string_view suffixes[4];
};

constexpr FontFamily kFamilies[] = {
    {"/Courier", {"", "-Bold", "-Oblique", "-BoldOblique"}},
    {"/Helvetica", {"", "-Bold", "-Oblique", "-BoldOblique"}},
    {"/Times", {"-Roman", "-Bold", "-Italic", "-BoldItalic"}},
};

void write_font_definitions() {
  LineBuffer line;
  for (const FontFamily& family : kFamilies) {
    for (int style = 0; style < 4; ++style) {
      line.clear();
      line.add(family.name).add(family.suffixes[style]).add(" ff");
      write_line(line);
      write_line("dup length dict begin");
      write_line("{1 index /FID ne {def} {pop pop} ifelse} forall");
      write_line("/Encoding ISOLatin1Encoding def");
      line.clear();
      line.add("currentdict end ").add(family.name).add('-').add_int(style + 1).add(" exch definefont pop");
      write_line(line);
    }
  }
  write_line("/Symbol ff");
  write_line("dup length dict begin");
  write_line("{1 index /FID ne {def} {pop pop} ifelse} forall");
  write_line("currentdict end /Symbol exch definefont pop");
}

// Title for the header comment: control bytes become blanks, runs of blanks one blank.
void write_title(std::string_view title) {
  LineBuffer line;
  line.add("%%Title: ");
  for (char c : title) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const char out = byte < 32 || byte == 127 ? ' ' : c;
    if (out == ' ' && line.back() == ' ') {
      continue;
    }
    line.add(out);
  }
  while (line.back() == ' ') {
    line.drop_back(1);
  }
  write_line(line);
}

void write_opening_comments() {
  const DrawingState& state = drawing();
  const DeviceDescription& device = state.device;
  LineBuffer line;
  if (device.encapsulated()) {
    write_line("%!PS-Adobe-3.0 EPSF-3.0");
    const int first = device.landscape() ? device.option(GrOption::Height) : device.option(GrOption::Width);
    const int second = device.landscape() ? device.option(GrOption::Width) : device.option(GrOption::Height);
    line.add("%%BoundingBox: 0 0 ").add_int(first).add(' ').add_int(second);
    write_line(line);
  } else {
    write_line("%!PS-Adobe-3.0");
  }
  if (!state.hardcopy.title.empty()) {
    write_title(state.hardcopy.title);
  }
  write_line("%%Creator: K.V.S. PostScript driver");
  write_line("%%EndComments");
}

void write_page_setup() {
  const DeviceDescription& device = drawing().device;
  LineBuffer line;
  if (device.landscape()) {
    write_line("90.0 ro");
  }
  double x = device.option(GrOption::OffsetX);
  double y = device.option(GrOption::OffsetY);
  if (device.encapsulated()) {
    x = 0.0;
    y = 0.0;
  }
  if (device.landscape()) {
    y -= device.height();
  }
  add_field(line, x, 8, 1);
  line.add(' ');
  add_field(line, y, 8, 1);
  line.add(" translate");
  write_line(line);
  write_line("newpath");
}

void write_page_line(int page) {
  LineBuffer line;
  line.add("%%Page: ").add_int(page).add(' ').add_int(page);
  write_line(line);
}

}  // namespace

void describe_device() {
  if (!describe_device_from(
          {kDriverNumber, 756, 540, 600.0, 256, driver_info(kDriverNumber)->capabilities, "quilplot.ps"})) {
    return;
  }
  DeviceDescription& device = drawing().device;
  device.set_option(GrOption::OffsetX, 42);
  device.set_option(GrOption::OffsetY, -20);
  device.set_option(GrOption::Orientation, 1);
  device.set_option(GrOption::EndOfJob, 1);
  device.set_option(GrOption::PathLimit, 255);
}

void write_header() {
  PsState& s = ps();
  const DrawingState& state = drawing();
  s = PsState{};
  s.sx = driver_scale(state.device.width(), state.drawable.width);
  s.sy = driver_scale(state.device.height(), state.drawable.height);
  s.pending = current_colour();
  write_opening_comments();
  for (std::string_view prolog_line : kProlog) {
    write_line(prolog_line);
  }
  write_line("%%EndProlog");
  write_font_definitions();
  write_page_setup();
  s.page = 1;
  write_page_line(s.page);
}

void end_page(bool ends_job) {
  PsState& s = ps();
  finish_path();
  const DeviceDescription& device = drawing().device;
  if (!device.encapsulated()) {
    int copies = device.option(GrOption::Copies);
    copies = copies < 1 ? 1 : copies > 999 ? 999 : copies;
    LineBuffer line;
    line.add("/#copies ").add_int(copies).add(" def");
    write_line(line);
    write_line("gsave showpage grestore");
  }
  s.page_marked = false;
  if (!ends_job) {
    ++s.page;
    write_page_line(s.page);
  }
}

void write_trailer() {
  const DeviceDescription& device = drawing().device;
  if (ps().page_marked) {
    end_page(true);
  } else {
    finish_path();
  }
  write_line("%%EOF");
  if (!device.encapsulated()) {
    write_line("initgraphics");
    if (device.end_of_job()) {
      drawing().output.write(" \x04");
    }
  }
}

}  // namespace quill::postscript
