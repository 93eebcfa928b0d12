// Binary CGM element encoding: 16-bit big-endian command headers, short and long forms
// with partitions, integer and fixed-point parameters, direct colours and strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/drawing_state.hpp"

namespace quill::cgm {

inline constexpr std::size_t kShortFormMax = 30;
inline constexpr std::size_t kPartitionMax = 32766;   // even, below the 15-bit limit
inline constexpr std::size_t kMaxStringLength = 254;  // a count of 255 announces a long string

// Where finished elements go: the hardcopy's output stream or a memory buffer.
struct Sink {
  OutputStream* stream = nullptr;
  std::string* memory = nullptr;
  void write(std::string_view bytes) const;
};

class Encoder {
 public:
  void set_sink(Sink sink) { sink_ = sink; }

  // Starts an element; parameters follow; finish() writes it with its length.
  Encoder& start(int element_class, int id);
  Encoder& add_int(long value);    // 16-bit signed, clamped
  Encoder& add_vdc(double value);  // truncated, clamped to 16 bits; NaN gives 0
  Encoder& add_point(double x, double y) { return add_vdc(x).add_vdc(y); }
  Encoder& add_real(double value);      // fixed point, 16 bits whole and 16 fraction
  Encoder& add_colour(const Rgb& rgb);  // three bytes at colour precision 8
  Encoder& add_byte(std::uint8_t byte);
  Encoder& add_string(std::string_view text);  // count byte and at most 254 characters
  void finish();
  std::size_t parameter_length() const { return params_.size(); }

 private:
  void write_header(int length_field);
  void put_word(std::string& out, unsigned value);

  Sink sink_;
  int class_ = 0, id_ = 0;
  std::string params_;
  std::string out_;
};

}  // namespace quill::cgm
