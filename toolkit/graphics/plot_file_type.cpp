#include "graphics/plot_file_type.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "quill/image.hpp"

namespace quill {
namespace {

constexpr char kEscape = '\x1b';

bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool starts_with_blind(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
         });
}

std::string_view skip_blanks(std::string_view text) {
  const std::size_t at = text.find_first_not_of(" \t\r\n\f");
  return at == std::string_view::npos ? std::string_view{} : text.substr(at);
}

std::uint32_t le32(std::string_view text, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(text[at + i]);
  return value;
}

int postscript_type(std::string_view text) {
  const std::string_view first_line = text.substr(0, text.find_first_of("\r\n"));
  return first_line.find("EPSF") != std::string_view::npos ? PlotFileEps : PlotFilePostScript;
}

// An XML document whose first element is svg.
bool is_svg(std::string_view text) {
  while (true) {
    text = skip_blanks(text);
    if (starts_with(text, "<?") || starts_with(text, "<!--") || starts_with(text, "<!")) {
      const std::string_view close = starts_with(text, "<!--") ? "-->" : ">";
      const std::size_t end = text.find(close);
      if (end == std::string_view::npos) return false;
      text.remove_prefix(end + close.size());
      continue;
    }
    if (!starts_with(text, "<")) return false;
    text.remove_prefix(1);
    const std::size_t colon = text.find_first_of(": \t\r\n/>");
    if (colon != std::string_view::npos && text[colon] == ':')
      text.remove_prefix(colon + 1);  // a prefixed name
    return starts_with(text, "svg") && text.size() > 3 &&
           std::string_view(" \t\r\n/>").find(text[3]) != std::string_view::npos;
  }
}

// A DXF file in text form: group code 0 and SECTION, after any 999 comments.
bool is_text_dxf(std::string_view text) {
  const auto next_line = [&text]() {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    return line;
  };
  std::string_view code = next_line();
  while (code == "999") {
    next_line();
    code = next_line();
  }
  return code == "0" && next_line() == "SECTION";
}

// HP-GL instructions, and those of them only HP-GL/2 has.
constexpr std::string_view kHpglInstructions =
    "AA AC AD AF AH AP AR AS BF BL BP BR BZ CA CC CF CI CM CO CP CR CS CT CV DC DF DI DL DP DR DS DT DV EA "
    "EC EP ER "
    "ES EW FI FN FP FR FS FT GC GM GP IM IN IP IR IV IW KY LA LB LM LO LT MC MG MT NP NR OA OC OD OE OF OG "
    "OH OI OK OL "
    "OO OP OS OT OW PA PB PC PD PE PG PM PP PR PS PT PU PW QL RA RF RO RP RR RT SA SB SC SD SG SI SL SM SP "
    "SR SS ST SV "
    "TD TL TR UC UL VA VN VS WD WG WU XT YT ";
constexpr std::string_view kHpgl2Only = "BP BR BZ CO CR LA MC NP PC PE PP PW QL RF SB SD SV TR UL WU ";

bool listed(std::string_view list, std::string_view mnemonic) {
  for (std::size_t at = 0; at + 2 <= list.size(); at += 3) {
    if (list.substr(at, 2) == mnemonic) return true;
  }
  return false;
}

