#include "wizards/resedit/core/ResRecord.h"

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "wizards/resedit/core/MemOptions.h"

namespace vesper {

uint16_t ResMemoryFlags(uint16_t options) {
  uint16_t flags = 0x20;
  if (options & moPreload) flags |= 0x40;
  if (options & moMoveable) flags |= 0x10;
  if (options & moDiscardable) flags |= 0x1000;
  return flags;
}

void TResRecordWriter::WriteFileStart() {
  if (!is32_) return;
  WriteHeader(TResName::Number(0), TResName::Number(0), 0, 0, 0);
}

void TResRecordWriter::WriteName32(const TResName& n) {
  if (n.IsId) {
    out_.WriteWord(0xFFFF);
    out_.WriteWord(n.Id);
    return;
  }
  for (char16_t c : AnsiToUtf16(n.Name.substr(0, 255))) out_.WriteWord(uint16_t(c));
  out_.WriteWord(0);
}

void TResRecordWriter::WriteName16(const TResName& n) {
  if (n.IsId) {
    out_.WriteByte(0xFF);
    out_.WriteWord(n.Id);
    return;
  }
  out_.WriteString(n.Name.substr(0, 255));
  out_.WriteByte(0);
}

void TResRecordWriter::WriteHeader(const TResName& type, const TResName& name, uint16_t memFlags,
                                   uint16_t language, uint32_t dataSize) {
  if (!is32_) {
    WriteName16(type);
    WriteName16(name);
    out_.WriteWord(memFlags);
    out_.WriteDWord(dataSize);
    return;
  }
  int64_t start = out_.Position();
  out_.WriteDWord(dataSize);
  out_.WriteDWord(0);  // header size, patched below
  WriteName32(type);
  WriteName32(name);
  out_.PadToDWord();
  out_.WriteDWord(0);  // data version
  out_.WriteWord(memFlags);
  out_.WriteWord(language);
  out_.WriteDWord(0);  // version
  out_.WriteDWord(0);  // characteristics
  int64_t end = out_.Position();
  out_.SetPosition(start + 4);
  out_.WriteDWord(uint32_t(end - start));
  out_.SetPosition(end);
}

void TResRecordWriter::WriteRecord(const TResName& type, const TResName& name, uint16_t memFlags,
                                   uint16_t language, const std::string& data) {
  if (data.size() > 0xFFFFFFFFu) throw EWriteError("Resource data too large");
  WriteHeader(type, name, memFlags, language, uint32_t(data.size()));
  out_.WriteString(data);
  Align();
}

void TResRecordWriter::Align() {
  if (is32_) out_.PadToDWord();
}

}  // namespace vesper
