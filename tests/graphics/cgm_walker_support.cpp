#include "cgm_walker.hpp"

#include <map>
#include <utility>

namespace quill::filetest {
namespace {

unsigned word_at(const std::string& bytes, std::size_t at) {
  return (static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) << 8) |
         static_cast<unsigned char>(bytes[at + 1]);
}

// Parameter lengths of the elements with a fixed length (class, id -> bytes).
const std::map<std::pair<int, int>, std::size_t>& fixed_lengths() {
  static const std::map<std::pair<int, int>, std::size_t> lengths = {
      {{0, 2}, 0},   {{0, 4}, 0},   {{0, 5}, 0},  {{1, 1}, 2},  {{1, 3}, 2},  {{1, 4}, 2},  {{1, 5}, 6},
      {{1, 6}, 2},   {{1, 7}, 2},   {{1, 10}, 6}, {{2, 2}, 2},  {{2, 3}, 2},  {{2, 5}, 2},  {{2, 6}, 8},
      {{2, 7}, 3},   {{3, 1}, 2},   {{3, 3}, 3},  {{3, 4}, 2},  {{3, 5}, 8},  {{3, 6}, 2},  {{4, 11}, 8},
      {{4, 17}, 12}, {{5, 2}, 2},   {{5, 3}, 2},  {{5, 4}, 3},  {{5, 10}, 2}, {{5, 14}, 3}, {{5, 15}, 2},
      {{5, 16}, 8},  {{5, 18}, 12}, {{5, 22}, 2}, {{5, 23}, 3}, {{5, 27}, 2}, {{5, 28}, 2}, {{5, 29}, 3},
      {{5, 12}, 4},  {{5, 30}, 2},  {{5, 37}, 4}, {{5, 38}, 2},
  };
  return lengths;
}

// Strings in the parameters of the elements that hold them: counts below 255, and
// together they fill the list (the text element's string follows point and flag).
void check_strings(const CgmElement& e, std::vector<std::string>& problems) {
  std::size_t at = 0;
  if (e.element_class == 4 && e.id == 4) {
    at = 6;
  } else if (!((e.element_class == 0 && (e.id == 1 || e.id == 3)) ||
               (e.element_class == 1 && (e.id == 2 || e.id == 13)))) {
    return;
  }
  while (at < e.params.size()) {
    const auto count = static_cast<unsigned char>(e.params[at]);
    if (count == 255) {
      problems.push_back("long string announced");
      return;
    }
    at += 1U + count;
  }
  if (at != e.params.size()) {
    problems.push_back("string overruns its element");
  }
}

void check_element(const CgmElement& e, std::vector<std::string>& problems) {
  const auto it = fixed_lengths().find({e.element_class, e.id});
  if (it != fixed_lengths().end() && it->second != e.params.size()) {
    problems.push_back("element " + std::to_string(e.element_class) + "," + std::to_string(e.id) + " has " +
                       std::to_string(e.params.size()) + " bytes");
  }
  if ((e.element_class == 4 && (e.id == 1 || e.id == 7)) && (e.params.size() % 4 != 0 || e.params.empty())) {
    problems.push_back("point list of odd length");
  }
  if (e.long_form && e.params.size() <= 30 && e.partitions == 1) {
    problems.push_back("long form for a short element");
  }
  check_strings(e, problems);
}

// Pictures: BEGIN METAFILE first, END METAFILE last, each picture begins, opens its body
// and ends; drawing elements only inside a picture body.
void check_structure(CgmWalk& walk) {
  enum class Where { Outside, Descriptor, Body } where = Where::Outside;
  const auto& es = walk.elements;
  if (es.empty() || es.front().element_class != 0 || es.front().id != 1) {
    walk.problems.push_back("does not begin with BEGIN METAFILE");
  }
  if (es.empty() || es.back().element_class != 0 || es.back().id != 2) {
    walk.problems.push_back("does not end with END METAFILE");
  }
  for (const CgmElement& e : es) {
    if (e.element_class == 0 && e.id == 3) {
      if (where != Where::Outside) walk.problems.push_back("picture begins inside a picture");
      where = Where::Descriptor;
      ++walk.pictures;
    } else if (e.element_class == 0 && e.id == 4) {
      if (where != Where::Descriptor) walk.problems.push_back("body begins outside a descriptor");
      where = Where::Body;
    } else if (e.element_class == 0 && e.id == 5) {
      if (where != Where::Body) walk.problems.push_back("picture ends outside a body");
      where = Where::Outside;
    } else if (e.element_class >= 4 && where != Where::Body) {
      walk.problems.push_back("drawing outside a picture body");
    } else if (e.element_class == 1 && where != Where::Outside) {
      walk.problems.push_back("metafile descriptor inside a picture");
    }
  }
  if (where != Where::Outside) {
    walk.problems.push_back("picture left open");
  }
}

}  // namespace

int CgmWalk::count(int element_class, int id) const {
  int n = 0;
  for (const CgmElement& e : elements) {
    n += e.element_class == element_class && e.id == id ? 1 : 0;
  }
  return n;
}

const CgmElement* CgmWalk::first(int element_class, int id) const {
  for (const CgmElement& e : elements) {
    if (e.element_class == element_class && e.id == id) {
      return &e;
    }
  }
  return nullptr;
}

int cgm_word(const std::string& params, std::size_t offset) {
  if (offset + 2 > params.size()) {
    return -999999;
  }
  return static_cast<short>(word_at(params, offset));
}

CgmWalk walk_cgm(const std::string& bytes) {
  CgmWalk walk;
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (at + 2 > bytes.size()) {
      walk.problems.push_back("truncated header");
      break;
    }
    const unsigned header = word_at(bytes, at);
    at += 2;
    CgmElement e;
    e.element_class = static_cast<int>(header >> 12);
    e.id = static_cast<int>((header >> 5) & 0x7F);
    std::size_t length = header & 0x1F;
    bool more = false;
    if (length == 31) {
      e.long_form = true;
      do {
        if (at + 2 > bytes.size()) {
          walk.problems.push_back("truncated partition length");
          return walk;
        }
        const unsigned word = word_at(bytes, at);
        at += 2;
        more = (word & 0x8000U) != 0;
        length = word & 0x7FFFU;
        if (more && length % 2 != 0) {
          walk.problems.push_back("odd partition before the last");
        }
        if (at + length > bytes.size()) {
          walk.problems.push_back("partition runs past the end");
          return walk;
        }
        e.params.append(bytes, at, length);
        at += length;
        ++e.partitions;
      } while (more);
    } else {
      if (at + length > bytes.size()) {
        walk.problems.push_back("parameters run past the end");
        return walk;
      }
      e.params.assign(bytes, at, length);
      at += length;
      e.partitions = 1;
    }
    if (e.params.size() % 2 != 0) {
      if (at >= bytes.size() || bytes[at] != '\0') {
        walk.problems.push_back("missing pad byte");
      }
      ++at;
    }
    check_element(e, walk.problems);
    walk.elements.push_back(std::move(e));
  }
  check_structure(walk);
  return walk;
}

}  // namespace quill::filetest
