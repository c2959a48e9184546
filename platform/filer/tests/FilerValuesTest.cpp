#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/filer/FilerValues.h"

using namespace vesper;

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(char(c));
  return s;
}

}  // namespace

TEST(FilerValues, IntegersUseTheSmallestTag) {
  struct Case { int64_t v; std::string bytes; } cases[] = {
      {0, Bytes({2, 0})},
      {127, Bytes({2, 0x7F})},
      {-128, Bytes({2, 0x80})},
      {128, Bytes({3, 0x80, 0})},
      {-129, Bytes({3, 0x7F, 0xFF})},
      {32767, Bytes({3, 0xFF, 0x7F})},
      {32768, Bytes({4, 0, 0x80, 0, 0})},
      {-32769, Bytes({4, 0xFF, 0x7F, 0xFF, 0xFF})},
      {2147483647, Bytes({4, 0xFF, 0xFF, 0xFF, 0x7F})},
      {-2147483648LL, Bytes({4, 0, 0, 0, 0x80})},
      {2147483648LL, Bytes({19, 0, 0, 0, 0x80, 0, 0, 0, 0})},
      {INT64_MIN, Bytes({19, 0, 0, 0, 0, 0, 0, 0, 0x80})},
  };
  for (auto& c : cases) {
    std::string out;
    TValueWriter(out).WriteInteger(c.v);
    EXPECT_EQ(out, c.bytes) << c.v;
    TValueReader r(out);
    EXPECT_EQ(r.ReadInteger(), c.v);
    EXPECT_TRUE(r.AtEnd());
  }
}

TEST(FilerValues, ExtendedKeepsEveryBit) {
  const long double values[] = {0.0L, -0.0L, 1.0L, -2.5L, 0.1L, 3.14159265358979323846L,
                                LDBL_MAX, LDBL_MIN, LDBL_TRUE_MIN, 1e-4940L,
                                std::numeric_limits<long double>::infinity()};
  for (long double v : values) {
    std::string out;
    TValueWriter(out).WriteFloat(v);
    ASSERT_EQ(out.size(), 11u);
    EXPECT_EQ(out[0], char(vaExtended));
    long double back = TValueReader(out).ReadFloat();
    EXPECT_EQ(std::memcmp(&back, &v, 10), 0) << double(v);
  }
  // 1.0: mantissa 0x8000000000000000, biased exponent 0x3FFF.
  uint8_t b[10];
  ExtendedToBytes(1.0L, b);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 10), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  // A NaN payload survives.
  const uint8_t nan[10] = {1, 2, 3, 4, 5, 6, 7, 0xC0, 0xFF, 0x7F};
  uint8_t again[10];
  ExtendedToBytes(BytesToExtended(nan), again);
  EXPECT_EQ(std::memcmp(nan, again, 10), 0);
}

TEST(FilerValues, FloatsPrintLikeTheClassLibrary) {
  struct Case { long double v; const char* text; } cases[] = {
      {1.5L, "1.5"},          {-0.25L, "-0.25"},         {100, "100"},
      {0.1L, "0.1"},          {0.0001L, "0.0001"},       {0.00001L, "1E-5"},
      {1.5e-7L, "1.5E-7"},    {1e14L, "100000000000000"}, {1e15L, "1E15"},
      {1e20L, "1E20"},        {123456789.125L, "123456789.125"},
      {2.0L / 3, "0.666666666666667"}, {0, "0"},
      {std::numeric_limits<long double>::infinity(), "INF"},
      {-std::numeric_limits<long double>::infinity(), "-INF"},
      {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
  };
  for (auto& c : cases) EXPECT_EQ(FilerFloatToStr(c.v), c.text);
}

TEST(FilerValues, TextsAndIdents) {
  std::string out;
  TValueWriter w(out);
  w.WriteString("abc");
  w.WriteString(std::string(256, 'x'));
  w.WriteIdent("wtResident");
  w.WriteIdent("false");
  w.WriteIdent("TRUE");
  w.WriteIdent("nil");
  w.WriteBinary("\x01\x02");
  EXPECT_EQ(out.substr(0, 5), Bytes({6, 3, 'a', 'b', 'c'}));
  EXPECT_EQ(out.substr(5, 5), Bytes({12, 0, 1, 0, 0}));
  TValueReader r(out);
  EXPECT_EQ(r.ReadString(), "abc");
  EXPECT_EQ(r.ReadString(), std::string(256, 'x'));
  EXPECT_EQ(r.ReadIdent(), "wtResident");
  EXPECT_FALSE(r.ReadBoolean());
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(r.ReadIdent(), "nil");
  EXPECT_EQ(r.ReadBinary(), "\x01\x02");
  EXPECT_TRUE(r.AtEnd());
  // Wide and UTF-8 texts read as ANSI.
  std::string wide = Bytes({18, 2, 0, 0, 0, 'h', 0, 0xE9, 0}) + Bytes({20, 3, 0, 0, 0, 'a', 0xC3, 0xA9});
  TValueReader rw(wide);
  EXPECT_EQ(rw.ReadString(), "h\xE9");
  EXPECT_EQ(rw.ReadString(), "a\xE9");
}

TEST(FilerValues, DamagedValuesNameTheOffset) {
  struct Case { std::string data; const char* message; } cases[] = {
      {Bytes({3, 1}), "offset 1: integer of 2 bytes runs past the end"},
      {Bytes({6, 5, 'a'}), "offset 2: string of 5 bytes runs past the end"},
      {Bytes({12, 0xFF, 0xFF, 0xFF, 0x7F}), "offset 5: string of 2147483647 units runs past the end"},
      {Bytes({10, 0, 0, 0, 0x80, 1}), "offset 5: binary data of 2147483648 units runs past the end"},
      {Bytes({18, 3, 0, 0, 0, 'a', 0}), "offset 5: wide string of 3 units runs past the end"},
      {Bytes({7}), "offset 1: identifier expected, the stream ends"},
      {Bytes({9}), "offset 0: string value expected"},
      {"", "offset 0: value expected, the stream ends"},
  };
  for (auto& c : cases) {
    TValueReader r(c.data);
    try {
      if (!c.data.empty() && c.data[0] == 7)
        r.ReadIdent();
      else if (!c.data.empty() && c.data[0] == 3)
        r.ReadInteger();
      else if (!c.data.empty() && c.data[0] == 10)
        r.ReadBinary();
      else
        r.ReadString();
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const EReadError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

TEST(FilerValues, Prefix) {
  std::string out;
  TValueWriter(out).WritePrefix(ffInherited | ffChildPos, 300);
  EXPECT_EQ(out, Bytes({0xF3, 3, 0x2C, 1}));
  uint8_t flags;
  int32_t pos;
  TValueReader r(out);
  r.ReadPrefix(flags, pos);
  EXPECT_EQ(flags, ffInherited | ffChildPos);
  EXPECT_EQ(pos, 300);
  TValueReader plain(Bytes({5, 'T', 'F'}));
  plain.ReadPrefix(flags, pos);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(plain.Position(), 0u);
}
