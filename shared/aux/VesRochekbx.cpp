#include "shared/aux/VesRochekbx.h"

namespace vesper {

TVesRoCheckBox::TVesRoCheckBox(QWidget* parent) : QCheckBox(parent) {}

void TVesRoCheckBox::nextCheckState() {
  if (!readOnly_) QCheckBox::nextCheckState();
}

}  // namespace vesper
