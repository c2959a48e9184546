// Finds a required literal, or the first of a few alternative literals, in
// a byte range: two of each literal's rarest bytes are tested sixteen
// positions at a time, then the whole literal is compared. With case
// folding the literals are lower case and ASCII letters of the text match
// either case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesper::rx {

// Rough frequency rank of a byte in source text: higher is more common.
int Commonness(uint8_t c);

class LiteralFinder {
 public:
  LiteralFinder(std::vector<std::string> literals, bool fold);
  // The first occurrence of a literal starting in [p, end) and ending by
  // `end`, or null.
  const uint8_t* Find(const uint8_t* p, const uint8_t* end) const;

 private:
  struct Probe {
    std::string literal;
    size_t i1 = 0, i2 = 0;       // offsets of the two probe bytes
    uint8_t a1, a2, b1, b2;      // byte i1 in both cases, byte i2 in both cases
  };
  bool Equals(const Probe& probe, const uint8_t* at) const;
  const uint8_t* FindOne(const uint8_t* p, const uint8_t* end) const;
  const uint8_t* FindAny(const uint8_t* p, const uint8_t* end) const;

  std::vector<Probe> probes_;
  bool fold_;
  size_t minLength_ = SIZE_MAX, maxOffset_ = 0;
};

}  // namespace vesper::rx
