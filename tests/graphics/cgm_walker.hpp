// A reader of binary CGM for the tests: splits a file into elements, checking every
// header, long-form partition, pad byte and string count, and the nesting of pictures.
#pragma once

#include <string>
#include <vector>

namespace quill::filetest {

struct CgmElement {
  int element_class = 0, id = 0;
  std::string params;
  bool long_form = false;
  int partitions = 0;
};

struct CgmWalk {
  std::vector<CgmElement> elements;
  std::vector<std::string> problems;  // empty for a sound file
  int pictures = 0;
  int count(int element_class, int id) const;
  const CgmElement* first(int element_class, int id) const;
};

CgmWalk walk_cgm(const std::string& bytes);
// 16-bit signed word at offset of an element's parameters.
int cgm_word(const std::string& params, std::size_t offset);

}  // namespace quill::filetest
