// The compression component: compresses a stream or a list of files with
// RLE (method 1) or LZH (method 2, zlib's deflate) into the container that
// platform/compress/expand.h documents, and expands such a stream again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "platform/Streams.h"

namespace vesper {

enum TCompressMethod : uint8_t { cmNone = 0, cmRLE = 1, cmLZH = 2 };

// Errors of the component.
class ECompressError : public Exception {
 public:
  using Exception::Exception;
};
class EUnknownCompressMethod : public ECompressError {  // "Unrecognised compression method"
 public:
  using ECompressError::ECompressError;
};
class ECompressChecksum : public ECompressError {  // "Checksum error in compressed data"
 public:
  using ECompressError::ECompressError;
};
class ECompressDamaged : public ECompressError {  // "Compressed data are damaged or not supported"
 public:
  using ECompressError::ECompressError;
};

class TCompress {
 public:
  // Compresses what is left of `source` (from its position to its end) and
  // appends one compressed block to `dest`.
  void CompressStream(TStream& dest, TStream& source, TCompressMethod method);
  // Appends, per file, the 16-bit length of its name (without folder), the
  // name and its compressed block; sets CompressedPercentage().
  void CompressFilesToStream(TStream& dest, const std::vector<std::string>& files, TCompressMethod method);
  // Expands the compressed block at the position of `source` into `dest`.
  void ExpandStream(TStream& dest, TStream& source);

  // Bytes saved by the last CompressFilesToStream, in whole percent of the
  // original size (0 for empty input; negative when the output grew).
  int CompressedPercentage() const { return percentage_; }

 private:
  int percentage_ = 0;
};

// The packed bytes of `data` (no header).
std::string RleEncode(const std::string& data);
std::string LzhEncode(const std::string& data);
// A whole compressed block of `data`; raises EUnknownCompressMethod.
std::string CompressBytes(const std::string& data, TCompressMethod method);
// The original bytes of a block; raises the component's errors.
std::string ExpandBytes(const std::string& block);

}  // namespace vesper
