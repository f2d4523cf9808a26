// A little-endian reader over one part of a metafile: its headers or the parameters of one record.
// Running past the part's end, and every fault found in it, raise an error that names the part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/AppError.h"

namespace wmf {

using TByteSpan = std::span<const std::uint8_t>;

class TCursor {
 public:
  // Over the headers at the start of a file; running short raises WmfHeaderTooShort.
  static TCursor Headers(TByteSpan data);
  // Over the parameters of the record called name that starts at offset in the file; running
  // short raises WmfRecordTooShort, and every fault names the record.
  static TCursor Record(TByteSpan data, const std::string& name, std::size_t offset);

  std::size_t Left() const { return data_.size() - pos_; }
  std::uint8_t U8() { return Take(1)[0]; }
  std::uint16_t U16() {
    TByteSpan b = Take(2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
  }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() {
    std::uint32_t low = U16();
    return low | std::uint32_t{U16()} << 16;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  TByteSpan Take(std::size_t n) {
    if (n > Left()) {
      Reject(shortFault_);
    }
    TByteSpan part = data_.subspan(pos_, n);
    pos_ += n;
    return part;
  }
  TByteSpan Rest() { return Take(Left()); }

  // Raises fault for this part. A record's faults take its name and offset as their first two
  // arguments, args after them.
  [[noreturn]] void Reject(TErrorId fault, std::vector<std::string> args = {}) const;

 private:
  TCursor(TByteSpan data, TErrorId shortFault, std::vector<std::string> place)
      : data_(data), shortFault_(shortFault), place_(std::move(place)) {}

  TByteSpan data_;
  std::size_t pos_ = 0;
  TErrorId shortFault_;
  std::vector<std::string> place_;  // the arguments that name the part in its errors
};

}  // namespace wmf
