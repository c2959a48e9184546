// The common model of the resources of 16- and 32-bit executables and
// resource files: a sorted list of types, each holding its items, every item
// knowing where its data lie in the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exception.h"

namespace vesper {

class TStream;
class TMemoryStream;
class TExe32Image;
class TExeImage;
struct TExeHeaders;

VESPER_EXCEPTION(EExeImage, Exception)

// Texts of the reader's string resources.
inline constexpr const char* SResFileExtensions = ".RES.R32.R16.DRS.DCR";  // 12014
inline constexpr const char* SNotValidResFile = "Not a valid resource file";  // 12013
inline constexpr const char* SNotPictureType = "Resource type is not compatible with TPicture";  // 12006
inline constexpr const char* SDataOutsideFile = "Resource data lie outside the file";

enum TResourceType {
  rtUnknown0, rtCursor, rtBitmap, rtIcon, rtMenu, rtDialog, rtString, rtFontDir, rtFont,
  rtAccelerators, rtRCData, rtMessageTable, rtGroupCursor, rtUnknown13, rtGroupIcon,
  rtUnknown15, rtVersion, rtForms, rtWave
};

// The fixed type names: "CURSOR", "BITMAP", ... "FORMS", "POP-UP HELP",
// "Unknown Type" for any other id.
std::string FixedTypeName(unsigned typeId);

class TResourceItem {
 public:
  explicit TResourceItem(TExeImage& owner) : owner_(owner) {}

  std::string Name;
  uint32_t Offset = 0;
  uint32_t Size = 0;
  int ResType = 0;
  uint16_t Id = 0;
  uint32_t OrdinalId = 0;
  bool IsUnicode = false;
  // The further items of the same type, in the order added.
  std::vector<std::unique_ptr<TResourceItem>> Children;

  TExeImage& Owner() const { return owner_; }
  // Reads the item's data from the image's file into `stream`, rewound.
  void LoadData(TMemoryStream& stream) const;
  std::string Data() const;
  // The file form of the resource (icon file, bitmap file, text, form record, raw data).
  void SaveToStream(TStream& stream) const;
  // The bytes of the picture file the item assigns to a picture (icon and
  // cursor as icon file, bitmap as bitmap file); EExeImage for other kinds.
  std::string PictureData() const;
  // A form's binary data converted to text.
  std::string FormText() const;

 private:
  TExeImage& owner_;
};

class TResourceList {
 public:
  int Count() const { return int(types_.size()); }
  const std::string& TypeName(int index) const { return types_.at(size_t(index)).name; }
  TResourceItem* Item(int index) const { return types_.at(size_t(index)).first.get(); }
  // The type's items: its first item, then its Children.
  std::vector<const TResourceItem*> Items(int index) const;
  // Index of the type (added when absent; names compare without regard to case).
  int Add(const std::string& typeName);
  // Adds `item` to the type at `index`.
  void AddItem(int index, std::unique_ptr<TResourceItem> item);
  // Index of a type by name, -1 when absent.
  int IndexOf(const std::string& typeName) const;
  uint16_t AlignShift = 0;

 private:
  struct Type {
    std::string name;
    std::unique_ptr<TResourceItem> first;
  };
  std::vector<Type> types_;
};

class TExeImage {
 public:
  // Reads `fileName` whole; raises EExeImage or EExe32Image.
  explicit TExeImage(std::string fileName);
  ~TExeImage();
  TExeImage(const TExeImage&) = delete;
  TExeImage& operator=(const TExeImage&) = delete;

  const std::string& FileName() const { return fileName_; }
  TResourceList& Resources() { return resources_; }
  const TResourceList& Resources() const { return resources_; }
  bool IsResFile() const { return isResFile_; }
  bool Is16Bit() const { return is16Bit_; }
  // The first item of the type `typeName`, or null.
  const TResourceItem* FindItem(const std::string& typeName, const std::string& itemName) const;

 private:
  struct Record;
  void ReadResFile();
  void ReadRes16Records(TStream& s);
  void ReadRes32Records(TStream& s);
  void GroupRecords();
  void ReadExe16(const TExeHeaders& headers);
  void ReadExe16Type(TStream& file, const TExeHeaders& headers, size_t typeIndex);
  void ReadExe32();
  void AddSorted(const std::string& typeName,
                 std::vector<std::pair<std::string, std::unique_ptr<TResourceItem>>>& items);

  std::string fileName_;
  TResourceList resources_;
  bool isResFile_ = false;
  bool is16Bit_ = false;
  std::vector<Record> records_;
};

}  // namespace vesper
