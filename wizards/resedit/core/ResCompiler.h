// Compiles a resource project into a 32-bit (".R32") or 16-bit (".R16")
// resource file without an external resource compiler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "wizards/resedit/core/ResNotices.h"

namespace vesper {

class TResources;
class TResRecordWriter;
struct TIconEntry;

// A file that cannot be compiled (a damaged icon or cursor file).
VESPER_EXCEPTION(EResCompileError, Exception)

// The "Compile" menu's per-kind switches; a kind switched off is left out.
struct TCompileSwitches {
  bool Bitmaps = true, Icons = true, Cursors = true, RcData = true, Strings = true, MessageTables = true,
       Version = true, PopUps = true;  // PopUps has no effect
};

inline constexpr const char* kCompilerErrorsCaption = "Resource Compiler Errors";

// The file an entry names: as given, else in the project folder when the
// name has no folder; empty when neither exists.
std::string ResolveResFile(const TResources& res, const std::string& fileName);

class TResCompiler {
 public:
  TResCompiler(TResources& res, const TResUserIO& io = {}, TCompileSwitches switches = {});

  // One line "%s : %s" (kind, file name) per missing RCDATA, bitmap, cursor
  // or icon file.
  std::vector<std::string> PreCheck() const;
  // Writes the project's ".R32" or ".R16" (deleted when it would hold
  // nothing). False when the pre-check failed: `errors` then holds its lines
  // and nothing is written. Raises the stream, compression and
  // EResCompileError exceptions.
  bool Compile(bool is32, bool omitVersion, std::vector<std::string>* errors = nullptr);
  // The bytes a compile writes (no pre-check, no file).
  std::string CompileBytes(bool is32, bool omitVersion);

 private:
  TResources& res_;
  TResUserIO io_;
  TCompileSwitches sw_;
  uint16_t iconIds_ = 0, cursorIds_ = 0;

  void WriteVersion(TResRecordWriter& w);
  void WriteStrings(TResRecordWriter& w);
  void WriteMessageTables(TResRecordWriter& w);
  void WriteRcData(TResRecordWriter& w);
  void WriteBitmaps(TResRecordWriter& w);
  void WriteIcon(TResRecordWriter& w, const TIconEntry& e);
  void WriteCursor(TResRecordWriter& w, const TIconEntry& e);
  std::string Compressed(const std::string& path, uint8_t method);
};

// The main window's compile commands: compile with the given format and
// version choice, write the constants file, then restore the project's
// 32-bit flag and its omit-version flag (to the NoVerResource setting).
bool CompileCommand(TResources& res, bool is32, bool omitVersion, const TResUserIO& io = {},
                    TCompileSwitches switches = {}, std::vector<std::string>* errors = nullptr);

// Compile on save (the CompOnSave setting; the caller checks it): the
// project's own format, with CompileBoth the other one too, then the
// constants file. False when the pre-check failed.
bool CompileOnSave(TResources& res, const TResUserIO& io = {}, TCompileSwitches switches = {},
                   std::vector<std::string>* errors = nullptr);

}  // namespace vesper
