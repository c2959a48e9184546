#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include "platform/DateTime.h"
#include "platform/VersionBuilder.h"
#include "shared/controls/VesAbout.h"
#include "shared/controls/VesLinkLabel.h"
#include "tests/support/TestSupport.h"
#include "ui/Application.h"

namespace vesper {
namespace {

// An ELF object whose ".rsrc_version" section holds a version resource.
std::string ModuleWithVersion(const std::string& name, uint32_t fileDate) {
  VersionFields fields;
  uint16_t file[4] = {3, 1, 12, 407}, product[4] = {3, 0, 0, 5};
  std::copy(file, file + 4, fields.FileVersion);
  std::copy(product, product + 4, fields.ProductVersion);
  fields.FileDateMS = fileDate;
  std::string folder = test::MakeTempSubdir("modules");
  std::string resource = folder + "/" + name + ".res", module = folder + "/" + name + ".o";
  test::WriteFile(resource, BuildVersionResource(fields));
  test::RunResult run = test::Run({"/usr/bin/objcopy", "-I", "binary", "-O", "elf64-x86-64",
                                   "--rename-section", ".data=.rsrc_version", resource, module});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return module;
}

TEST(GetVersions, VersionAndReleaseOfAModule) {
  // 1998-07-15 14:30:20 packed as a file date.
  uint32_t packed = uint32_t(DateTimeToFileDate(EncodeDate(1998, 7, 15) + EncodeTime(14, 30, 20, 0)));
  std::string version = "unchanged", release = "unchanged";
  TVesAbout::GetVersions(ModuleWithVersion("dated", packed), version, release);
  EXPECT_EQ(version, "03.00.00.05");
  EXPECT_EQ(release, "03.01.12.407 Dated " +
                         DateTimeToStr(EncodeDate(1998, 7, 15) + EncodeTime(14, 30, 20, 0)));
}

TEST(GetVersions, ZeroFileDateShowsNow) {
  std::string version, release;
  TDateTime before = Now();
  TVesAbout::GetVersions(ModuleWithVersion("undated", 0), version, release);
  const std::string prefix = "03.01.12.407 Dated ";
  ASSERT_EQ(release.substr(0, prefix.size()), prefix);
  std::string dated = release.substr(prefix.size());
  // Now, to the second, as the date-time text shows it.
  EXPECT_TRUE(dated == DateTimeToStr(before) || dated == DateTimeToStr(Now())) << dated;
}

TEST(GetVersions, WithoutVersionInformationOutputsStay) {
  std::string plain = test::MakeTempSubdir("plain") + "/plain.bin";
  test::WriteFile(plain, std::string(200, '\x7F'));
  for (const std::string& file : {plain, std::string("/nonexistent/module.so")}) {
    std::string version = "v", release = "r";
    TVesAbout::GetVersions(file, version, release);
    EXPECT_EQ(version, "v");
    EXPECT_EQ(release, "r");
  }
}

TEST(VesAbout, CaptionsVersionLinesAndCredits) {
  EnsureApplication();
  TVesAbout first, second;
  EXPECT_EQ(first.Caption(), "About Vesper");
  first.SetCaption("About Grep");
  second.SetCaption("About Resource Explorer");
  EXPECT_EQ(first.Caption(), "About Grep");
  EXPECT_EQ(second.Caption(), "About Resource Explorer");

  first.SetModuleFileName(test::BuildDir() + "/lib/vesper/libVclVes30.so");
  first.LoadVersions();
  EXPECT_EQ(first.VersionText().rfind("Version : 0", 0), 0u) << first.VersionText();
  EXPECT_NE(first.ReleaseText().find(" Dated "), std::string::npos) << first.ReleaseText();

  std::vector<std::string> links;
  for (QLabel* label : first.findChildren<QLabel*>())
    if (auto* link = dynamic_cast<TVesLinkLabel*>(label)) links.push_back(link->LinkTo());
  EXPECT_EQ(links, (std::vector<std::string>{"https://www.qt.io/", "https://zlib.net/"}));
}

TEST(VesLinkLabel, LeftClickOpensTheAddress) {
  EnsureApplication();
  std::vector<std::string> opened;
  auto previous = TVesLinkLabel::SetOpener([&](const std::string& a) { opened.push_back(a); });
  TVesLinkLabel label;
  EXPECT_TRUE(label.font().underline());
  EXPECT_EQ(label.LinkColor(), QColor(0, 0, 255));
  label.SetLinkColor(Qt::red);
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::red));
  label.SetLinkTo("https://zlib.net/");
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent right(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(&label, &right);
  QApplication::sendEvent(&label, &press);
  EXPECT_EQ(opened, std::vector<std::string>{"https://zlib.net/"});
  TVesLinkLabel::SetOpener(previous);
}

}  // namespace
}  // namespace vesper
