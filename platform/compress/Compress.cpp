#include "platform/compress/Compress.h"

#include <zlib.h>

#include "platform/Files.h"
#include "platform/compress/expand.h"

namespace vesper {

namespace {

void Put32(std::string& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b += char((v >> (8 * i)) & 0xFF);
}

std::string ReadRest(TStream& source) {
  int64_t left = source.Size() - source.Position();
  std::string data(size_t(left > 0 ? left : 0), '\0');
  source.ReadBuffer(data.data(), data.size());
  return data;
}

[[noreturn]] void RaiseExpandError(int rc) {
  if (rc == VCMP_UNKNOWN_METHOD) throw EUnknownCompressMethod("Unrecognised compression method");
  if (rc == VCMP_BAD_CHECKSUM) throw ECompressChecksum("Checksum error in compressed data");
  throw ECompressDamaged("Compressed data are damaged or not supported");
}

}  // namespace

std::string RleEncode(const std::string& data) {
  std::string out;
  out.reserve(data.size() + data.size() / 128 + 1);
  size_t n = data.size(), i = 0, literal = 0;  // literal: start of pending literals
  auto flushLiterals = [&](size_t end) {
    while (literal < end) {
      size_t len = std::min<size_t>(end - literal, 128);
      out += char(len - 1);
      out.append(data, literal, len);
      literal += len;
    }
  };
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 130 && data[i + run] == data[i]) ++run;
    if (run >= 3) {
      flushLiterals(i);
      out += char(run + 125);
      out += data[i];
      i += run;
      literal = i;
    } else {
      i += run;
    }
  }
  flushLiterals(n);
  return out;
}

std::string LzhEncode(const std::string& data) {
  z_stream z{};
  if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK) throw ECompressError("Compression failed");
  std::string out(deflateBound(&z, uLong(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = uInt(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw ECompressError("Compression failed");
  return out;
}

std::string CompressBytes(const std::string& data, TCompressMethod method) {
  if (method != cmRLE && method != cmLZH) throw EUnknownCompressMethod("Unrecognised compression method");
  if (data.size() > 0xFFFFFFFFu) throw ECompressError("Data too large to compress");
  std::string packed = method == cmRLE ? RleEncode(data) : LzhEncode(data);
  std::string block = "VCMP";
  block += char(method);
  block += char(1);
  block += std::string(2, '\0');
  Put32(block, uint32_t(data.size()));
  Put32(block, uint32_t(packed.size()));
  Put32(block, uint32_t(crc32(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()))));
  return block + packed;
}

std::string ExpandBytes(const std::string& block) {
  auto src = reinterpret_cast<const unsigned char*>(block.data());
  size_t original = 0, outLen = 0;
  int method = 0;
  int rc = vcmp_info(src, block.size(), &original, &method);
  if (rc != VCMP_OK) RaiseExpandError(rc);
  std::string out(original, '\0');
  rc = vcmp_expand(src, block.size(), reinterpret_cast<unsigned char*>(out.data()), out.size(), &outLen);
  if (rc != VCMP_OK) RaiseExpandError(rc);
  return out;
}

void TCompress::CompressStream(TStream& dest, TStream& source, TCompressMethod method) {
  dest.WriteString(CompressBytes(ReadRest(source), method));
}

void TCompress::CompressFilesToStream(TStream& dest, const std::vector<std::string>& files, TCompressMethod method) {
  uint64_t original = 0, packed = 0;
  for (const std::string& file : files) {
    std::string data = ReadFileBytes(file);
    std::string block = CompressBytes(data, method);
    std::string name = ExtractFileName(file).substr(0, 0xFFFF);
    dest.WriteWord(uint16_t(name.size()));
    dest.WriteString(name);
    dest.WriteString(block);
    original += data.size();
    packed += block.size();
  }
  percentage_ = original == 0 ? 0 : int((int64_t(original) - int64_t(packed)) * 100 / int64_t(original));
}

void TCompress::ExpandStream(TStream& dest, TStream& source) {
  int64_t start = source.Position();
  std::string header(VCMP_HEADER_SIZE, '\0');
  if (source.Read(header.data(), header.size()) != header.size()) RaiseExpandError(VCMP_NOT_COMPRESSED);
  uint32_t packed = uint32_t(uint8_t(header[12])) | uint32_t(uint8_t(header[13])) << 8 |
                    uint32_t(uint8_t(header[14])) << 16 | uint32_t(uint8_t(header[15])) << 24;
  if (int64_t(packed) > source.Size() - source.Position()) {
    source.SetPosition(start);
    RaiseExpandError(VCMP_DAMAGED);
  }
  std::string block = header + source.ReadString(packed);
  dest.WriteString(ExpandBytes(block));
}

}  // namespace vesper
