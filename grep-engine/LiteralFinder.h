// Finds a required literal in a byte range: two of its rarest bytes are
// tested sixteen positions at a time, then the whole literal is compared.
// With case folding the literal is lower case and ASCII letters of the text
// match either case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesper::rx {

class LiteralFinder {
 public:
  LiteralFinder(std::string literal, bool fold);
  // The first occurrence starting in [p, end) and ending by `end`, or null.
  const uint8_t* Find(const uint8_t* p, const uint8_t* end) const;

 private:
  bool Equals(const uint8_t* at) const;

  std::string literal_;
  bool fold_;
  size_t i1_ = 0, i2_ = 0;  // offsets of the two probe bytes
  uint8_t a1_, a2_, b1_, b2_;  // probe byte i1 in both cases, probe byte i2 in both cases
};

}  // namespace vesper::rx