// Reads instructions from the start: 4 HP-GL, 5 HP-GL/2, 0 when the text is not HP-GL.
int hpgl_type(std::string_view text) {
  int instructions = 0;
  bool hpgl2 = false;
  char terminator = '\x03';
  std::size_t at = 0;
  const auto skip_to = [&](char end) {
    const std::size_t found = text.find(end, at);
    at = found == std::string_view::npos ? text.size() : found + 1;
  };
  while (at < text.size()) {
    const char c = text[at];
    if (std::string_view(" \t\r\n;,").find(c) != std::string_view::npos) {
      ++at;
      continue;
    }
    if (c == kEscape && at + 2 < text.size() && text[at + 1] == '.') {  // a plotter's device control
      at += 3;
      while (at < text.size() && (std::isdigit(static_cast<unsigned char>(text[at])) != 0 || text[at] == ';'))
        ++at;
      if (at < text.size() && text[at] == ':') ++at;
      continue;
    }
    if (at + 1 >= text.size() || std::isalpha(static_cast<unsigned char>(c)) == 0 ||
        std::isalpha(static_cast<unsigned char>(text[at + 1])) == 0) {
      break;
    }
    const std::array<char, 2> pair = {
        static_cast<char>(std::toupper(static_cast<unsigned char>(c))),
        static_cast<char>(std::toupper(static_cast<unsigned char>(text[at + 1])))};
    const std::string_view mnemonic(pair.data(), 2);
    if (!listed(kHpglInstructions, mnemonic)) break;
    ++instructions;
    hpgl2 = hpgl2 || listed(kHpgl2Only, mnemonic);
    at += 2;
    if (mnemonic == "LB") {
      skip_to(terminator);
    } else if (mnemonic == "PE") {
      skip_to(';');
    } else if (mnemonic == "DT" && at < text.size() && text[at] != ';') {
      terminator = text[at++];
    } else {
      while (at < text.size()) {
        const char p = text[at];
        if (p == '"') {
          ++at;
          skip_to('"');
        } else if (std::isdigit(static_cast<unsigned char>(p)) != 0 ||
                   std::string_view("+-. ,\t\r\n").find(p) != std::string_view::npos) {
          ++at;
        } else {
          break;
        }
      }
    }
  }
  if (instructions < 2) return PlotFileUnknown;
  return hpgl2 ? PlotFileHpgl2 : PlotFileHpgl;
}

// A file that begins with a printer command: HP-GL/2 inside PCL, or PostScript after PJL.
int framed_type(std::string_view text) {
  for (std::size_t at = text.find("\x1b%"); at != std::string_view::npos; at = text.find("\x1b%", at + 1)) {
    std::size_t end = at + 2;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) != 0) ++end;
    if (end < text.size() && end > at + 2 && text[end] == 'B') return PlotFileHpgl2Pcl;
  }
  const std::size_t postscript = text.find("%!PS");
  if (postscript != std::string_view::npos && text.find("@PJL") != std::string_view::npos) {
    return postscript_type(text.substr(postscript));
  }
  return PlotFileUnknown;
}

}  // namespace

int detect_plot_file_type(std::span<const std::uint8_t> head) {
  std::string_view text(reinterpret_cast<const char*>(head.data()), std::min(head.size(), kPlotFileHead));
  if (starts_with(text, "\x89PNG\r\n\x1a\n")) return PlotFilePng;
  if (text.size() >= 18 && starts_with(text, "BM")) {
    const std::uint32_t header = le32(text, 14);
    if (header == 12 || header == 40 || header == 52 || header == 56 || header == 64 || header == 108 ||
        header == 124) {
      return PlotFileBmp;
    }
  }
  if (text.size() >= 44 && le32(text, 0) == 1 && text.substr(40, 4) == " EMF") return PlotFileEmf;
  if (text.size() >= 128 && text[0] == 10 &&
      std::string_view("\0\2\3\4\5", 5).find(text[1]) != std::string_view::npos &&
      (text[2] == 0 || text[2] == 1) &&
      std::string_view("\1\2\4\x8", 4).find(text[3]) != std::string_view::npos) {
    return PlotFilePcx;
  }
  if (starts_with(text, "\xC5\xD0\xD3\xC6")) return PlotFileEps;  // PostScript behind a binary header
  if (starts_with(text, std::string_view("AutoCAD Binary DXF\r\n\x1a\0", 22))) return PlotFileDxf;
  // Binary CGM opens with BEGIN METAFILE: class 0, element 1.
  if (text.size() >= 2 && text[0] == 0 && (static_cast<unsigned char>(text[1]) & 0xE0U) == 0x20U)
    return PlotFileCgm;
  if (starts_with(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
  if (starts_with(text, "%!")) return postscript_type(text);
  if (!text.empty() && text[0] == kEscape && (text.size() < 2 || text[1] != '.')) return framed_type(text);
  const std::string_view body = skip_blanks(text);
  if (starts_with(body, "<")) return is_svg(body) ? PlotFileSvg : PlotFileUnknown;
  if (starts_with_blind(body, "BEGMF")) return PlotFileCgm;  // clear-text CGM
  if (is_text_dxf(text)) return PlotFileDxf;
  return hpgl_type(text);
}

}  // namespace quill
