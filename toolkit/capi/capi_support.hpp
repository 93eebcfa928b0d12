// Argument conversions of the C interface: C pointers and lengths to the C++ routines'
// views, spans and optionals. A null pointer or a negative length is an empty text.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "quill.h"
#include "quill/events.hpp"

namespace quill::capi {

inline std::size_t length(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

inline std::string_view text(const char* p, int n) {
  return p != nullptr ? std::string_view(p, length(n)) : std::string_view();
}

inline std::optional<std::string_view> optional_text(const char* p, int n) {
  return p != nullptr ? std::optional<std::string_view>(text(p, n)) : std::nullopt;
}

inline std::span<char> result(char* p, int n) {
  return p != nullptr ? std::span<char>(p, length(n)) : std::span<char>();
}

template <typename T>
std::optional<T> optional(const T* p) {
  return p != nullptr ? std::optional<T>(*p) : std::nullopt;
}

template <typename T>
std::span<const T> array(const T* p, int n) {
  return p != nullptr ? std::span<const T>(p, length(n)) : std::span<const T>();
}

template <typename T>
std::span<T> out_array(T* p, int n) {
  return p != nullptr ? std::span<T>(p, length(n)) : std::span<T>();
}

// The event record of quill.h has the C++ record's layout word for word.
static_assert(sizeof(quill_EventRecord) == sizeof(EventRecord));
inline EventRecord& event(quill_EventRecord* record) { return *reinterpret_cast<EventRecord*>(record); }

// count fixed-length elements of len bytes each, trailing blanks left out.
class Texts {
 public:
  Texts(const char* p, int len, int count) {
    for (std::size_t i = 0; p != nullptr && i < length(count); ++i) {
      std::string_view element(p + i * length(len), length(len));
      const std::size_t end = element.find_last_not_of(' ');
      views_.push_back(element.substr(0, end == std::string_view::npos ? 0 : end + 1));
    }
  }
  std::span<const std::string_view> views() const { return views_; }

 private:
  std::vector<std::string_view> views_;
};

// Strings for a routine to fill, copied blank-padded into count elements of len bytes
// when the call returns.
class TextResults {
 public:
  TextResults(char* p, int len, int count)
      : target_(p), len_(length(len)), strings_(p != nullptr ? length(count) : 0) {}
  TextResults(const TextResults&) = delete;
  TextResults& operator=(const TextResults&) = delete;
  ~TextResults() {
    for (std::size_t i = 0; i < strings_.size(); ++i) {
      char* element = target_ + i * len_;
      const std::size_t n = std::min(len_, strings_[i].size());
      std::memcpy(element, strings_[i].data(), n);
      std::memset(element + n, ' ', len_ - n);
    }
  }
  std::span<std::string> strings() { return strings_; }

 private:
  char* target_;
  std::size_t len_;
  std::vector<std::string> strings_;
};

}  // namespace quill::capi
