#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "editor/text_document.hpp"
#include "editor/text_store.hpp"

namespace {

using quill::Motion;
using quill::TextDocument;
using quill::TextEncoding;
using quill::TextStore;

// The line starts of text, counted the slow way.
std::vector<std::size_t> starts_of(const std::u16string& text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') starts.push_back(i + 1);
  }
  return starts;
}

void expect_matches(TextStore& store, const std::u16string& model) {
  ASSERT_EQ(store.whole(), model);
  const auto starts = starts_of(model);
  ASSERT_EQ(store.line_count(), starts.size());
  for (std::size_t line = 0; line < starts.size(); ++line) {
    ASSERT_EQ(store.line_start(line), starts[line]) << line;
    ASSERT_EQ(store.line_of(starts[line]), line);
  }
  ASSERT_EQ(store.line_of(model.size()), starts.size() - 1);
}

// Random replacements anywhere, checked against a plain string after each one; the gap
// moves about, grows, and line ends come and go.
TEST(TextStore, EditsAgreeWithAPlainString) {
  std::mt19937 random(7);
  std::u16string model = u"first\rsecond\r\rfourth";
  TextStore store;
  store.assign(model);
  const std::u16string pieces[] = {u"", u"x", u"\r", u"ab\rcd", u"\r\r", std::u16string(5000, u'y') + u"\r"};
  for (int round = 0; round < 400; ++round) {
    const std::size_t from = random() % (model.size() + 1);
    const std::size_t to = from + random() % (std::min<std::size_t>(model.size() - from, 40) + 1);
    const std::u16string& piece = pieces[random() % std::size(pieces)];
    model.replace(from, to - from, piece);
    store.replace(from, to, piece);
    char16_t probe = 0;
    if (!model.empty()) {
      const std::size_t at = random() % model.size();
      store.copy(at, at + 1, &probe);
      ASSERT_EQ(probe, model[at]);
      ASSERT_EQ(store.at(at), model[at]);
    }
    if (round % 20 == 0) expect_matches(store, model);
  }
  expect_matches(store, model);
  EXPECT_GE(store.widest_line(), 5000u);
}

// A file's bytes taken as they are read agree with the same bytes decoded whole: units,
// lines, encoding, bytes written, search; then with edits (the first edit in a run turns it
// into units) against a plain string. Pieces are 64 KB, so the long files cross several.
TEST(TextStore, FileBytesAgreeWithTheDecodedText) {
  std::string crlf, lf, late_utf8, late_bytes;
  for (int i = 0; i < 9000; ++i) {
    const std::string line = "line " + std::to_string(i) + " the Quick fox";
    crlf += line + "\r\n";
    lf += line + "\n";
  }
  late_utf8 = crlf + "caf\xC3\xA9\r\n" + crlf;
  late_bytes = lf + "caf\xE9\n" + crlf + std::string("x\0y\rz", 5);
  const std::string files[] = {crlf, lf, late_utf8, late_bytes, "a\r\nb\nc", "\r", "", "no end"};
  const std::u16string needles[] = {u"quick", u"Quick fox\rline", u"caf\u00E9", u"8999 the", u"line 1 "};
  for (const std::string& file : files) {
    TextEncoding expected{}, got{};
    std::u16string model = quill::decode_text(file, expected);
    TextStore store;
    store.assign_bytes(std::make_shared<std::string>(file), file, got);
    ASSERT_EQ(got, expected);
    expect_matches(store, model);
    ASSERT_EQ(store.encode(got), quill::encode_text(model, got));
    std::mt19937 random(static_cast<unsigned>(file.size()));
    for (int round = 0; round < 60; ++round) {
      const std::u16string& needle = needles[random() % std::size(needles)];
      const int options = static_cast<int>(random() % 8);
      const std::size_t from = random() % (model.size() + 1);
      ASSERT_EQ(store.find(needle, from, options), quill::find_text(model, needle, from, options))
          << round << " " << options << " " << from;
      if (round % 3 != 0) continue;
      const std::size_t at = random() % (model.size() + 1);
      const std::size_t to = at + random() % (std::min<std::size_t>(model.size() - at, 70000) + 1);
      const std::u16string piece = round % 2 == 0 ? u"" : u"new\rtext";
      model.replace(at, to - at, piece);
      store.replace(at, to, piece);
      if (round % 15 == 0) store.own_bytes();
      if (!model.empty()) {
        ASSERT_EQ(store.at(at % model.size()), model[at % model.size()]);
      }
    }
    expect_matches(store, model);
    EXPECT_EQ(store.encode(got), quill::encode_text(model, got));
  }
}

