// Shows the folder browser (with its extra button and status text) and the
// about box side by side, for looking at them in a virtual display.
#include <QApplication>
#include <QPushButton>

#include "shared/controls/FolderBrowserDialog.h"
#include "shared/controls/VesAbout.h"
#include "shared/controls/VesBrowseFolder.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vesper::TFolderBrowserDialog browser;
  browser.SetTitle("Select the folder to search in:");
  browser.SetStatusVisible(true);
  browser.onSelectionChanged = [&](const std::string& path) {
    std::string shortened;
    vesper::CompressString(path, "/", "...", shortened, 35);
    browser.SetStatusText(shortened);
    browser.SetOKEnabled(vesper::DirectoryExists(path));
  };
  browser.CustomButton().setText("&New Folder");
  browser.CustomButton().show();
  browser.SelectPath(argc > 1 ? argv[1] : "/usr/share");
  browser.move(40, 40);
  browser.show();

  vesper::TVesAbout about;
  about.SetModuleFileName(QCoreApplication::applicationDirPath().toStdString() +
                          "/../lib/vesper/libVclVes30.so");
  about.SetCaption("About Vesper");
  about.show();
  about.move(420, 40);
  return app.exec();
}
