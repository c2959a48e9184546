// TVesFontReg: keeps a font in a registry value of HKEY_CURRENT_USER.
#pragma once

#include <QFont>
#include <QObject>

#include <string>

namespace vesper {

class TVesFontReg : public QObject {
 public:
  explicit TVesFontReg(QObject* owner = nullptr);
  ~TVesFontReg() override;

  const QFont& Font() const { return font_; }
  void SetFont(const QFont& font) { font_ = font; }
  // True when a font was stored under `key` in `valueName`; Font is then it.
  bool ReadFromRegistry(const std::string& key, const std::string& valueName);
  void WriteToRegistry(const std::string& key, const std::string& valueName);

 private:
  QFont font_;
};

}  // namespace vesper
