// Builds project-file bytes for the tests, field by field.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace vesper::test {

class VrfBytes {
 public:
  VrfBytes& b(uint8_t v) { s_ += char(v); return *this; }
  VrfBytes& w(uint16_t v) { return b(uint8_t(v)).b(uint8_t(v >> 8)); }
  VrfBytes& dw(uint32_t v) { return w(uint16_t(v)).w(uint16_t(v >> 16)); }
  VrfBytes& raw(const std::string& t) { s_ += t; return *this; }
  VrfBytes& lstr(const std::string& t) { return dw(uint32_t(t.size())).raw(t); }
  VrfBytes& date(double d) {
    char buf[8];
    std::memcpy(buf, &d, 8);
    s_.append(buf, 8);
    return *this;
  }
  VrfBytes& zeros(size_t n) { s_.append(n, '\0'); return *this; }
  // A tagged field: length byte, field number, group.
  VrfBytes& tag(uint8_t length, uint8_t number, uint16_t group) {
    return b(length).b(number).w(group);
  }
  VrfBytes& text(uint8_t number, uint16_t group, const std::string& t) {
    return tag(uint8_t(t.size()), number, group).raw(t);
  }
  const std::string& str() const { return s_; }
  size_t size() const { return s_.size(); }

 private:
  std::string s_;
};

}  // namespace vesper::test
