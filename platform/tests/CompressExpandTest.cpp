// The stand-alone C routine on its own: results, sizes and buffer checks.
#include "platform/compress/expand.h"

#include <gtest/gtest.h>

#include "platform/compress/Compress.h"

using namespace vesper;

namespace {

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

}  // namespace

TEST(CompressExpandTest, ExpandsBothMethodsIntoACallerBuffer) {
  std::string text = "Hello, hello, hello!" + std::string(500, '-');
  for (TCompressMethod m : {cmRLE, cmLZH}) {
    std::string block = CompressBytes(text, m);
    size_t size = 0, out = 0;
    int method = 0;
    ASSERT_EQ(vcmp_info(Bytes(block), block.size(), &size, &method), VCMP_OK);
    EXPECT_EQ(size, text.size());
    EXPECT_EQ(method, m);
    std::string buf(size, '\0');
    ASSERT_EQ(vcmp_expand(Bytes(block), block.size(), reinterpret_cast<unsigned char*>(buf.data()), buf.size(), &out),
              VCMP_OK);
    EXPECT_EQ(out, text.size());
    EXPECT_EQ(buf, text);
    EXPECT_EQ(vcmp_expand(Bytes(block), block.size(), reinterpret_cast<unsigned char*>(buf.data()), size - 1, &out),
              VCMP_BUFFER_TOO_SMALL);
  }
}

TEST(CompressExpandTest, ReportsForeignAndDamagedData) {
  size_t size;
  int method;
  std::string block = CompressBytes("abc", cmRLE);
  EXPECT_EQ(vcmp_info(Bytes(std::string("BM....")), 6, &size, &method), VCMP_NOT_COMPRESSED);
  EXPECT_EQ(vcmp_info(Bytes(block), block.size() - 1, &size, &method), VCMP_DAMAGED);
  block[5] = 2;  // format version
  EXPECT_EQ(vcmp_info(Bytes(block), block.size(), &size, &method), VCMP_DAMAGED);
}
