// A minimal 32-bit PE image for tests of the version-information readers.
#pragma once

#include <string>

namespace vesper::test {

// One ".rsrc" section holding `resource` as RT_VERSION, name 1, language 0x409.
std::string MinimalVersionPe(const std::string& resource);

}  // namespace vesper::test
