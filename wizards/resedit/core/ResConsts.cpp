#include "wizards/resedit/core/ResConsts.h"

#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"
#include "wizards/resedit/core/ResText.h"
#include "wizards/resedit/core/Resources.h"

namespace vesper {

namespace {

const char* kCompressionWords[] = {"Uncompressed", "RLE compression", "LZH compression"};
const char* kKindWords[] = {"RCDATA", "WAVE", "AVI", "Delphi Form"};

// A Pascal brace comment ends at the first "}": keep the text from ending it.
std::string PascalCommentText(std::string_view text) { return StringReplace(text, "}", ")", true); }

template <class List>
size_t LongestName(const List& list) {
  size_t n = 0;
  for (auto& e : list.Items()) n = std::max(n, e->Name.size());
  return n;
}

class TConstsBuilder {
 public:
  TConstsBuilder(const TResources& res, const TResUserIO& io) : res_(res), io_(io), cpp_(res.CppOutput) {}

  TTextLines Build() {
    if (cpp_) {
      std::string guard = ConstsGuard(res_.ConstFileName());
      Add({kDashLine, "#ifndef " + guard, "#define " + guard, kDashLine});
    } else {
      Add({Format("Unit %s;", {ChangeFileExt(ExtractFileName(res_.ConstFileName()), "")}), "", "Interface", ""});
    }
    Sections();
    if (cpp_)
      Add({"#endif"});
    else
      Add({"", "Implementation", "", "End."});
    io_.Status(" Ready");
    return std::move(lines_);
  }

 private:
  const TResources& res_;
  const TResUserIO& io_;
  bool cpp_;
  TTextLines lines_;

  void Add(std::initializer_list<std::string> lines) { lines_.insert(lines_.end(), lines); }
  void Begin(const char* kind, const std::string& cppTitle, const std::string& pasTitle) {
    io_.Status(std::string(" Writing Consts for ") + kind + "...");
    Add({cpp_ ? cppTitle : pasTitle, ""});
  }
  void End() { Add({cpp_ ? kDashLine : ""}); }

  void Sections() {
    if (!res_.Strings.Empty()) Strings();
    if (!res_.RcData.Empty()) RcData();
    if (res_.Is32Bit && !res_.Messages.Empty()) Messages();
    if (!res_.Bitmaps.Empty()) Bitmaps();
    if (!res_.Icons.Empty()) Images("Icons", "Icon", res_.Icons);
    if (!res_.Cursors.Empty()) Images("Cursors", "Cursor", res_.Cursors);
  }

  void Strings() {
    Begin("Strings", "// Strings IDs ", "{ Strings IDs }");
    size_t longest = LongestName(res_.Strings);
    for (auto& e : res_.Strings.Items()) {
      std::string blanks = PadTo(e->Name, longest);
      std::string decl = cpp_ ? Format("#define %s System::Word(%d) %s ", {e->Name, e->Id, blanks})
                              : Format("Const %s = %5.5d; %s ", {e->Name, e->Id, blanks});
      std::string text = cpp_ ? e->Text : PascalCommentText(e->Text);
      std::string comment = cpp_ ? Format("// %s ", {text}) : Format("{ %s }", {text});
      if (comment.size() > 129)
        comment = cpp_ ? Format("// %s", {text.substr(0, 122)}) : Format("{ %s }", {text.substr(0, 122)});
      if (decl.size() + comment.size() < 130) {
        Add({decl + comment});
        continue;
      }
      Add({cpp_ ? Format("#define %s System::Word(%d)", {e->Name, e->Id}) : Format("Const %s = %5.5d;", {e->Name, e->Id}),
           comment});
    }
    End();
  }

  void RcData() {
    Begin("RcData", "// RCDATA IDs", "{ RcData IDs }");
    for (auto& e : res_.RcData.Items()) {
      const char* kind = kKindWords[e->Kind() <= rkForm ? e->Kind() : 0];
      const char* comp = kCompressionWords[e->Compression() <= rcLzh ? e->Compression() : 0];
      Add({cpp_ ? Format("#define %s System::Word(%d) // %s %s", {e->Name, e->Id, kind, comp})
                : Format("Const %s = %5.5d; { %s %s }", {e->Name, e->Id, kind, comp})});
    }
    End();
  }

  void Messages() {
    const TMessageResource& m = res_.Messages;
    Begin("Message Tables", "// Message IDs", "{ Message IDs }");
    size_t longest = LongestName(m);
    uint32_t lang = m.Languages.empty() ? res_.Language : m.Languages.front().Value;
    for (auto& e : m.Items()) {
      if (cpp_) {
        Add({Format("#define %s System::Integer(%d) // %s...", {e->Name, e->FullId, m.DisplayText(*e)})});
      } else {
        std::string text = PascalCommentText(m.Text(*e, lang).substr(0, 50));
        Add({Format("Const %s = $%8.8x; %s { %s... }", {e->Name, e->FullId, PadTo(e->Name, longest), text})});
      }
    }
    End();
    CodeList("Severity", "Sev_", m.Severities);
    CodeList("Facility", "Fac_", m.Facilities);
    CodeList("Language", "Lan_", m.Languages);
  }

  void CodeList(const char* title, const char* prefix, const TNameValueList& list) {
    if (list.empty()) return;
    Add({cpp_ ? Format("// %s Codes", {title}) : Format("{ %s Codes }", {title}), ""});
    for (auto& item : list) {
      std::string name = StringReplace(StringReplace(item.Name, ".", "_", true), " ", "_", true);
      Add({cpp_ ? Format("#define %s%s System::Integer(%d)", {prefix, name, item.Value})
                : Format("Const %s%s = $%x;", {prefix, name, item.Value})});
    }
    End();
  }

  void Bitmaps() {
    Begin("Bitmaps", "// BMP IDs", "{ BMP IDs }");
    for (auto& e : res_.Bitmaps.Items()) {
      std::string comp = e->Compression == rcRle ? " RLE Compression" : e->Compression == rcLzh ? " LZH Compression" : "";
      std::string byName = e->LoadByName ? " Load by Name" : "";
      std::string remark;
      if (cpp_ && (!byName.empty() || !comp.empty())) remark = " //" + byName + comp;
      if (!cpp_ && (!byName.empty() || !comp.empty())) remark = " {" + byName + comp + " }";
      Add({cpp_ ? Format("#define %s System::Word(%d) %s", {e->Name, e->Id, remark})
                : Format("Const %s = %5.5d; %s", {e->Name, e->Id, remark})});
    }
    End();
  }

  template <class List>
  void Images(const char* kind, const char* title, const List& list) {
    Begin(kind, Format("// %s IDs", {title}), Format("{ %s IDs }", {title}));
    for (auto& e : list.Items()) {
      std::string remark = !e->LoadByName ? "" : cpp_ ? " // Load by Name" : " { Load by Name }";
      Add({cpp_ ? Format("#define %s System::Word(%d) %s", {e->Name, e->Id, remark})
                : Format("Const %s = %5.5d;%s", {e->Name, e->Id, remark})});
    }
    End();
  }
};

}  // namespace

std::string ConstsGuard(const std::string& fileName) {
  return StringReplace(ExtractFileName(fileName), ".", "", true);
}

std::vector<std::string> ConstsLines(const TResources& res, const TResUserIO& io) {
  return TConstsBuilder(res, io).Build();
}

void WriteConstsFile(const TResources& res, const TResUserIO& io) { SaveLines(res.ConstFileName(), ConstsLines(res, io)); }

}  // namespace vesper
