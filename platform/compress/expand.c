#include "platform/compress/expand.h"

#include <string.h>
#include <zlib.h>

static unsigned long get32(const unsigned char* p) {
  return (unsigned long)p[0] | ((unsigned long)p[1] << 8) | ((unsigned long)p[2] << 16) |
         ((unsigned long)p[3] << 24);
}

/* No method expands a byte of packed data to more than this many bytes. */
#define VCMP_MAX_EXPANSION 1100UL

int vcmp_info(const unsigned char* src, size_t src_len, size_t* original_size, int* method) {
  unsigned long original, packed;
  if (src_len < VCMP_HEADER_SIZE || memcmp(src, "VCMP", 4) != 0) return VCMP_NOT_COMPRESSED;
  if (src[4] != VCMP_METHOD_RLE && src[4] != VCMP_METHOD_LZH) return VCMP_UNKNOWN_METHOD;
  original = get32(src + 8);
  packed = get32(src + 12);
  if (src[5] != 1 || packed > src_len - VCMP_HEADER_SIZE) return VCMP_DAMAGED;
  if (original > 64 && (original - 64) / VCMP_MAX_EXPANSION > packed) return VCMP_DAMAGED;
  *original_size = (size_t)original;
  *method = src[4];
  return VCMP_OK;
}

static int expand_rle(const unsigned char* in, size_t in_len, unsigned char* out, size_t out_len) {
  size_t i = 0, o = 0;
  while (i < in_len) {
    unsigned c = in[i++];
    size_t n = c < 128 ? c + 1 : c - 125;
    if (c < 128) {
      if (n > in_len - i || n > out_len - o) return VCMP_DAMAGED;
      memcpy(out + o, in + i, n);
      i += n;
    } else {
      if (i >= in_len || n > out_len - o) return VCMP_DAMAGED;
      memset(out + o, in[i++], n);
    }
    o += n;
  }
  return o == out_len ? VCMP_OK : VCMP_DAMAGED;
}

static int expand_lzh(const unsigned char* in, size_t in_len, unsigned char* out, size_t out_len) {
  z_stream z;
  int rc;
  memset(&z, 0, sizeof z);
  if (inflateInit(&z) != Z_OK) return VCMP_DAMAGED;
  z.next_in = (unsigned char*)in;
  z.avail_in = (uInt)in_len;
  z.next_out = out;
  z.avail_out = (uInt)out_len;
  rc = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (rc != Z_STREAM_END || z.total_out != out_len || z.avail_in != 0) return VCMP_DAMAGED;
  return VCMP_OK;
}

int vcmp_expand(const unsigned char* src, size_t src_len, unsigned char* dst, size_t dst_len, size_t* out_len) {
  size_t original;
  int method, rc;
  const unsigned char* packed = src + VCMP_HEADER_SIZE;
  rc = vcmp_info(src, src_len, &original, &method);
  if (rc != VCMP_OK) return rc;
  if (dst_len < original) return VCMP_BUFFER_TOO_SMALL;
  if (method == VCMP_METHOD_RLE)
    rc = expand_rle(packed, get32(src + 12), dst, original);
  else
    rc = expand_lzh(packed, get32(src + 12), dst, original);
  if (rc != VCMP_OK) return rc;
  if (crc32(crc32(0L, Z_NULL, 0), dst, (uInt)original) != get32(src + 16)) return VCMP_BAD_CHECKSUM;
  *out_len = original;
  return VCMP_OK;
}
