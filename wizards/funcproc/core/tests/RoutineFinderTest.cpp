#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizards/funcproc/core/LexAnalyser.h"
#include "wizards/funcproc/core/RoutineFinder.h"

using namespace vesper;

namespace {

struct Entry {
  TRoutineList list;
  std::string text;
  int line;
  bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
  return os << "{" << (e.list == rlFunctions ? "F" : "P") << ", \"" << e.text << "\", " << e.line << "}";
}

// Records the entries in the order the scan delivers them.
class TRecorder : public IRoutineSink {
 public:
  void ClearLists() override {
    entries.clear();
    ++clears;
  }
  void AddRoutine(TRoutineList list, const std::string& text, int line) override {
    entries.push_back({list, text, line});
  }
  std::vector<Entry> entries;
  int clears = 0;
};

std::vector<Entry> Scan(const std::string& source, const TFuncProcOptions& options) {
  TRecorder rec;
  TRoutineFinder finder(rec, options);
  TMemoryStream stream(source);
  finder.Scan(stream);
  return rec.entries;
}

TFuncProcOptions Both() {
  TFuncProcOptions o;
  o.Section = sfBoth;
  return o;
}
TFuncProcOptions Params() {
  TFuncProcOptions o = Both();
  o.HideParams = false;
  return o;
}
TFuncProcOptions ByClass() {
  TFuncProcOptions o = Both();
  o.ByClass = true;
  return o;
}

const char kUnit[] =
    "unit U;\n"                                               // 1
    "interface\n"                                             // 2
    "type\n"                                                  // 3
    "  TFoo = class(TBar)\n"                                  // 4
    "    procedure Paint; override;\n"                        // 5
    "    function Get(I: Integer): string;\n"                 // 6
    "    constructor Create;\n"                               // 7
    "  end;\n"                                                // 8
    "function Twice(A: Integer;\n"                            // 9
    "  B: Integer): Boolean;\n"                               // 10
    "implementation\n"                                        // 11
    "procedure TFoo.Paint;\n"                                 // 12
    "  procedure Nested; begin end;\n"                        // 13
    "begin end;\n"                                            // 14
    "function TFoo.Get(I: Integer): string; begin end;\n"     // 15
    "destructor TFoo.Destroy; begin end;\n"                   // 16
    "end.\n";                                                 // 17

}  // namespace

TEST(RoutineFinder, Options) {
  TFuncProcOptions interfaceOnly, implementationOnly = Both(), single = Both(), noPrefix = Both();
  implementationOnly.Section = sfImplementation;
  single.SingleList = true;
  noPrefix.SingleList = true;
  noPrefix.FpPrefix = false;
  struct Case {
    const char* name;
    TFuncProcOptions options;
    std::vector<Entry> entries;
  } cases[] = {
      {"interface", interfaceOnly,
       {{rlProcedures, "Paint  (TFoo)", 5}, {rlFunctions, "Get  (TFoo)", 6},
        {rlProcedures, "Create  (TFoo)", 7}, {rlFunctions, "Twice ", 9}}},
      {"implementation", implementationOnly,
       {{rlProcedures, "TFoo.Paint", 12}, {rlProcedures, "Nested ", 13},
        {rlFunctions, "TFoo.Get", 15}, {rlProcedures, "TFoo.Destroy", 16}}},
      {"by class", ByClass(),
       {{rlProcedures, "TFoo Paint ", 5}, {rlFunctions, "TFoo Get ", 6},
        {rlProcedures, "TFoo Create ", 7}, {rlFunctions, "Twice ", 9},
        {rlProcedures, "TFoo.Paint", 12}, {rlProcedures, "Nested ", 13},
        {rlFunctions, "TFoo.Get", 15}, {rlProcedures, "TFoo.Destroy", 16}}},
      {"params", Params(),
       {{rlProcedures, "Paint  (TFoo)", 5}, {rlFunctions, "Get ( I : Integer) : string (TFoo)", 6},
        {rlProcedures, "Create  (TFoo)", 7},
        // The line is that of the heading's last token.
        {rlFunctions, "Twice ( A : Integer ; B : Integer) : Boolean", 10},
        {rlProcedures, "TFoo.Paint", 12}, {rlProcedures, "Nested ", 13},
        {rlFunctions, "TFoo.Get( I : Integer) : string", 15}, {rlProcedures, "TFoo.Destroy", 16}}},
      {"single", single,
       {{rlFunctions, "procedure Paint  (TFoo)", 5}, {rlFunctions, "function Get  (TFoo)", 6},
        {rlFunctions, "procedure Create  (TFoo)", 7}, {rlFunctions, "function Twice ", 9},
        {rlFunctions, "procedure TFoo.Paint", 12}, {rlFunctions, "procedure Nested ", 13},
        {rlFunctions, "function TFoo.Get", 15}, {rlFunctions, "procedure TFoo.Destroy", 16}}},
      {"single without prefix", noPrefix,
       {{rlFunctions, "Paint  (TFoo)", 5}, {rlFunctions, "Get  (TFoo)", 6},
        {rlFunctions, "Create  (TFoo)", 7}, {rlFunctions, "Twice ", 9},
        {rlFunctions, "TFoo.Paint", 12}, {rlFunctions, "Nested ", 13},
        {rlFunctions, "TFoo.Get", 15}, {rlFunctions, "TFoo.Destroy", 16}}},
  };
  for (auto& c : cases) EXPECT_EQ(Scan(kUnit, c.options), c.entries) << c.name;
}

