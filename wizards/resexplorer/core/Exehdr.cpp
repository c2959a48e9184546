#include "wizards/resexplorer/core/Exehdr.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/Exception.h"
#include "platform/Streams.h"

namespace vesper {
namespace {

uint16_t Word(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t DWord(const uint8_t* p) { return uint32_t(Word(p)) | (uint32_t(Word(p + 2)) << 16); }

bool ReadExact(TStream& s, void* buffer, size_t count) { return s.Read(buffer, count) == count; }

bool SeekTo(TStream& s, int64_t pos) { return pos >= 0 && s.Seek(pos, SeekOrigin::Beginning) == pos; }

// A name of the resource table: a length byte and that many bytes.
int ReadTableName(TStream& s, int64_t tableStart, uint16_t offset, std::string& name) {
  uint8_t len;
  if (!SeekTo(s, tableStart + offset) || !ReadExact(s, &len, 1)) return ehReadFailed;
  name.assign(len, '\0');
  if (len && !ReadExact(s, name.data(), len)) return ehReadFailed;
  return ehOk;
}

int ReadTypes(TStream& s, TExeHeaders& h) {
  for (;;) {
    uint8_t entry[8];
    if (!ReadExact(s, entry, 2)) return ehReadFailed;
    if (Word(entry) == 0) return ehOk;
    if (!ReadExact(s, entry + 2, 6)) return ehReadFailed;
    TTypeInfo type;
    type.TypeId = Word(entry);
    type.Count = Word(entry + 2);
    type.Reserved = DWord(entry + 4);
    std::vector<uint8_t> raw(size_t(type.Count) * 12);
    if (!raw.empty() && !ReadExact(s, raw.data(), raw.size())) return ehReadFailed;
    type.Resources.resize(type.Count);
    for (size_t i = 0; i < type.Count; ++i) {
      const uint8_t* p = raw.data() + i * 12;
      TNameInfo& r = type.Resources[i];
      r.Offset = Word(p);
      r.Length = Word(p + 2);
      r.Flags = Word(p + 4);
      r.Id = Word(p + 6);
      r.Handle = Word(p + 8);
      r.Usage = Word(p + 10);
    }
    h.Types.push_back(std::move(type));
  }
}

int ReadNames(TStream& s, TExeHeaders& h, int64_t tableStart) {
  for (TTypeInfo& type : h.Types) {
    if (!(type.TypeId & 0x8000)) {
      if (int rc = ReadTableName(s, tableStart, type.TypeId, type.Name)) return rc;
    }
    for (TNameInfo& r : type.Resources) {
      if (r.Id & 0x8000) continue;
      if (int rc = ReadTableName(s, tableStart, r.Id, r.Name)) return rc;
    }
  }
  return ehOk;
}

int ReadResourceTable(TStream& s, TExeHeaders& h, uint32_t newOffset) {
  uint16_t tableOffset = Word(&h.NewHeader[0x24]);
  if (tableOffset == Word(&h.NewHeader[0x26])) return ehOk;
  int64_t tableStart = int64_t(newOffset) + tableOffset;
  uint8_t shift[2];
  if (!SeekTo(s, tableStart) || !ReadExact(s, shift, 2)) return ehReadFailed;
  h.AlignShift = Word(shift);
  if (int rc = ReadTypes(s, h)) return rc;
  return ReadNames(s, h, tableStart);
}

int ReadHeaders(TStream& s, TExeHeaders& h) {
  if (!SeekTo(s, 0) || !ReadExact(s, h.DosHeader.data(), 64)) return ehReadFailed;
  if (h.DosHeader[0] != 'M' || h.DosHeader[1] != 'Z') return ehNotExecutable;
  if (Word(&h.DosHeader[0x18]) < 0x40) {
    h.NewHeader[0] = h.NewHeader[1] = 0;
    return ehOk;
  }
  uint32_t newOffset = DWord(&h.DosHeader[0x3C]);
  if (!SeekTo(s, newOffset) || !ReadExact(s, h.NewHeader.data(), 64)) return ehReadFailed;
  if (h.NewHeader[0] != 'N' || h.NewHeader[1] != 'E') return ehNotNewExe;
  h.EntryTable.resize(Word(&h.NewHeader[0x06]));
  if (!SeekTo(s, int64_t(newOffset) + Word(&h.NewHeader[0x04]))) return ehReadFailed;
  if (!h.EntryTable.empty() && !ReadExact(s, h.EntryTable.data(), h.EntryTable.size()))
    return ehReadFailed;
  if (h.NewHeader[0x36] != 2) return ehOk;
  return ReadResourceTable(s, h, newOffset);
}

}  // namespace

int ReadExeHeaders(TStream& stream, TExeHeaders& headers) {
  int rc;
  try {
    rc = ReadHeaders(stream, headers);
  } catch (const std::bad_alloc&) {
    rc = ehNoMemory;
  } catch (const EStreamError&) {
    rc = ehReadFailed;
  }
  if (rc != ehOk) FreeExeHeaders(headers);
  return rc;
}

int ReadExeHeaders(const std::string& fileName, TExeHeaders& headers) {
  FreeExeHeaders(headers);
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(fileName, fmOpenRead);
  } catch (const Exception&) {
    return ehOpenFailed;
  }
  headers.FileName = fileName;
  int rc = ReadExeHeaders(*file, headers);
  if (rc == ehOk) headers.FileName = fileName;
  return rc;
}

void FreeExeHeaders(TExeHeaders& headers) { headers = TExeHeaders{}; }

std::string ExeHeaderErrorText(int code) {
  switch (code) {
    case ehOpenFailed: return "Opening File";
    case ehNotExecutable: return "Unable to read Executable";
    case ehReadFailed: return "Read file";
    case ehNoMemory: return "Memory allocation";
    case ehNotResFile: return "Not a valid resource file";
    default: return "";
  }
}

}  // namespace vesper
