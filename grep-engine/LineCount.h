// Counting line feeds in a byte range, vectorised.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesper::rx {

int64_t CountLineFeeds(const uint8_t* begin, const uint8_t* end);

}  // namespace vesper::rx
