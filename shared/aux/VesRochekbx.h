// TVesRoCheckBox: a check box the user cannot change while ReadOnly is on;
// the program still can.
#pragma once

#include <QCheckBox>

namespace vesper {

class TVesRoCheckBox : public QCheckBox {
 public:
  explicit TVesRoCheckBox(QWidget* parent = nullptr);

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

 protected:
  void nextCheckState() override;

 private:
  bool readOnly_ = false;
};

}  // namespace vesper
