/* Stand-alone expansion of the compressed-stream format written by
 * TCompress (platform/compress/Compress.h). An application can copy this
 * header and expand.c to read its "CMP..." resources at run time; the only
 * dependency is zlib.
 *
 * Format (all numbers little-endian):
 *   offset  size  content
 *   0       4     magic "VCMP"
 *   4       1     method: 1 RLE, 2 LZH (a zlib stream)
 *   5       1     format version, 1
 *   6       2     reserved, 0
 *   8       4     original size in bytes
 *   12      4     packed size in bytes (the data after the header)
 *   16      4     CRC-32 of the original bytes
 *   20      ...   packed data
 * RLE data are runs: a control byte c below 128 is followed by c + 1 literal
 * bytes; a control byte c of 128 or more is followed by one byte that stands
 * for c - 125 copies of it (3 to 130). */
#ifndef VESPER_EXPAND_H
#define VESPER_EXPAND_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VCMP_HEADER_SIZE 20
#define VCMP_METHOD_RLE 1
#define VCMP_METHOD_LZH 2

enum vcmp_result {
  VCMP_OK = 0,
  VCMP_NOT_COMPRESSED = -1, /* too short for a header, or no magic */
  VCMP_UNKNOWN_METHOD = -2,
  VCMP_DAMAGED = -3,        /* sizes or packed data do not fit together */
  VCMP_BAD_CHECKSUM = -4,
  VCMP_BUFFER_TOO_SMALL = -5
};

/* Reads the header of `src`: the original size and the method. The packed
 * size is checked against `src_len`. Returns a vcmp_result. */
int vcmp_info(const unsigned char* src, size_t src_len, size_t* original_size, int* method);

/* Expands `src` into `dst` (room for `dst_len` bytes, at least the original
 * size); `*out_len` receives the original size. Returns a vcmp_result;
 * on failure the contents of `dst` are undefined. */
int vcmp_expand(const unsigned char* src, size_t src_len, unsigned char* dst, size_t dst_len, size_t* out_len);

#ifdef __cplusplus
}
#endif

#endif
