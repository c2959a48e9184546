// The hourglass: the wait cursor shown over the whole application while a
// long operation runs. Guards nest; the cursor goes back when the last one
// ends.
#pragma once

namespace vesper {

class THourGlass {
 public:
  THourGlass();
  ~THourGlass();
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;

  // How many guards are alive.
  static int Depth();
};

}  // namespace vesper