TEST(RoutineFinder, Shapes) {
  struct Case {
    const char* source;
    TFuncProcOptions options;
    std::vector<Entry> entries;
  } cases[] = {
      // Headings in comments and strings are not listed; line feeds in comments count.
      {"{ procedure A; }\n(* function B: X;\n*)\n// procedure C;\nS = 'procedure D;';\nprocedure E;",
       Both(), {{rlProcedures, "E ", 6}}},
      {"(*) procedure A; *) (* note **) procedure B;", Both(), {{rlProcedures, "B ", 1}}},
      // Procedural types are skipped.
      {"type TProc = procedure(X: Integer);\nTM = procedure of object;\nTF = function: Integer;",
       Both(), {}},
      // A program without "implementation" is all interface.
      {"program P;\nprocedure A; begin end;\nbegin end.", TFuncProcOptions{}, {{rlProcedures, "A ", 2}}},
      // Forward and class-reference declarations start no class body.
      {"type TA = class;\nTB = class(TObject);\nTC = class of TA;\nprocedure P;", Both(),
       {{rlProcedures, "P ", 4}}},
      // Class bodies end at "end"; nested parentheses in the ancestor list.
      {"TA = class(TB, (C))\nfunction F: T;\nend;\nfunction G: T;", Both(),
       {{rlFunctions, "F  (TA)", 2}, {rlFunctions, "G ", 4}}},
      {"TA = class procedure M; end;", ByClass(), {{rlProcedures, "TA M ", 1}}},
      // class methods, overloads, forward and external declarations are listed.
      {"TA = class\nclass function Make: TA;\nend;\nprocedure X; forward;\n"
       "procedure X(I: Integer); overload; external 'lib';",
       Both(), {{rlFunctions, "Make  (TA)", 2}, {rlProcedures, "X ", 4}, {rlProcedures, "X ", 5}}},
      // A qualified name whose second part is not a symbol.
      {"procedure TA.(;", Both(), {{rlProcedures, "TA", 1}}},
      {"procedure TA.;", Params(), {{rlProcedures, "TA", 1}}},
      // Keywords are found whatever their case.
      {"IMPLEMENTATION\nPROCEDURE Up;", TFuncProcOptions{}, {}},
      {"IMPLEMENTATION\nPROCEDURE Up;", Both(), {{rlProcedures, "Up ", 2}}},
      // A file ending inside a parameter list ends the text and the scan.
      {"function F(A: Integer", Params(), {{rlFunctions, "F ( A : Integer)", 1}}},
      {"procedure", Both(), {}},
      {"procedure P(", Params(), {{rlProcedures, "P ()", 1}}},
      {"function F:", Params(), {{rlFunctions, "F  : ", 1}}},
  };
  for (auto& c : cases) EXPECT_EQ(Scan(c.source, c.options), c.entries) << c.source;
}

TEST(RoutineFinder, LongestTextsAndLineCount) {
  TRecorder rec;
  TFuncProcOptions o = Both();
  TRoutineFinder finder(rec, o);
  TMemoryStream stream(kUnit);
  EXPECT_EQ(finder.Scan(stream), 18);
  EXPECT_EQ(finder.LongestText(rlFunctions), std::string("Get  (TFoo)").size());
  EXPECT_EQ(finder.LongestText(rlProcedures), std::string("Create  (TFoo)").size());
  // A second scan starts from empty lists and fresh state.
  TMemoryStream second("procedure P;");
  EXPECT_EQ(finder.Scan(second), 1);
  EXPECT_EQ(rec.clears, 2);
  EXPECT_EQ(rec.entries, (std::vector<Entry>{{rlProcedures, "P ", 1}}));
  EXPECT_EQ(finder.LongestText(rlFunctions), 0u);
}

TEST(RoutineFinder, ScannerErrorKeepsWhatWasFound) {
  TRecorder rec;
  TRoutineFinder finder(rec, Both());
  TMemoryStream stream("procedure A;\nprocedure B;\nS := 'open\nprocedure C;");
  try {
    finder.Scan(stream);
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_STREQ(e.what(), "Invalid string constant on line 3");
  }
  EXPECT_EQ(rec.entries, (std::vector<Entry>{{rlProcedures, "A ", 1}, {rlProcedures, "B ", 2}}));
}

TEST(RoutineFinder, StatusText) {
  EXPECT_EQ(ScanStatusText(120, 50), "120 Lines scanned in 0.05 seconds");
  EXPECT_EQ(ScanStatusText(1, 59999), "1 Lines scanned in 60.00 seconds");
  EXPECT_EQ(ScanStatusText(7, 125250), "7 Lines scanned in 2 Mins and 5.25 seconds");
}
