#include "graphics/cgm/cgm_encoder.hpp"

#include <cmath>

namespace quill::cgm {
namespace {

constexpr long kInt16Max = 32767;
constexpr long kInt16Min = -32768;

long clamp16(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value > static_cast<double>(kInt16Max)) {
    return kInt16Max;
  }
  if (value < static_cast<double>(kInt16Min)) {
    return kInt16Min;
  }
  // Values a rounding error below a whole number count as that number.
  return static_cast<long>(std::trunc(value + std::copysign(1e-6, value)));
}

}  // namespace

void Sink::write(std::string_view bytes) const {
  if (stream != nullptr) {
    stream->write(bytes);
  } else if (memory != nullptr) {
    memory->append(bytes);
  }
}

void Encoder::put_word(std::string& out, unsigned value) {
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
  out.push_back(static_cast<char>(value & 0xFF));
}

Encoder& Encoder::start(int element_class, int id) {
  class_ = element_class;
  id_ = id;
  params_.clear();
  return *this;
}

Encoder& Encoder::add_int(long value) {
  const long v = value > kInt16Max ? kInt16Max : value < kInt16Min ? kInt16Min : value;
  put_word(params_, static_cast<unsigned>(v) & 0xFFFFU);
  return *this;
}

Encoder& Encoder::add_vdc(double value) { return add_int(clamp16(value)); }

Encoder& Encoder::add_real(double value) {
  const double limited = std::isnan(value) ? 0.0 : std::fmax(-32768.0, std::fmin(32767.0, value));
  const double whole = std::floor(limited);
  const auto fraction = static_cast<unsigned>(std::fmin(65535.0, std::floor((limited - whole) * 65536.0)));
  put_word(params_, static_cast<unsigned>(static_cast<long>(whole)) & 0xFFFFU);
  put_word(params_, fraction);
  return *this;
}

Encoder& Encoder::add_colour(const Rgb& rgb) {
  params_.push_back(static_cast<char>(rgb.red));
  params_.push_back(static_cast<char>(rgb.green));
  params_.push_back(static_cast<char>(rgb.blue));
  return *this;
}

Encoder& Encoder::add_byte(std::uint8_t byte) {
  params_.push_back(static_cast<char>(byte));
  return *this;
}

Encoder& Encoder::add_string(std::string_view text) {
  const std::size_t n = text.size() < kMaxStringLength ? text.size() : kMaxStringLength;
  params_.push_back(static_cast<char>(n));
  params_.append(text.substr(0, n));
  return *this;
}

void Encoder::write_header(int length_field) {
  put_word(out_, static_cast<unsigned>((class_ << 12) | (id_ << 5) | length_field));
}

// Short form up to 30 parameter bytes; beyond, the long form, split into partitions of
// at most kPartitionMax bytes (bit 15 of a partition's length: more follow). The pad
// byte that keeps elements on even boundaries is not counted in any length.
void Encoder::finish() {
  out_.clear();
  const std::size_t length = params_.size();
  if (length <= kShortFormMax) {
    write_header(static_cast<int>(length));
    out_.append(params_);
  } else {
    write_header(31);
    std::size_t offset = 0;
    do {
      const std::size_t part = length - offset > kPartitionMax ? kPartitionMax : length - offset;
      const bool more = offset + part < length;
      put_word(out_, static_cast<unsigned>(part) | (more ? 0x8000U : 0U));
      out_.append(params_, offset, part);
      offset += part;
    } while (offset < length);
  }
  if (length % 2 != 0) {
    out_.push_back('\0');
  }
  sink_.write(out_);
}

}  // namespace quill::cgm
