#include "platform/compress/Compress.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/Files.h"
#include "tests/support/TestSupport.h"

using namespace vesper;

namespace {

std::string Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(rng());
  return s;
}

std::string Mixed() {
  return std::string(1000, 'A') + "abcabcabc" + Noise(300, 1) + std::string(131, '\0') + "xyyzzz" +
         std::string(2, 'q') + std::string(3, 'r');
}

}  // namespace

TEST(CompressTest, RoundTripsEveryMethodAndShape) {
  const std::string inputs[] = {"", "a", "aa", "aaa", std::string(130, 'b'), std::string(131, 'b'),
                                std::string(260, 'c'), Noise(129, 2), Noise(5000, 3), Mixed()};
  for (TCompressMethod m : {cmRLE, cmLZH})
    for (const std::string& in : inputs) {
      std::string block = CompressBytes(in, m);
      EXPECT_EQ(block.substr(0, 4), "VCMP");
      EXPECT_EQ(uint8_t(block[4]), m);
      EXPECT_EQ(ExpandBytes(block), in) << "method " << int(m) << " size " << in.size();
    }
}

TEST(CompressTest, RleShrinksRunsAndBoundsGrowthOfNoise) {
  EXPECT_EQ(RleEncode(std::string(130, 'x')), std::string("\xFF" "x", 2));
  EXPECT_EQ(RleEncode("ab"), std::string("\x01" "ab", 3));
  std::string noise = Noise(12800, 4);
  EXPECT_LE(RleEncode(noise).size(), noise.size() + noise.size() / 128 + 1);
}

TEST(CompressTest, StreamsWrapBlocksAndReadThemBack) {
  TMemoryStream source(Mixed()), packed, expanded;
  source.SetPosition(0);
  TCompress c;
  c.CompressStream(packed, source, cmLZH);
  packed.WriteString("tail");  // a block is self-delimiting
  packed.SetPosition(0);
  c.ExpandStream(expanded, packed);
  EXPECT_EQ(expanded.DataString(), Mixed());
  EXPECT_EQ(packed.ReadString(4), "tail");
}

TEST(CompressTest, FilesToStreamReportsPercentageSaved) {
  std::string dir = test::MakeTempSubdir("cmpfiles");
  test::WriteFile(dir + "/runs.bin", std::string(10000, 'z'));
  test::WriteFile(dir + "/noise.bin", Noise(10000, 5));
  TCompress c;
  TMemoryStream out;
  c.CompressFilesToStream(out, {dir + "/runs.bin"}, cmRLE);
  EXPECT_GE(c.CompressedPercentage(), 98);
  out.SetPosition(0);
  EXPECT_EQ(out.ReadWord(), 8);
  EXPECT_EQ(out.ReadString(8), "runs.bin");
  TMemoryStream back;
  c.ExpandStream(back, out);
  EXPECT_EQ(back.DataString(), std::string(10000, 'z'));

  out.Clear();
  c.CompressFilesToStream(out, {dir + "/noise.bin"}, cmLZH);
  EXPECT_LE(c.CompressedPercentage(), 0);  // noise does not shrink
  EXPECT_THROW(c.CompressFilesToStream(out, {dir + "/missing.bin"}, cmRLE), Exception);
}

TEST(CompressTest, RefusesBadInputWithTheComponentErrors) {
  std::string good = CompressBytes(Mixed(), cmRLE);
  std::string badMethod = good, badCrc = good, truncated = good.substr(0, good.size() - 1);
  badMethod[4] = 7;
  badCrc[16] ^= 1;
  std::string bigClaim = good;
  bigClaim[11] = char(0x7F);  // original size far beyond what the data can give
  std::string badRun = CompressBytes("abc", cmRLE);
  badRun[20] = char(0x05);  // six literals promised, three present
  EXPECT_THROW(CompressBytes("x", TCompressMethod(3)), EUnknownCompressMethod);
  EXPECT_THROW(ExpandBytes(badMethod), EUnknownCompressMethod);
  EXPECT_THROW(ExpandBytes(badCrc), ECompressChecksum);
  EXPECT_THROW(ExpandBytes(truncated), ECompressDamaged);
  EXPECT_THROW(ExpandBytes(bigClaim), ECompressDamaged);
  EXPECT_THROW(ExpandBytes(badRun), ECompressDamaged);
  EXPECT_THROW(ExpandBytes("short"), ECompressDamaged);
  std::string lzh = CompressBytes(Mixed(), cmLZH);
  lzh[30] ^= 0x55;
  EXPECT_THROW(ExpandBytes(lzh), ECompressError);
  TMemoryStream src("VCMP"), dest;
  TCompress c;
  EXPECT_THROW(c.ExpandStream(dest, src), ECompressDamaged);
}
