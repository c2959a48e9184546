#include "wizards/resedit/core/ResCompiler.h"

#include <map>

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/compress/Compress.h"
#include "wizards/resedit/core/IconFile.h"
#include "wizards/resedit/core/ResChecks.h"
#include "wizards/resedit/core/ResConsts.h"
#include "wizards/resedit/core/ResRecord.h"
#include "wizards/resedit/core/Resources.h"
#include "wizards/resedit/core/VersionRecord.h"

namespace vesper {

namespace {

TResName EntryName(const TResEntry& e, bool byName) {
  return byName ? TResName::Text(e.Name) : TResName::Number(e.Id);
}

// The form name and header size of a form file with a 16-bit RCDATA
// resource header; false when the file has no such header.
bool ParseFormHeader(const std::string& bytes, std::string& name, size_t& headerSize) {
  if (bytes.size() < 3 || uint8_t(bytes[0]) != 255 || uint8_t(bytes[1]) != 10 || bytes[2] != 0) return false;
  size_t end = bytes.find('\0', 3);
  if (end == std::string::npos || end >= 129) return false;
  name = bytes.substr(3, end - 3);
  headerSize = name.size() + 10;
  return !name.empty() && headerSize <= bytes.size();
}

void AppendStringSlot(std::string& data, const std::string& text, bool is32) {
  std::string decoded = text.find('\\') == std::string::npos ? text : DecodeEscapes(text);
  if (!is32) {
    data += char(std::min<size_t>(decoded.size(), 255));
    data.append(decoded, 0, 255);
    return;
  }
  std::u16string wide = AnsiToUtf16(decoded);
  data += char(wide.size() & 0xFF);
  data += char(wide.size() >> 8);
  for (char16_t c : wide) {
    data += char(c & 0xFF);
    data += char(c >> 8);
  }
}

void Put16(std::string& b, uint16_t v) {
  b += char(v & 0xFF);
  b += char(v >> 8);
}

void Put32(std::string& b, uint32_t v) {
  Put16(b, uint16_t(v));
  Put16(b, uint16_t(v >> 16));
}

// Bit count of an icon group entry: the directory's own when it has one,
// else derived from the colour count.
uint16_t GroupBitCount(const TIconDirEntry& d, bool is32) {
  if (d.BitCount != 0) return d.BitCount;
  if (d.ColorCount == 2) return 1;
  if (d.ColorCount == 0) return is32 ? 24 : 0;
  return uint16_t(d.ColorCount / 4);
}

}  // namespace

std::string ResolveResFile(const TResources& res, const std::string& fileName) {
  if (FileExists(fileName)) return fileName;
  if (fileName.find('/') != std::string::npos) return {};
  std::string inProject = ExtractFilePath(res.FileName()) + fileName;
  return FileExists(inProject) ? inProject : std::string();
}

TResCompiler::TResCompiler(TResources& res, const TResUserIO& io, TCompileSwitches switches)
    : res_(res), io_(io), sw_(switches) {}

std::vector<std::string> TResCompiler::PreCheck() const {
  std::vector<std::string> lines;
  auto check = [&](const char* kind, const auto& list) {
    for (auto& e : list.Items())
      if (ResolveResFile(res_, e->FileName).empty()) lines.push_back(Format("%s : %s", {kind, e->FileName}));
  };
  check("RcData", res_.RcData);
  check("Bitmap", res_.Bitmaps);
  check("Cursor", res_.Cursors);
  check("Icon", res_.Icons);
  return lines;
}

bool TResCompiler::Compile(bool is32, bool omitVersion, std::vector<std::string>* errors) {
  std::vector<std::string> lines = PreCheck();
  if (errors) *errors = lines;
  if (!lines.empty()) return false;
  std::string bytes = CompileBytes(is32, omitVersion);
  const std::string& output = is32 ? res_.Res32Name() : res_.Res16Name();
  if (int64_t(bytes.size()) <= (is32 ? 32 : 0))
    DeleteFile(output);
  else
    SaveFileAtomic(output, bytes);
  io_.Status(" Ready");
  return true;
}

std::string TResCompiler::CompileBytes(bool is32, bool omitVersion) {
  TResStream out;
  TResRecordWriter w(out, is32);
  iconIds_ = cursorIds_ = 0;
  w.WriteFileStart();
  if (!omitVersion && sw_.Version) WriteVersion(w);
  if (sw_.Strings && !res_.Strings.Empty()) WriteStrings(w);
  if (is32 && sw_.MessageTables && !res_.Messages.Empty()) WriteMessageTables(w);
  if (sw_.RcData && !res_.RcData.Empty()) WriteRcData(w);
  if (sw_.Bitmaps && !res_.Bitmaps.Empty()) WriteBitmaps(w);
  if (sw_.Cursors)
    for (auto& e : res_.Cursors.Items()) WriteCursor(w, *e);
  if (sw_.Icons)
    for (auto& e : res_.Icons.Items()) WriteIcon(w, *e);
  return std::move(out.DataString());
}

void TResCompiler::WriteVersion(TResRecordWriter& w) {
  io_.Status(" Compiling Version information...");
  const TVersionResource& v = res_.Version;
  std::string data = w.Is32() ? VersionRecordData32(v) : VersionRecordData16(v);
  w.WriteRecord(TResName::Number(rtVersion), TResName::Number(1), kFixedRecordFlags, v.Language, data);
}

void TResCompiler::WriteStrings(TResRecordWriter& w) {
  io_.Status(" Compiling Strings...");
  std::map<int, std::map<int, const TStringEntry*>> blocks;  // block -> slot -> entry
  for (auto& e : res_.Strings.Items()) blocks[e->Id / 16 + 1][e->Id % 16] = e.get();
  for (auto& [block, slots] : blocks) {
    std::string data;
    for (int slot = 0; slot < 16; ++slot) {
      auto it = slots.find(slot);
      if (it != slots.end())
        AppendStringSlot(data, it->second->Text, w.Is32());
      else
        data += w.Is32() ? std::string(2, '\0') : std::string(1, '\0');
    }
    if (w.Is32() && data.size() % 4 != 0) data += std::string(2, '\0');
    w.WriteRecord(TResName::Number(rtString), TResName::Number(uint16_t(block)), kStringTableFlags,
                  res_.Language, data);
  }
}

void TResCompiler::WriteMessageTables(TResRecordWriter& w) {
  io_.Status(" Compiling Message Tables...");
  const TMessageResource& m = res_.Messages;
  struct Block {
    uint32_t Low, High;
    std::vector<const TMessageEntry*> Entries;
  };
  std::vector<Block> blocks;
  for (auto& e : m.Items()) {
    if (blocks.empty() || e->FullId != blocks.back().High + 1)
      blocks.push_back({e->FullId, e->FullId, {}});
    blocks.back().High = e->FullId;
    blocks.back().Entries.push_back(e.get());
  }
  for (auto& lang : m.Languages) {
    std::string head, entries;
    Put32(head, uint32_t(blocks.size()));
    uint32_t offset = uint32_t(4 + blocks.size() * 12);
    for (auto& b : blocks) {
      Put32(head, b.Low);
      Put32(head, b.High);
      Put32(head, offset + uint32_t(entries.size()));
      for (const TMessageEntry* e : b.Entries) {
        std::string text = m.Text(*e, lang.Value).substr(0, 0xFFFF - 5);
        Put16(entries, uint16_t(text.size() + 5));
        Put16(entries, 0);
        entries += text;
        entries += '\0';
      }
    }
    std::string data = head + entries;
    while (data.size() % 4) data += '\0';
    w.WriteRecord(TResName::Number(rtMessageTable), TResName::Number(1), kFixedRecordFlags, uint16_t(lang.Value),
                  data);
  }
}

std::string TResCompiler::Compressed(const std::string& path, uint8_t method) {
  io_.Status("Compressing " + path);
  return CompressBytes(ReadFileBytes(path), TCompressMethod(method));
}

void TResCompiler::WriteRcData(TResRecordWriter& w) {
  io_.Status(" Compiling RcData...");
  for (auto& e : res_.RcData.Items()) {
    std::string path = ResolveResFile(res_, e->FileName);
    if (path.empty() || FileSizeOf(path) <= 0) continue;
    std::string bytes = ReadFileBytes(path);
    uint8_t kind = e->Kind() <= rkForm ? uint8_t(e->Kind()) : uint8_t(rkRcData);
    std::string formName;
    size_t headerSize = 0;
    if (kind == rkForm && !ParseFormHeader(bytes, formName, headerSize)) continue;
    TResName name = kind == rkForm ? TResName::Text(formName) : TResName::Number(e->Id);
    const TRcDataKindInfo& info = RcDataKinds()[kind];
    bool packed = res_.CompressionAllowed && (e->Compression() == rcRle || e->Compression() == rcLzh);
    TResName type = packed           ? TResName::Text(info.PackedType)
                    : info.TypeName ? TResName::Text(info.TypeName)
                                    : TResName::Number(rtRcData);
    std::string data = packed ? Compressed(path, e->Compression()) : bytes.substr(headerSize);
    w.WriteRecord(type, name, ResMemoryFlags(e->MemOptions), res_.Language, data);
  }
}

void TResCompiler::WriteBitmaps(TResRecordWriter& w) {
  io_.Status(" Compiling Bitmaps...");
  for (auto& e : res_.Bitmaps.Items()) {
    std::string path = ResolveResFile(res_, e->FileName);
    TResName name = EntryName(*e, e->LoadByName);
    uint16_t flags = ResMemoryFlags(e->MemOptions);
    if (res_.CompressionAllowed && (e->Compression == rcRle || e->Compression == rcLzh)) {
      w.WriteRecord(TResName::Text("CMPBMP"), name, flags, res_.Language, Compressed(path, e->Compression));
      continue;
    }
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') {
      io_.ShowError(Format("Bitmap %s is Invalid", {path}));
      return;
    }
    uint32_t declared = uint8_t(bytes[2]) | uint8_t(bytes[3]) << 8 | uint8_t(bytes[4]) << 16 |
                        uint32_t(uint8_t(bytes[5])) << 24;
    size_t size = declared >= 14 && declared <= bytes.size() ? declared : bytes.size();
    w.WriteRecord(TResName::Number(rtBitmap), name, flags, res_.Language, bytes.substr(14, size - 14));
  }
}

