#include "shared/aux/VesF2Reg.h"

#include "shared/aux/AuxRegistry.h"

namespace vesper {

TVesFontReg::TVesFontReg(QObject* owner) : QObject(owner) {}

TVesFontReg::~TVesFontReg() = default;

bool TVesFontReg::ReadFromRegistry(const std::string& key, const std::string& valueName) {
  std::optional<std::string> text = ReadRegString(key, valueName);
  QFont font;
  if (!text || text->empty() || !font.fromString(QString::fromUtf8(*text))) return false;
  font_ = font;
  return true;
}

void TVesFontReg::WriteToRegistry(const std::string& key, const std::string& valueName) {
  WriteRegString(key, valueName, font_.toString().toStdString());
}

}  // namespace vesper
