// TVesRulerTextFileEditor: the text file editor with its column ruler, for
// windows that show a file and let a menu toggle the ruler.
#pragma once

#include "ui/TextFileEditor.h"

namespace vesper {

class TVesRulerTextFileEditor : public TTextFileEditor {
 public:
  explicit TVesRulerTextFileEditor(QWidget* owner = nullptr);
};

}  // namespace vesper