void TResCompiler::WriteIcon(TResRecordWriter& w, const TIconEntry& e) {
  std::string path = ResolveResFile(res_, e.FileName);
  TIconFile f = ReadIconFile(ReadFileBytes(path), path);
  uint16_t flags = ResMemoryFlags(e.MemOptions);
  uint16_t first = uint16_t(iconIds_ + 1);
  for (auto& d : f.Entries)
    w.WriteRecord(TResName::Number(rtIcon), TResName::Number(++iconIds_), flags, 0, d.Image);
  std::string group = f.Header;
  for (size_t i = 0; i < f.Entries.size(); ++i) {
    const TIconDirEntry& d = f.Entries[i];
    group += char(d.Width);
    group += char(d.Height);
    group += char(d.ColorCount);
    group += char(d.Reserved);
    Put16(group, d.Planes == 0 ? 1 : d.Planes);
    Put16(group, GroupBitCount(d, w.Is32()));
    Put32(group, d.BytesInRes);
    Put16(group, uint16_t(first + i));
  }
  w.WriteRecord(TResName::Number(rtGroupIcon), EntryName(e, e.LoadByName), flags, 0, group);
}

void TResCompiler::WriteCursor(TResRecordWriter& w, const TIconEntry& e) {
  std::string path = ResolveResFile(res_, e.FileName);
  TIconFile f = ReadIconFile(ReadFileBytes(path), path);
  const TIconDirEntry& d = f.Entries[0];
  uint16_t flags = ResMemoryFlags(e.MemOptions);
  std::string image;
  Put16(image, d.Planes);    // hot spot x
  Put16(image, d.BitCount);  // hot spot y
  image += d.Image;
  w.WriteRecord(TResName::Number(rtCursor), TResName::Number(++cursorIds_), flags, 0, image);
  std::string group = f.Header.substr(0, 4);
  Put16(group, 1);  // the group holds the first image only
  Put16(group, d.Width);
  Put16(group, uint16_t(d.Height * 2));
  Put16(group, 1);
  Put16(group, 1);
  Put32(group, d.BytesInRes + 4);
  Put16(group, cursorIds_);
  w.WriteRecord(TResName::Number(rtGroupCursor), EntryName(e, e.LoadByName), flags, 0, group);
}

bool CompileCommand(TResources& res, bool is32, bool omitVersion, const TResUserIO& io, TCompileSwitches switches,
                    std::vector<std::string>* errors) {
  bool saved32 = res.Is32Bit;
  res.Is32Bit = is32;
  res.OmitVersion = omitVersion;
  struct Restore {
    TResources& r;
    bool is32;
    ~Restore() {
      r.Is32Bit = is32;
      r.OmitVersion = r.Settings.NoVerResource;
    }
  } restore{res, saved32};
  if (!TResCompiler(res, io, switches).Compile(is32, omitVersion, errors)) return false;
  WriteConstsFile(res, io);
  return true;
}

bool CompileOnSave(TResources& res, const TResUserIO& io, TCompileSwitches switches, std::vector<std::string>* errors) {
  TResCompiler compiler(res, io, switches);
  if (!compiler.Compile(res.Is32Bit, res.OmitVersion, errors)) return false;
  if (res.Settings.CompileBoth && !compiler.Compile(!res.Is32Bit, res.OmitVersion, errors)) return false;
  WriteConstsFile(res, io);
  return true;
}

}  // namespace vesper