TEST(TextStore, LineEndsAndWidestLine) {
  TextStore store;
  store.assign(u"ab\rcdef\r");
  EXPECT_EQ(store.line_count(), 3u);
  EXPECT_EQ(store.line_end(1), 7u);
  EXPECT_EQ(store.line_end(2), 8u);
  EXPECT_EQ(store.widest_line(), 4u);
  EXPECT_EQ(store.text(1, 4), u"b\rc");
  struct Case {
    std::u16string in, out;
  };
  const Case cases[] = {{u"a\r\nb", u"a\rb"}, {u"a\nb\n", u"a\rb\r"}, {u"\r\r\n\n", u"\r\r\r"}, {u"", u""}};
  for (const Case& c : cases) EXPECT_EQ(quill::with_return_line_ends(c.in), c.out);
}

TEST(TextDocument, TypingUndoesAsOneStepPerLine) {
  TextDocument doc;
  doc.set_text(u"end");
  for (char16_t c : std::u16string(u"ab")) doc.replace_selection(std::u16string(1, c), true, true);
  doc.replace_selection(u"\r", true, true);
  doc.replace_selection(u"c", true, true);
  EXPECT_EQ(doc.store().whole(), u"ab\rcend");
  EXPECT_TRUE(doc.modified);
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.store().whole(), u"ab\rend");
  ASSERT_TRUE(doc.undo());  // the line end, typed with "ab"
  EXPECT_EQ(doc.store().whole(), u"end");
  EXPECT_FALSE(doc.undo());
  // A caret moved elsewhere starts a new step; a replaced selection comes back selected.
  doc.select(0, 3);
  doc.replace_selection(u"new");
  doc.select(3, 3);
  doc.replace_selection(u"!", true, true);
  doc.undo();
  doc.undo();
  EXPECT_EQ(doc.store().whole(), u"end");
  EXPECT_EQ(doc.selection_begin(), 0u);
  EXPECT_EQ(doc.selection_end(), 3u);
  // A change that cannot be undone forgets the older ones, whose places no longer hold.
  doc.replace_selection(u"x", false);
  EXPECT_FALSE(doc.can_undo());
}

TEST(TextDocument, ErasingTakesLineEndsAndSurrogatePairsWhole) {
  TextDocument doc;
  doc.set_text(u"a\r\U0001F600b");
  struct Case {
    std::size_t caret;
    bool backward;
    std::u16string left;
  };
  const Case cases[] = {
      {2, true, u"a\U0001F600b"}, {1, false, u"a\U0001F600b"},  {4, true, u"a\rb"},
      {2, false, u"a\rb"},        {0, true, u"a\r\U0001F600b"}, {5, false, u"a\r\U0001F600b"},
  };
  for (const Case& c : cases) {
    doc.set_text(u"a\r\U0001F600b");
    doc.select(c.caret, c.caret);
    c.backward ? doc.erase_backward() : doc.erase_forward();
    EXPECT_EQ(doc.store().whole(), c.left) << c.caret << c.backward;
  }
  doc.select(3, 3);  // inside the pair: kept off it
  EXPECT_EQ(doc.caret(), 2u);
}

// Moves from a caret: tabs count to the next multiple of 8, Up and Down keep the column
// they started from across a short line.
TEST(TextDocument, CaretMovesByKey) {
  TextDocument doc;
  const std::u16string text = u"\tx = 1\rab\rlonger line here\rend";
  struct Case {
    std::size_t from;
    Motion motion;
    int times;
    std::size_t to;
  };
  const Case cases[] = {
      {13, Motion::Up, 1, 9},     // "longer" column 3 -> "ab" end
      {13, Motion::Up, 2, 0},     // column 3 lies in the tab's first half: before it
      {3, Motion::Down, 2, 20},   // column 10 via "ab" to column 10 of "longer..."
      {13, Motion::Down, 2, 30},  // the last line's end, then Down on it goes to the end
      {13, Motion::LineStart, 1, 10}, {13, Motion::LineEnd, 1, 26}, {13, Motion::TextStart, 1, 0},
      {0, Motion::TextEnd, 1, 30},    {13, Motion::PageUp, 1, 0},   {2, Motion::PageDown, 1, 30},
      {0, Motion::Left, 1, 0},        {9, Motion::Right, 1, 10},
  };
  for (const Case& c : cases) {
    doc.set_text(text);
    doc.select(c.from, c.from);
    for (int i = 0; i < c.times; ++i) doc.move(c.motion, false, 3);
    EXPECT_EQ(doc.caret(), c.to) << c.from << " " << static_cast<int>(c.motion);
  }
  doc.select(13, 13);
  doc.move(Motion::Right, true, 3);
  doc.move(Motion::Right, true, 3);
  EXPECT_EQ(doc.anchor(), 13u);
  doc.move(Motion::Left, false, 3);
  EXPECT_EQ(doc.caret(), 13u) << "Left without Shift goes to the selection's start";
  EXPECT_EQ(doc.column_of(3), 10u);
  EXPECT_EQ(doc.position_at(0, 5), 1u);
  EXPECT_EQ(doc.position_at(0, 3), 0u);
}

