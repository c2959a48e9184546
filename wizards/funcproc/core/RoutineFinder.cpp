#include "wizards/funcproc/core/RoutineFinder.h"

#include <algorithm>

#include "platform/Format.h"
#include "wizards/funcproc/core/DelphiParser.h"

namespace vesper {
namespace {

bool IsRoutineKeyword(TDelphiParser& p) {
  return p.TokenSymbolIs("function") || p.TokenSymbolIs("procedure") ||
         p.TokenSymbolIs("constructor") || p.TokenSymbolIs("destructor");
}

}  // namespace

TRoutineFinder::TRoutineFinder(IRoutineSink& sink, const TFuncProcOptions& options)
    : sink_(sink), options_(options) {}

int TRoutineFinder::Scan(TStream& stream) {
  sink_.ClearLists();
  inInterface_ = true;
  inClass_ = false;
  className_.clear();
  lastSymbol_.clear();
  longest_ = {};
  TDelphiParser parser(stream);
  while (parser.Token() != toEOF) {
    if (parser.Token() == toSymbol) {
      if (parser.TokenSymbolIs("implementation")) inInterface_ = false;
      lastSymbol_ = parser.TokenString();
      if (IsRoutineKeyword(parser)) {
        ReadHeading(parser);
        continue;
      }
      if (inClass_ && parser.TokenSymbolIs("end")) inClass_ = false;
      parser.NextToken();
    } else if (parser.Token() == '=') {
      ReadClassDeclaration(parser);
    } else {
      parser.NextToken();
    }
  }
  return parser.SourceLine();
}

void TRoutineFinder::ReadClassDeclaration(TDelphiParser& p) {
  p.NextToken();
  if (!p.TokenSymbolIs("class")) return;
  p.NextToken();
  if (p.Token() == '(') {
    for (int depth = 1; depth > 0 && p.NextToken() != toEOF;) {
      if (p.Token() == '(') ++depth;
      if (p.Token() == ')') --depth;
    }
    p.NextToken();
  }
  // A forward declaration or a class reference type has no body.
  if (p.Token() == ';' || p.TokenSymbolIs("of")) return;
  inClass_ = true;
  className_ = lastSymbol_;
}

void TRoutineFinder::ReadHeading(TDelphiParser& p) {
  TRoutineKind kind = p.TokenSymbolIs("function") ? rkFunction : rkProcedure;
  p.NextToken();
  // Procedural types: "procedure of object", "procedure(X: Integer)", "function: T".
  if (p.Token() != toSymbol || p.TokenSymbolIs("of")) return;
  std::string name = p.TokenString();
  p.NextToken();
  std::string text;
  if (p.Token() == '.') {
    p.NextToken();
    if (p.Token() == toSymbol) {
      name += '.' + p.TokenString();
      p.NextToken();
      text = name + ParameterText(p);
    } else {
      text = name;
    }
  } else if (inClass_) {
    std::string params = ParameterText(p);
    text = options_.ByClass ? className_ + ' ' + name + ' ' + params
                            : name + ' ' + params + " (" + className_ + ')';
  } else {
    text = name + ' ' + ParameterText(p);
  }
  if (SectionListed()) List(kind, std::move(text), p.SourceLine());
}

std::string TRoutineFinder::ParameterText(TDelphiParser& p) {
  std::string text;
  if (options_.HideParams) return text;
  if (p.TokenStringIs("(")) {
    text = "(";
    p.NextToken();
    while (!p.TokenStringIs(")") && p.Token() != toEOF) {
      text += ' ' + p.TokenString();
      p.NextToken();
    }
    text += ')';
    p.NextToken();
  }
  if (p.TokenStringIs(":")) {
    text += " :";
    p.NextToken();
    text += ' ' + p.TokenString();
  }
  return text;
}

bool TRoutineFinder::SectionListed() const {
  switch (options_.Section) {
    case sfBoth: return true;
    case sfInterface: return inInterface_;
    case sfImplementation: return !inInterface_;
  }
  return false;
}

void TRoutineFinder::List(TRoutineKind kind, std::string text, int line) {
  TRoutineList list = kind == rkFunction ? rlFunctions : rlProcedures;
  if (options_.SingleList) {
    if (options_.FpPrefix) text.insert(0, kind == rkFunction ? "function " : "procedure ");
    list = rlFunctions;
  }
  longest_[list] = std::max(longest_[list], text.size());
  sink_.AddRoutine(list, text, line);
}

std::string ScanStatusText(int lines, int64_t milliseconds) {
  std::string time =
      milliseconds < 60000
          ? Format("%2.02f seconds", {double(milliseconds) / 1000.0})
          : Format("%d Mins and %2.02f seconds",
                   {int(milliseconds / 60000), double(milliseconds % 60000) / 1000.0});
  return Format("%d Lines scanned in %s", {lines, time});
}

}  // namespace vesper
