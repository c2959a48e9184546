// The common about box: tagline, version and release of a module, the
// product logo, credits with links to the libraries the product uses, OK.
#pragma once

#include <QDialog>

#include <string>

class QGridLayout;
class QLabel;

namespace vesper {

class TVesAbout : public QDialog {
 public:
  explicit TVesAbout(QWidget* owner = nullptr);
  ~TVesAbout() override;

  // The module whose version is shown; set before showing.
  const std::string& ModuleFileName() const { return moduleFileName_; }
  void SetModuleFileName(const std::string& fileName) { moduleFileName_ = fileName; }
  // Sets the caption and processes pending events.
  void SetCaption(const std::string& text);
  std::string Caption() const;
  // The version texts of `fileName`; left as they are when it has no version
  // information.
  static void GetVersions(const std::string& fileName, std::string& version,
                          std::string& release);

  // Fills the version lines from the module file (done when shown).
  void LoadVersions();
  std::string VersionText() const;
  std::string ReleaseText() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void AddCredit(const char* name, const char* what, const char* address);

  std::string moduleFileName_;
  QLabel* versionLabel_;
  QLabel* releaseLabel_;
  QGridLayout* credits_;
};

}  // namespace vesper
