#include "shared/aux/VesTovcrule.h"

namespace vesper {

TVesRulerTextFileEditor::TVesRulerTextFileEditor(QWidget* owner) : TTextFileEditor(owner) {
  setObjectName(QStringLiteral("RulerTextFileEditor"));
  SetShowRuler(true);
}

}  // namespace vesper
