#include "tools/vesper-ide/ProjectFile.h"

#include <cctype>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/StrUtils.h"

namespace vesper::ide_app {

namespace {

struct Token {
  std::string text;
  size_t offset;
};

// Pascal tokens: identifiers (with dots), strings, and single symbols;
// comments and blanks are skipped.
std::vector<Token> Tokens(const std::string& s) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '{') {
      size_t e = s.find('}', i);
      i = e == std::string::npos ? s.size() : e + 1;
    } else if (c == '(' && i + 1 < s.size() && s[i + 1] == '*') {
      size_t e = s.find("*)", i + 2);
      i = e == std::string::npos ? s.size() : e + 2;
    } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
      size_t e = s.find('\n', i);
      i = e == std::string::npos ? s.size() : e + 1;
    } else if (c == '\'') {
      std::string str = "'";
      size_t b = i++;
      while (i < s.size()) {
        if (s[i] == '\'') {
          if (i + 1 < s.size() && s[i + 1] == '\'') {
            str += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        str += s[i++];
      }
      out.push_back({str, b});
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
      size_t b = i;
      while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_' || s[i] == '.')) ++i;
      out.push_back({s.substr(b, i - b), b});
    } else {
      out.push_back({std::string(1, c), i});
      ++i;
    }
  }
  return out;
}

std::string Resolve(const std::string& folder, const std::string& path) {
  std::string p = StringReplace(path, "\\", "/");
  return ExpandFileName(!p.empty() && p[0] == '/' ? p : JoinPath(folder, p));
}

std::vector<std::string> MakeObjects(const std::string& text) {
  // OBJFILES = a.obj b.obj \ (continued lines)
  std::vector<std::string> out;
  std::string joined = StringReplace(text, "\\\r\n", " ");
  joined = StringReplace(joined, "\\\n", " ");
  for (auto& line : SplitString(joined, '\n')) {
    std::string t = Trim(line);
    if (!StartsText("OBJFILES", t)) continue;
    size_t eq = t.find('=');
    if (eq == std::string::npos) continue;
    for (auto& word : SplitString(t.substr(eq + 1), ' ')) {
      std::string w = Trim(word);
      if (EndsText(".obj", w)) out.push_back(ChangeFileExt(w, ".cpp"));
    }
  }
  return out;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ParseUnitClause(const std::string& text,
                                                                 const std::string& clause) {
  std::vector<std::pair<std::string, std::string>> units;
  auto t = Tokens(text);
  size_t i = 0;
  while (i < t.size() && !SameText(t[i].text, clause)) ++i;
  for (++i; i < t.size() && t[i].text != ";";) {
    std::string name = t[i++].text;
    std::string file;
    if (i + 1 < t.size() && SameText(t[i].text, "in") && t[i + 1].text[0] == '\'') {
      file = t[i + 1].text.substr(1);
      i += 2;
    }
    if (name != ",") units.emplace_back(name, file);
    while (i < t.size() && t[i].text != "," && t[i].text != ";") ++i;  // anything else up to the separator
    if (i < t.size() && t[i].text == ",") ++i;
  }
  return units;
}

namespace {

// Where the clause's closing ";" stands, npos when the text has no clause.
size_t ClauseEnd(const std::string& text, const std::string& clause) {
  auto t = Tokens(text);
  size_t i = 0;
  while (i < t.size() && !SameText(t[i].text, clause)) ++i;
  if (i == t.size()) return std::string::npos;
  while (i < t.size() && t[i].text != ";") ++i;
  return i < t.size() ? t[i].offset : std::string::npos;
}

std::string RelativeTo(const std::string& folder, const std::string& file) {
  return StartsText(folder, file) ? file.substr(folder.size()) : file;
}

}  // namespace

void AddUnitToProjectSource(const std::string& projectFile, const std::string& unitFile) {
  std::string text = ReadFileBytes(projectFile);
  std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  std::string folder = ExtractFilePath(projectFile);
  std::string rel = RelativeTo(folder, unitFile);
  if (SameText(ExtractFileExt(projectFile), ".mak")) {
    size_t at = text.find("OBJFILES");
    if (at == std::string::npos) throw EInOutError("No OBJFILES list in " + projectFile);
    size_t end = at;
    for (;;) {  // end of the logical line, after its continuations
      end = text.find('\n', end);
      if (end == std::string::npos) { end = text.size(); break; }
      size_t last = end > 0 && text[end - 1] == '\r' ? end - 1 : end;
      if (last > 0 && text[last - 1] == '\\') { ++end; continue; }
      end = last;
      break;
    }
    text.insert(end, " " + ChangeFileExt(rel, ".obj"));
  } else {
    const char* clause = SameText(ExtractFileExt(projectFile), ".dpk") ? "contains" : "uses";
    std::string unit = ChangeFileExt(ExtractFileName(unitFile), "");
    size_t end = ClauseEnd(text, clause);
    if (end == std::string::npos) {
      // No clause yet: add one after the program heading's ";".
      size_t heading = ClauseEnd(text, SameText(clause, "uses") ? "program" : "package");
      if (heading == std::string::npos) heading = ClauseEnd(text, "library");
      if (heading == std::string::npos) throw EInOutError("No program heading in " + projectFile);
      text.insert(heading + 1, eol + eol + clause + eol + "  " + unit + " in " + QuotedStr(rel) + ";");
    } else {
      text.insert(end, "," + eol + "  " + unit + " in " + QuotedStr(rel));
    }
  }
  SaveFileAtomic(projectFile, text);
}

ProjectFile ReadProjectFile(const std::string& fileName) {
  ProjectFile p;
  p.FileName = ExpandFileName(fileName);
  std::string text = ReadFileBytes(p.FileName);
  std::string folder = ExtractFilePath(p.FileName);
  if (SameText(ExtractFileExt(p.FileName), ".mak")) {
    for (auto& src : MakeObjects(text)) p.Units.push_back(Resolve(folder, src));
    return p;
  }
  const char* clause = SameText(ExtractFileExt(p.FileName), ".dpk") ? "contains" : "uses";
  for (auto& [name, file] : ParseUnitClause(text, clause))
    if (!file.empty()) p.Units.push_back(Resolve(folder, file));
  return p;
}

}  // namespace vesper::ide_app