// Ctrl+Left and Right and a double click over words, blanks, marks and line ends.
TEST(TextDocument, WordsByKeyAndClick) {
  const std::u16string text = u"int x = f(a_1);  \r\r  end";
  // positions: "int" 0, "x" 4, "f" 8, "(" 9, "a_1" 10, ");" 13, line ends 17 and 18, "end" 21
  TextDocument doc;
  doc.set_text(text);
  struct Case {
    std::size_t from;
    Motion motion;  // Left stands for a double click here
    std::size_t anchor, caret;
  };
  const Case cases[] = {
      {0, Motion::WordRight, 4, 4},    {1, Motion::WordRight, 4, 4},    {4, Motion::WordRight, 6, 6},
      {8, Motion::WordRight, 9, 9},    {13, Motion::WordRight, 17, 17}, {17, Motion::WordRight, 18, 18},
      {18, Motion::WordRight, 19, 19}, {19, Motion::WordRight, 21, 21}, {24, Motion::WordRight, 24, 24},
      {24, Motion::WordLeft, 21, 21},  {21, Motion::WordLeft, 19, 19},  {19, Motion::WordLeft, 18, 18},
      {18, Motion::WordLeft, 17, 17},  {17, Motion::WordLeft, 13, 13},  {10, Motion::WordLeft, 9, 9},
      {4, Motion::WordLeft, 0, 0},     {0, Motion::WordLeft, 0, 0},     {11, Motion::Left, 10, 13},
      {16, Motion::Left, 15, 17},      {17, Motion::Left, 15, 17},      {18, Motion::Left, 18, 18},
      {24, Motion::Left, 21, 24},      {9, Motion::Left, 9, 10},
  };
  for (const Case& c : cases) {
    doc.select(c.from, c.from);
    if (c.motion == Motion::Left)
      doc.select_word(c.from);
    else
      doc.move(c.motion, false, 1);
    EXPECT_EQ(doc.anchor(), c.anchor) << c.from << " " << static_cast<int>(c.motion);
    EXPECT_EQ(doc.caret(), c.caret) << c.from << " " << static_cast<int>(c.motion);
  }
  doc.select(4, 4);
  doc.move(Motion::WordRight, true, 1);
  doc.move(Motion::WordRight, true, 1);
  EXPECT_EQ(doc.selection_begin(), 4u);
  EXPECT_EQ(doc.selection_end(), 8u) << "Shift extends the selection word by word";
}

// Redo makes undone changes again in order, and any new change ends it.
TEST(TextDocument, RedoFollowsUndo) {
  TextDocument doc;
  doc.set_text(u"one two");
  doc.select(0, 3);
  doc.replace_selection(u"1");
  doc.select(2, 5);
  doc.replace_selection(u"2\r2");
  ASSERT_EQ(doc.store().whole(), u"1 2\r2");
  EXPECT_FALSE(doc.redo());
  ASSERT_TRUE(doc.undo());
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.store().whole(), u"one two");
  ASSERT_TRUE(doc.redo());
  EXPECT_EQ(doc.store().whole(), u"1 two");
  EXPECT_EQ(doc.caret(), 1u);
  ASSERT_TRUE(doc.redo());
  EXPECT_EQ(doc.store().whole(), u"1 2\r2");
  EXPECT_EQ(doc.store().line_count(), 2u);
  EXPECT_FALSE(doc.redo());
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.store().whole(), u"1 two");
  EXPECT_EQ(doc.selection_begin(), 2u);
  EXPECT_EQ(doc.selection_end(), 5u);
  doc.replace_selection(u"x");
  EXPECT_FALSE(doc.can_redo());
}

}  // namespace
