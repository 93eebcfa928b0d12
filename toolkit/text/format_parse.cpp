// Format text to FormatProgram. The parser only fills the structure; it never writes.
#include <cctype>
#include <climits>

#include "text/format.hpp"

namespace quill {
namespace {

// Reads the format text; blanks outside literals are insignificant.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  // The next significant character, upper-cased, or 0 at the end.
  char peek() {
    skip_blanks();
    return at_end() ? '\0' : upper(text_[pos_]);
  }
  char next() {
    const char c = peek();
    if (!at_end()) ++pos_;
    return c;
  }
  bool accept(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  bool peek_digit() {
    const char c = peek();
    return c >= '0' && c <= '9';
  }
  // An unsigned number; false when there is none or it is too large.
  bool number(std::int32_t& value) {
    if (!peek_digit()) return false;
    long long n = 0;
    while (peek_digit()) {
      n = n * 10 + (text_[pos_] - '0');
      ++pos_;
      if (n > 100000000) return false;
    }
    value = static_cast<std::int32_t>(n);
    return true;
  }
  // Raw access for literals and Hollerith text, where blanks are data.
  bool at_end() const { return pos_ >= text_.size(); }
  char raw_next() { return text_[pos_++]; }
  char raw_peek() const { return text_[pos_]; }

 private:
  static char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
  void skip_blanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

class Parser {
 public:
  Parser(std::string_view text, FormatProgram& program) : in_(text), out_(program) {}

  bool run() {
    out_.count = 0;
    out_.literal_size = 0;
    out_.reversion_start = 0;
    out_.has_data_edit = false;
    if (!in_.accept('(')) return false;
    for (;;) {
      const char c = in_.peek();
      if (c == '\0') return false;
      if (c == ')') {
        in_.next();
        if (need_item_ && !after_comma_) return false;  // empty group
        if (depth_ == 0) break;
        if (!close_group()) return false;
        continue;
      }
      if (c == ',') {
        in_.next();
        if (need_item_) return false;
        need_item_ = true;
        after_comma_ = true;
        continue;
      }
      if (!item(c)) return false;
    }
    finish();
    return true;
  }

 private:
  // The ")" of an inner group: its GroupClose, linked with its GroupOpen.
  bool close_group() {
    --depth_;
    const int open = open_index_[depth_];
    FormatItem close;
    close.edit = Edit::GroupClose;
    close.partner = open;
    if (!add(close)) return false;
    out_.items[static_cast<std::size_t>(open)].partner = out_.count - 1;
    if (depth_ == 0) last_top_group_ = open;
    need_item_ = false;
    after_comma_ = false;
    return true;
  }

  // One list item starting at c: an optionally signed or repeated scale factor, group,
  // literal, Hollerith text, "/", ":", nX or edit descriptor.
  bool item(char c) {
    std::int32_t repeat = 1;
    bool has_repeat = false;
    bool negative = false;
    bool has_sign = false;
    if (c == '+' || c == '-') {
      in_.next();
      has_sign = true;
      negative = c == '-';
      if (!in_.peek_digit()) return false;
    }
    if (in_.peek_digit()) {
      if (!in_.number(repeat)) return false;
      has_repeat = true;
    }
    const char d = in_.peek();
    // A number straight after a scale factor is a repeat count, never zero.
    if (after_scale_ && has_repeat && repeat == 0) return false;
    if (has_repeat && d == 'P') return scale_factor(negative ? -repeat : repeat);
    if (has_sign) return false;
    if (has_repeat && repeat == 0) return false;
    const bool scale_pending = after_scale_ && !has_repeat;
    after_scale_ = false;
    if (d == '(') return open_group(repeat);
    if (scale_pending && (d == '\'' || d == '"' || d == '/' || d == ':' || d == '(')) return false;
    if (!unparenthesised_item(d, has_repeat, repeat, scale_pending)) return false;
    need_item_ = false;
    after_comma_ = false;
    return true;
  }

  // kP: without a comma, a scale factor must run straight into F, E, EN, ES, D or G.
  bool scale_factor(std::int32_t k) {
    in_.next();
    FormatItem item;
    item.edit = Edit::P;
    item.w = k;
    if (!add(item)) return false;
    const char following = in_.peek();
    if (following != ',' && following != ')' && following != 'F' && following != 'E' && following != 'D' &&
        following != 'G' && !(following >= '0' && following <= '9')) {
      return false;
    }
    need_item_ = false;
    after_comma_ = false;
    after_scale_ = following != ',';
    return true;
  }

  bool open_group(std::int32_t repeat) {
    in_.next();
    if (depth_ >= FormatProgram::kMaxDepth) return false;
    FormatItem open;
    open.edit = Edit::GroupOpen;
    open.repeat = repeat;
    if (!add(open)) return false;
    open_index_[depth_++] = out_.count - 1;
    need_item_ = true;
    after_comma_ = false;
    return true;
  }

  bool unparenthesised_item(char d, bool has_repeat, std::int32_t repeat, bool scale_pending) {
    if (d == '\'' || d == '"') return !has_repeat && literal();
    if (d == 'H' && has_repeat) {
      in_.next();
      return hollerith(repeat);
    }
    if (d == '/') {
      in_.next();
      FormatItem item;
      item.edit = Edit::Slash;
      item.repeat = repeat;
      return add(item);
    }
    if (d == ':') {
      if (has_repeat) return false;
      in_.next();
      FormatItem item;
      item.edit = Edit::Colon;
      return add(item);
    }
    if (d == 'X' && has_repeat) {
      in_.next();
      FormatItem item;
      item.edit = Edit::X;
      item.w = repeat;
      return add(item);
    }
    if (!descriptor(has_repeat, repeat)) return false;
    // Straight after a scale factor only a real data edit descriptor may follow.
    if (!scale_pending) return true;
    const Edit edit = out_.items[static_cast<std::size_t>(out_.count - 1)].edit;
    return edit == Edit::F || edit == Edit::E || edit == Edit::EN || edit == Edit::ES || edit == Edit::D ||
           edit == Edit::G;
  }

  void finish() {
    out_.reversion_start = last_top_group_ >= 0 ? last_top_group_ : 0;
    for (int i = 0; i < out_.count; ++i) {
      if (is_data_edit(out_.items[static_cast<std::size_t>(i)].edit)) out_.has_data_edit = true;
    }
  }

  bool add(const FormatItem& item) {
    if (out_.count >= FormatProgram::kMaxItems) return false;
    out_.items[static_cast<std::size_t>(out_.count++)] = item;
    return true;
  }

  bool put_literal_char(char c) {
    if (out_.literal_size >= FormatProgram::kMaxLiteral) return false;
    out_.literals[static_cast<std::size_t>(out_.literal_size++)] = c;
    return true;
  }

  // A quoted literal; a doubled quote stands for one quote character.
  bool literal() {
    const char quote = in_.next();
    FormatItem item;
    item.edit = Edit::Literal;
    item.literal_begin = out_.literal_size;
    for (;;) {
      if (in_.at_end()) return false;
      const char c = in_.raw_next();
      if (c == quote) {
        if (!in_.at_end() && in_.raw_peek() == quote) {
          in_.raw_next();
        } else {
          break;
        }
      }
      if (!put_literal_char(c)) return false;
    }
    item.literal_size = out_.literal_size - item.literal_begin;
    return add(item);
  }

  bool hollerith(std::int32_t n) {
    FormatItem item;
    item.edit = Edit::Literal;
    item.literal_begin = out_.literal_size;
    for (std::int32_t i = 0; i < n; ++i) {
      if (in_.at_end()) return false;
      if (!put_literal_char(in_.raw_next())) return false;
    }
    item.literal_size = n;
    return add(item);
  }

  // The descriptor letters after an optional repeat count.
  bool descriptor(bool has_repeat, std::int32_t repeat) {
    const char c = in_.next();
    FormatItem item;
    item.repeat = repeat;
    auto control = [&](Edit edit) {
      if (has_repeat) return false;
      item.edit = edit;
      return add(item);
    };
    switch (c) {
      case 'I': item.edit = Edit::I; return integer_edit(item);
      case 'O': item.edit = Edit::O; return integer_edit(item);
      case 'Z': item.edit = Edit::Z; return integer_edit(item);
      case 'B':
        if (in_.accept('N')) return control(Edit::BN);
        if (in_.accept('Z')) return control(Edit::BZ);
        item.edit = Edit::B;
        return integer_edit(item);
      case 'F': item.edit = Edit::F; return real_edit(item, false);
      case 'E':
        if (in_.accept('N')) {
          item.edit = Edit::EN;
          return real_edit(item, true);
        }
        if (in_.accept('S')) {
          item.edit = Edit::ES;
          return real_edit(item, true);
        }
        item.edit = Edit::E;
        return real_edit(item, true);
      case 'D':
        if (in_.accept('C')) return control(Edit::DC);
        if (in_.accept('P')) return control(Edit::DP);
        item.edit = Edit::D;
        return real_edit(item, false);
      case 'G': item.edit = Edit::G; return general_edit(item);
      case 'L':
        item.edit = Edit::L;
        if (!in_.number(item.w)) return false;
        return add(item);
      case 'A':
        item.edit = Edit::A;
        item.w = -1;
        if (in_.peek_digit()) {
          if (!in_.number(item.w) || item.w == 0) return false;
        }
        return add(item);
      case 'X':
        item.edit = Edit::X;  // a bare X moves one position
        item.w = 1;
        return has_repeat ? false : add(item);
      case 'T': {
        if (has_repeat) return false;
        item.edit = in_.accept('L') ? Edit::TL : (in_.accept('R') ? Edit::TR : Edit::T);
        if (!in_.number(item.w) || item.w == 0) return false;
        item.repeat = 1;
        return add(item);
      }
      case 'S':
        if (in_.accept('P')) return control(Edit::SP);
        if (in_.accept('S')) return control(Edit::SS);
        return control(Edit::S);
      case 'R': {
        const char r = in_.next();
        switch (r) {
          case 'N': return control(Edit::RN);
          case 'Z': return control(Edit::RZ);
          case 'U': return control(Edit::RU);
          case 'D': return control(Edit::RD);
          case 'C': return control(Edit::RC);
          case 'P': return control(Edit::RP);
          default: return false;
        }
      }
      default: return false;
    }
  }

  // Iw[.m], Bw[.m], Ow[.m], Zw[.m]; m may not exceed a nonzero w.
  bool integer_edit(FormatItem& item) {
    if (!in_.number(item.w)) return false;
    if (in_.accept('.')) {
      if (!in_.number(item.d)) return false;
      item.has_d = true;
      if (item.w > 0 && item.d > item.w) return false;
    }
    return add(item);
  }

  // Fw.d, Ew.d[Ee], ENw.d[Ee], ESw.d[Ee], Dw.d; each also in the zero-width form.
  bool real_edit(FormatItem& item, bool exponent_allowed) {
    if (!in_.number(item.w)) return false;
    if (!in_.accept('.')) return false;
    if (!in_.number(item.d)) return false;
    item.has_d = true;
    if (exponent_allowed && in_.peek() == 'E') {
      in_.next();
      if (!in_.number(item.e)) return false;
      item.has_e = true;
    }
    return add(item);
  }

  // G0, G0.d, Gw.d, Gw.dEe.
  bool general_edit(FormatItem& item) {
    if (!in_.number(item.w)) return false;
    if (in_.peek() == '.') {
      in_.next();
      if (!in_.number(item.d)) return false;
      item.has_d = true;
      if (in_.peek() == 'E') {
        in_.next();
        if (!in_.number(item.e)) return false;
        item.has_e = true;
      }
    } else if (item.w != 0) {
      return false;
    }
    return add(item);
  }

  Cursor in_;
  // State of the item list being read.
  int depth_ = 0;
  int open_index_[FormatProgram::kMaxDepth] = {};
  int last_top_group_ = -1;
  bool need_item_ = true;  // just after "(" or ",": an item (or ")" only after ",") must come
  bool after_comma_ = false;
  bool after_scale_ = false;  // just after kP with no comma
  FormatProgram& out_;
};

}  // namespace

bool parse_format(std::string_view text, FormatProgram& program) {
  Parser parser(text, program);
  if (parser.run()) return true;
  program.count = 0;
  return false;
}

}  // namespace quill
