#include "grep-engine/FileMatcher.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "grep-engine/LineCount.h"

namespace vesper::rx {
namespace {

// Token values above the byte range. Classes are kClass + index.
enum : int {
  kEmpty = 256,
  kReference,
  kLineStart,
  kLineEnd,
  kWordStart,
  kWordEnd,
  kWordEdge,
  kNotWordEdge,
  kOptional,
  kStar,
  kPlus,
  kCat,
  kOr,
  kEnd,
  kClass,
  // Lexer-only tokens.
  kLParen = -3,
  kRParen = -2,
  kEof = -1,
};

// Constraint masks: bit 2p+n word context, bit 4+2p+n line context.
constexpr uint8_t kNoConstraint = 0xFF;
constexpr uint8_t kLineStartMask = 0xCF;
constexpr uint8_t kLineEndMask = 0xAF;
constexpr uint8_t kWordStartMask = 0xF2;
constexpr uint8_t kWordEndMask = 0xF4;
constexpr uint8_t kNotWordEdgeMask = 0xF9;

constexpr int kMaxNesting = 4000;

bool IsWordByte(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
bool IsUpper(int c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(int c) { return c >= 'a' && c <= 'z'; }
int ToLower(int c) { return IsUpper(c) ? c + 32 : c; }
int ToUpper(int c) { return IsLower(c) ? c - 32 : c; }

bool LineContext(uint8_t c, bool prev, bool next) { return c & (1 << (4 + (prev ? 2 : 0) + (next ? 1 : 0))); }
bool WordContext(uint8_t c, bool prev, bool next) { return c & (1 << ((prev ? 2 : 0) + (next ? 1 : 0))); }
bool Succeeds(uint8_t c, bool prevNl, bool nextNl, bool prevWord, bool nextWord) {
  return LineContext(c, prevNl, nextNl) && WordContext(c, prevWord, nextWord);
}
bool PrevNewlineDependent(uint8_t c) { return ((c & 0xC0) >> 2) != (c & 0x30); }
bool PrevWordDependent(uint8_t c) { return ((c & 0x0C) >> 2) != (c & 0x03); }

using Bits = std::vector<uint64_t>;
void SetBit(Bits& b, int c) { b[c >> 6] |= uint64_t{1} << (c & 63); }
bool TestBit(const Bits& b, int c) { return (b[c >> 6] >> (c & 63)) & 1; }

uint64_t StateKey(uint32_t hash, size_t count, bool newline, bool word) {
  return (uint64_t{hash} << 32) ^ (uint64_t{count} << 2) ^ (newline ? 2 : 0) ^ (word ? 1 : 0);
}

// Class bit of the next byte for the success mask.
struct ClassBits {
  uint8_t v[256];
  ClassBits() {
    for (int c = 0; c < 256; ++c) v[c] = c == '\n' ? 4 : IsWordByte(c) ? 2 : 1;
  }
};
const ClassBits kClassBits;

}  // namespace

// Recursive-descent parser producing the postfix token list.
class FileMatcher::Parser {
 public:
  Parser(FileMatcher& m, std::string_view pattern, bool fold) : m_(m), p_(pattern), fold_(fold) {}

  void Run() {
    tok_ = Lex();
    Regexp();
    if (tok_ != kEof) throw MatchError("Unbalanced )");
    m_.tokens_.push_back(kEnd);
    m_.tokens_.push_back(kCat);
  }

 private:
  int Fetch(const char* error) {
    if (pos_ >= p_.size()) throw MatchError(error);
    return static_cast<uint8_t>(p_[pos_++]);
  }

  int AddClass(const Bits& bits) {
    auto& cls = m_.classes_;
    for (size_t i = 0; i < cls.size(); ++i)
      if (cls[i] == bits) return kClass + static_cast<int>(i);
    cls.push_back(bits);
    return kClass + static_cast<int>(cls.size() - 1);
  }

  // A literal byte; with folding a letter is a class of both cases.
  int Literal(int c) {
    if (!fold_ || !(IsUpper(c) || IsLower(c))) return c;
    Bits b(4, 0);
    SetBit(b, ToLower(c));
    SetBit(b, ToUpper(c));
    return AddClass(b);
  }

  int WordClass(bool invert) {
    Bits b(4, 0);
    for (int c = 0; c < 256; ++c)
      if (IsWordByte(c) != invert) SetBit(b, c);
    return AddClass(b);
  }

  int Bracket() {
    Bits b(4, 0);
    bool invert = false;
    int c = Fetch("Unbalanced [");
    if (c == '^') {
      invert = true;
      c = Fetch("Unbalanced [");
    }
    // Letters in a bracket are taken in lower case when folding.
    auto fold = [&](int x) { return fold_ ? ToLower(x) : x; };
    int c1;
    do {
      c1 = Fetch("Unbalanced [");
      if (c1 == '-') {
        int c2 = Fetch("Unbalanced [");
        for (int x = fold(c); x <= fold(c2); ++x) SetBit(b, x);
        c1 = Fetch("Unbalanced [");
      } else {
        SetBit(b, fold(c));
      }
    } while ((c = c1) != ']');
    if (invert) {
      for (auto& w : b) w = ~w;
      b['\n' >> 6] &= ~(uint64_t{1} << ('\n' & 63));
    }
    return AddClass(b);
  }

  int Lex() {
    if (pos_ >= p_.size()) return kEof;
    int c = static_cast<uint8_t>(p_[pos_++]);
    switch (c) {
      case '\\': {
        int e = Fetch("Unfinished \\ quote");
        if (e >= '1' && e <= '9') {
          m_.hasBackref_ = true;
          return kReference;
        }
        switch (e) {
          case '<': return kWordStart;
          case '>': return kWordEnd;
          case 'b': return kWordEdge;
          case 'B': return kNotWordEdge;
          case 'w': return WordClass(false);
          case 'W': return WordClass(true);
          default: return Literal(e);
        }
      }
      case '^': return kLineStart;
      case '$': return kLineEnd;
      case '*': return kStar;
      case '+': return kPlus;
      case '?': return kOptional;
      case '|':
      case '\n': return kOr;
      case '(': return kLParen;
      case ')': return kRParen;
      case '.': {
        Bits b(4, ~uint64_t{0});
        b['\n' >> 6] &= ~(uint64_t{1} << ('\n' & 63));
        return AddClass(b);
      }
      case '[': return Bracket();
      default: return Literal(c);
    }
  }

  void Atom() {
    if (tok_ >= 0 && tok_ != kStar && tok_ != kPlus && tok_ != kOptional && tok_ != kOr) {
      m_.tokens_.push_back(tok_);
      tok_ = Lex();
    } else if (tok_ == kLParen) {
      if (++depth_ > kMaxNesting) throw MatchError("Memory exhausted");
      tok_ = Lex();
      Regexp();
      if (tok_ != kRParen) throw MatchError("Unbalanced (");
      --depth_;
      tok_ = Lex();
    } else {
      m_.tokens_.push_back(kEmpty);
    }
  }

  void Closure() {
    Atom();
    while (tok_ == kStar || tok_ == kPlus || tok_ == kOptional) {
      m_.tokens_.push_back(tok_);
      tok_ = Lex();
    }
  }

  void Branch() {
    Closure();
    while (tok_ != kRParen && tok_ != kOr && tok_ != kEof) {
      Closure();
      m_.tokens_.push_back(kCat);
    }
  }

  void Regexp() {
    Branch();
    while (tok_ == kOr) {
      tok_ = Lex();
      Branch();
      m_.tokens_.push_back(kOr);
    }
  }

  FileMatcher& m_;
  std::string_view p_;
  bool fold_;
  size_t pos_ = 0;
  int tok_ = kEof;
  int depth_ = 0;
};

FileMatcher::FileMatcher() = default;

FileMatcher::~FileMatcher() { FreeRegex(); }

bool FileMatcher::IsAnchor(int t) const { return t >= kLineStart && t <= kNotWordEdge; }

bool FileMatcher::MatchesByte(int t, int c) const {
  if (t < 256) return t == c;
  if (t >= kClass) return TestBit(classes_[t - kClass], c);
  return false;
}

// Adds a pair. Pairs of one position are merged by or-ing their constraints
// only where the or means exactly "either constraint holds" (one contains
// the other, or both share their line or their word part); otherwise both
// pairs are kept, so that merging never lets a position be entered in a
// context that neither constraint allows.
void FileMatcher::Insert(PairSet& set, Pair p) {
  if ((p.constraint & 0x0F) == 0 || (p.constraint & 0xF0) == 0) return;  // never satisfiable
  auto lo = std::lower_bound(set.begin(), set.end(), p.pos, [](const Pair& a, int pos) { return a.pos < pos; });
  for (;;) {
    bool changed = false;
    for (auto it = lo; it != set.end() && it->pos == p.pos;) {
      uint8_t e = it->constraint, c = p.constraint;
      if ((e | c) == e) return;  // already covered
      if ((e | c) == c || (e & 0xF0) == (c & 0xF0) || (e & 0x0F) == (c & 0x0F)) {
        p.constraint = e | c;
        it = set.erase(it);
        changed = true;
      } else {
        ++it;
      }
    }
    if (!changed) break;
  }
  auto at = lo;
  while (at != set.end() && at->pos == p.pos && at->constraint < p.constraint) ++at;
  set.insert(at, p);
}

void FileMatcher::Merge(PairSet& dst, const PairSet& src, uint8_t mask) {
  for (const Pair& p : src) Insert(dst, Pair{p.pos, static_cast<uint8_t>(p.constraint & mask)});
}

uint8_t AnchorMask(int t) {
  switch (t) {
    case kLineStart: return kLineStartMask;
    case kLineEnd: return kLineEndMask;
    case kWordStart: return kWordStartMask;
    case kWordEnd:
    case kWordEdge: return kWordEndMask;
    case kNotWordEdge: return kNotWordEdgeMask;
    default: return kNoConstraint;
  }
}

// Replaces anchor positions by what follows them, narrowing the constraint.
void FileMatcher::Close(PairSet& set) const {
  std::set<int> visited;  // (position, constraint) already expanded
  for (size_t i = 0; i < set.size();) {
    int t = tokens_[set[i].pos];
    if (!IsAnchor(t)) {
      ++i;
      continue;
    }
    Pair old = set[i];
    set.erase(set.begin() + static_cast<ptrdiff_t>(i));
    if (visited.insert(old.pos * 256 + old.constraint).second) {
      uint8_t c = old.constraint & AnchorMask(t);
      for (const Pair& f : follows_[old.pos]) Insert(set, Pair{f.pos, c});
    }
    i = 0;
  }
}

struct FileMatcher::Analysis {
  bool nullable;
  PairSet first, last;
};

void FileMatcher::Analyse() {
  const int n = static_cast<int>(tokens_.size());
  follows_.assign(n, {});
  std::vector<Analysis> stack;
  for (int i = 0; i < n; ++i) {
    int t = tokens_[i];
    switch (t) {
      case kEmpty: stack.push_back({true, {}, {}}); break;
      case kStar:
      case kPlus:
      case kOptional: {
        Analysis& a = stack.back();
        if (t != kOptional)
          for (const Pair& p : a.last) Merge(follows_[p.pos], a.first);
        if (t != kPlus) a.nullable = true;
        break;
      }
      case kCat: {
        Analysis r = std::move(stack.back());
        stack.pop_back();
        Analysis& l = stack.back();
        for (const Pair& p : l.last) Merge(follows_[p.pos], r.first);
        if (l.nullable) Merge(l.first, r.first);
        if (r.nullable) Merge(r.last, l.last);
        l.last = std::move(r.last);
        l.nullable = l.nullable && r.nullable;
        break;
      }
      case kOr: {
        Analysis r = std::move(stack.back());
        stack.pop_back();
        Analysis& l = stack.back();
        l.nullable = l.nullable || r.nullable;
        Merge(l.first, r.first);
        Merge(l.last, r.last);
        break;
      }
      default:
        stack.push_back({t == kReference, {Pair{i, kNoConstraint}}, {Pair{i, kNoConstraint}}});
        break;
    }
  }
  for (int i = 0; i < n; ++i)
    if (!IsAnchor(tokens_[i]) && !follows_[i].empty()) Close(follows_[i]);
  PairSet initial = std::move(stack.back().first);
  Close(initial);
  bool wantsNewline = false;
  for (const Pair& p : initial) wantsNewline |= PrevNewlineDependent(p.constraint);
  StateIndex(initial, wantsNewline, false);
}

int FileMatcher::StateIndex(const PairSet& set, bool newline, bool word) {
  uint32_t hash = 0;
  for (const Pair& p : set) hash ^= static_cast<uint32_t>(p.pos + p.constraint);
  uint64_t key = StateKey(hash, set.size(), newline, word);
  auto range = stateIndex_.equal_range(key);
  for (auto it = range.first; it != range.second; ++it) {
    const State& s = states_[it->second];
    if (s.hash == hash && s.newline == newline && s.word == word && s.elems.size() == set.size() &&
        std::equal(set.begin(), set.end(), s.elems.begin(),
                   [](const Pair& a, const Pair& b) { return a.pos == b.pos && a.constraint == b.constraint; }))
      return it->second;
  }
  State s;
  s.elems = set;
  s.hash = hash;
  s.newline = newline;
  s.word = word;
  for (const Pair& p : set) {
    int t = tokens_[p.pos];
    if (t == kEnd) {
      uint8_t c = p.constraint;
      if (Succeeds(c, newline, true, word, false)) s.success |= 4;
      if (Succeeds(c, newline, false, word, true)) s.success |= 2;
      if (Succeeds(c, newline, false, word, false)) s.success |= 1;
    } else if (t == kReference) {
      s.backref = true;
    }
  }
  if (s.backref) s.success = 7;  // the confirmation step decides
  int index = static_cast<int>(states_.size());
  states_.push_back(std::move(s));
  stateIndex_.emplace(key, index);
  slot_.push_back(-1);
  return index;
}

void FileMatcher::ReleaseTables() {
  std::fill(slot_.begin(), slot_.end(), -1);
  owner_.clear();
  tableCount_ = 0;
  ++generation_;
}

// Drops every state but the initial one, between lines, so that a pattern
// with a huge automaton cannot grow memory without bound.
void FileMatcher::ForgetStates() {
  states_.resize(1);
  stateIndex_.clear();
  const State& initial = states_[0];
  stateIndex_.emplace(StateKey(initial.hash, initial.elems.size(), initial.newline, initial.word), 0);
  ReleaseTables();
  slot_.resize(1);
}

void FileMatcher::BuildTable(int s) {
  if (tableCount_ >= kMaxTables) ReleaseTables();
  // Bytes each pair may consume in this state's context.
  const size_t count = states_[s].elems.size();
  const bool prevNl = states_[s].newline, prevWord = states_[s].word;
  std::vector<Bits> matches(count, Bits(4, 0));
  for (size_t i = 0; i < count; ++i) {
    const Pair p = states_[s].elems[i];
    int t = tokens_[p.pos];
    if (t < 256) {
      SetBit(matches[i], t);
    } else if (t >= kClass) {
      matches[i] = classes_[t - kClass];
    } else {
      continue;
    }
    if (p.constraint == kNoConstraint) continue;
    Bits& m = matches[i];
    if (!LineContext(p.constraint, prevNl, true)) m['\n' >> 6] &= ~(uint64_t{1} << ('\n' & 63));
    if (!LineContext(p.constraint, prevNl, false)) {
      bool nl = TestBit(m, '\n');
      std::fill(m.begin(), m.end(), 0);
      if (nl) SetBit(m, '\n');
    }
    for (int c = 0; c < 256; ++c) {
      if (!TestBit(m, c) || c == '\n') continue;
      bool w = IsWordByte(c);
      if (!WordContext(p.constraint, prevWord, w)) m[c >> 6] &= ~(uint64_t{1} << (c & 63));
    }
  }
  // Group the bytes by the set of pairs that consume them.
  std::map<std::vector<int>, std::vector<int>> groups;
  std::vector<int> defaultBytes;
  for (int c = 0; c < 256; ++c) {
    if (c == '\n') continue;
    std::vector<int> who;
    for (size_t i = 0; i < count; ++i)
      if (TestBit(matches[i], c)) who.push_back(static_cast<int>(i));
    if (who.empty())
      defaultBytes.push_back(c);
    else
      groups[std::move(who)].push_back(c);
  }
  const int slot = tableCount_++;
  if (flat_.size() < static_cast<size_t>(slot + 1) * 256) flat_.resize(static_cast<size_t>(slot + 1) * 256);
  owner_.push_back(s);
  std::vector<int32_t> table(256, -1);
  // Targets for one follow set: the plain variant and the after-a-word one.
  auto assign = [&](const PairSet& follows, const std::vector<int>& bytes) {
    bool hasWord = false;
    for (int c : bytes) hasWord |= IsWordByte(c);
    bool wantsWord = false;
    if (hasWord)
      for (const Pair& p : follows) wantsWord |= PrevWordDependent(p.constraint);
    int plain = StateIndex(follows, false, false);
    int word = wantsWord ? StateIndex(follows, false, true) : plain;
    for (int c : bytes) table[c] = IsWordByte(c) ? word : plain;
  };
  if (!defaultBytes.empty()) {
    PairSet initial = states_[0].elems;
    assign(initial, defaultBytes);
  }
  for (auto& [who, bytes] : groups) {
    PairSet follows;
    for (int i : who) Merge(follows, follows_[states_[s].elems[i].pos]);
    Merge(follows, states_[0].elems);
    assign(follows, bytes);
  }
  for (int c = 0; c < 256; ++c) {
    int t = table[c];
    if (t >= 0) table[c] = slot_[t] >= 0 && !states_[t].success ? slot_[t] * 256 : -(t + 2);
  }
  std::copy(table.begin(), table.end(), flat_.begin() + static_cast<ptrdiff_t>(slot) * 256);
  slot_[s] = slot;
}

const uint8_t* FileMatcher::RunDfa(const uint8_t* begin, const uint8_t* end, int64_t& lines, bool& backref) {
  const uint8_t* p = begin;
  int s = 0;               // the state after the bytes before p
  int64_t patchAt = -1;    // the entry that led to s, to point it at s's table
  uint32_t patchGeneration = 0;
  for (;;) {
    if (s == -1) {  // a line feed was consumed
      ++lines;
      if (p >= end) return nullptr;
      if (states_.size() > kMaxStates) ForgetStates();
      s = 0;
      patchAt = -1;
    }
    if (slot_[s] < 0) BuildTable(s);
    const int32_t base = slot_[s] * 256;
    const uint8_t success = states_[s].success;
    if (patchAt >= 0 && patchGeneration == generation_ && !success) flat_[patchAt] = base;
    const int32_t* f = flat_.data();
    int32_t code;
    if (success) {
      if (success & kClassBits.v[*p]) {
        backref = states_[s].backref;
        return p;
      }
      patchAt = base + *p;
      code = f[base + *p++];
    } else {
      // Two bytes per round; leaves at line feeds, accepting states and
      // states without a table.
      int32_t x = base;
      for (;;) {
        int32_t y = f[x + p[0]];
        if (y < 0) {
          patchAt = x + p[0];
          code = y;
          p += 1;
          break;
        }
        x = f[y + p[1]];
        if (x < 0) {
          patchAt = y + p[1];
          code = x;
          p += 2;
          break;
        }
        p += 2;
      }
    }
    patchGeneration = generation_;
    s = code >= 0 ? owner_[code >> 8] : code == -1 ? -1 : -code - 2;
  }
}

const uint8_t* FileMatcher::Execute(const uint8_t* begin, const uint8_t* end, int64_t& lines, bool& backref) {
  backref = false;
  if (begin >= end) return nullptr;
  if (!finder_) return RunDfa(begin, end, lines, backref);
  // Only lines holding the required literal can match.
  const uint8_t* p = begin;
  while (p < end) {
    const uint8_t* hit = finder_->Find(p, end);
    if (!hit) {
      lines += CountLineFeeds(p, end);
      return nullptr;
    }
    const void* nl = memrchr(p, '\n', hit - p);
    const uint8_t* lineStart = nl ? static_cast<const uint8_t*>(nl) + 1 : p;
    lines += CountLineFeeds(p, lineStart);
    const uint8_t* lineEnd = static_cast<const uint8_t*>(std::memchr(hit, '\n', end - hit)) + 1;
    if (const uint8_t* m = RunDfa(lineStart, lineEnd, lines, backref)) return m;
    p = lineEnd;
  }
  return nullptr;
}

namespace {

struct MustInfo {
  bool exact = false;
  std::string str, left, right, in;
  std::vector<std::string> any;  // every match holds one of these
};

using LiteralSet = std::vector<std::string>;

// Higher is a better filter: the length of the shortest literal.
size_t Score(const LiteralSet& set) {
  size_t best = SIZE_MAX;
  for (auto& s : set) best = std::min(best, s.size());
  return set.empty() ? 0 : best;
}

// The commonness of the set's most common first byte.
int Commonness(const LiteralSet& set) {
  int worst = 0;
  for (auto& s : set)
    if (!s.empty()) worst = std::max(worst, rx::Commonness(static_cast<uint8_t>(s[0])));
  return worst;
}

const LiteralSet& Better(const LiteralSet& a, const LiteralSet& b) {
  size_t sa = Score(a), sb = Score(b);
  if (sa != sb) return sb > sa ? b : a;
  if (a.size() != b.size()) return b.size() < a.size() ? b : a;
  return sa == 1 && Commonness(b) < Commonness(a) ? b : a;
}

constexpr size_t kMaxAlternatives = 8;
constexpr int kCommonByte = 70;  // "etaoins" and the blank

const std::string& Longest(const std::string& a, const std::string& b) { return b.size() > a.size() ? b : a; }

}  // namespace

// A literal that every match contains, used to skip lines that cannot match.
void FileMatcher::ComputeRequiredLiteral(bool fold) {
  std::vector<MustInfo> stack;
  // A byte a token stands for, or -1.
  auto literalByte = [&](int t) -> int {
    if (t < 256) return t == '\n' ? -1 : t;
    if (t < kClass) return -1;
    const Bits& b = classes_[t - kClass];
    int first = -1, n = 0;
    for (int c = 0; c < 256; ++c)
      if (TestBit(b, c)) {
        if (n++ == 0) first = c;
      }
    if (n == 1 && first != '\n') return fold ? ToLower(first) : first;
    if (fold && n == 2 && IsUpper(first) && TestBit(b, ToLower(first))) return ToLower(first);
    return -1;
  };
  for (int t : tokens_) {
    switch (t) {
      case kStar:
      case kOptional: stack.back() = MustInfo{}; break;
      case kPlus:
        stack.back().exact = false;
        stack.back().str.clear();
        stack.back().any = Better(stack.back().any, {stack.back().in});
        break;
      case kCat: {
        MustInfo r = std::move(stack.back());
        stack.pop_back();
        MustInfo& l = stack.back();
        MustInfo m;
        m.in = Longest(Longest(l.in, r.in), l.right + r.left);
        m.left = l.exact ? l.str + r.left : l.left;
        m.right = r.exact ? l.right + r.str : r.right;
        m.exact = l.exact && r.exact;
        if (m.exact) m.str = l.str + r.str;
        m.in = Longest(Longest(m.in, m.left), m.right);
        m.any = Better(Better(l.any, r.any), {m.in});
        l = std::move(m);
        break;
      }
      case kOr: {
        MustInfo r = std::move(stack.back());
        stack.pop_back();
        MustInfo& l = stack.back();
        MustInfo m;
        m.exact = l.exact && r.exact && l.str == r.str;
        if (m.exact) m.str = l.str;
        size_t k = 0;
        while (k < l.left.size() && k < r.left.size() && l.left[k] == r.left[k]) ++k;
        m.left = l.left.substr(0, k);
        k = 0;
        while (k < l.right.size() && k < r.right.size() &&
               l.right[l.right.size() - 1 - k] == r.right[r.right.size() - 1 - k])
          ++k;
        m.right = l.right.substr(l.right.size() - k);
        m.in = Longest(m.left, m.right);
        if (r.in.find(l.in) != std::string::npos) m.in = Longest(m.in, l.in);
        if (l.in.find(r.in) != std::string::npos) m.in = Longest(m.in, r.in);
        if (Score(l.any) > 0 && Score(r.any) > 0) {
          m.any = l.any;
          for (auto& x : r.any)
            if (std::find(m.any.begin(), m.any.end(), x) == m.any.end()) m.any.push_back(x);
          if (m.any.size() > kMaxAlternatives) m.any.clear();
        }
        m.any = Better(m.any, {m.in});
        l = std::move(m);
        break;
      }
      default: {
        MustInfo m;
        int c = literalByte(t);
        if (c >= 0) {
          m.exact = true;
          m.str = m.left = m.right = m.in = std::string(1, static_cast<char>(c));
          m.any = {m.in};
        } else if (t == kEmpty || t == kEnd || IsAnchor(t)) {
          m.exact = true;  // zero width
        }
        stack.push_back(std::move(m));
        break;
      }
    }
  }
  if (stack.empty()) return;
  musts_ = Better({stack.back().in}, stack.back().any);
  // A single common byte is a poor filter (most lines hold it); the
  // automaton alone does better.
  if (Score(musts_) == 1) {
    bool poor = musts_.size() > 1;
    for (auto& m : musts_) {
      uint8_t c = m[0];
      poor |= rx::Commonness(c) >= kCommonByte;
    }
    if (poor) musts_.clear();
  }
  if (!musts_.empty()) finder_ = std::make_unique<LiteralFinder>(musts_, fold);
}

void FileMatcher::FreeRegex() {
  if (regexReady_) {
    regex_.translate = nullptr;  // ours, not the library's
    regfree(&regex_);
    regexReady_ = false;
  }
  regex_ = re_pattern_buffer{};
}

// The pattern as the regex library gets it. With folding, letters are
// lower-cased except the letter of an escape. A run of repetition operators
// is written as the one operator it amounts to (the library builds a copy of
// the repeated expression for each, which grows without bound).
static std::string RegexText(std::string_view pattern, bool fold) {
  std::string text;
  auto lower = [&](char c) { return fold ? static_cast<char>(ToLower(static_cast<uint8_t>(c))) : c; };
  for (size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    if (c == '\\') {
      text += pattern.substr(i, 2);
      i += 2;
    } else if (c == '[') {
      // The bracket as the automaton's parser reads it: the first member
      // may be ']', and a range takes the byte after '-' even when it is ']'.
      size_t j = i + 1;
      if (j < pattern.size() && pattern[j] == '^') ++j;
      size_t first = j;
      while (j < pattern.size() && (j == first || pattern[j] != ']')) {
        if (j + 1 < pattern.size() && pattern[j + 1] == '-') j += 2;
        ++j;
      }
      for (size_t k = i; k <= j && k < pattern.size(); ++k) text += lower(pattern[k]);
      i = j + 1;
    } else if (c == '*' || c == '+' || c == '?') {
      bool star = false, plus = false, optional = false;
      for (; i < pattern.size() && (pattern[i] == '*' || pattern[i] == '+' || pattern[i] == '?'); ++i) {
        star |= pattern[i] == '*';
        plus |= pattern[i] == '+';
        optional |= pattern[i] == '?';
      }
      text += star || (plus && optional) ? '*' : plus ? '+' : '?';
    } else {
      text += lower(c);
      ++i;
    }
  }
  return text;
}

void FileMatcher::CompileBackref(std::string_view pattern, bool fold, std::string& error) {
  FreeRegex();
  // The egrep syntax of the automaton's parser: no intervals, no named
  // classes, a newline separates alternatives.
  re_set_syntax(RE_CONTEXT_INDEP_ANCHORS | RE_CONTEXT_INDEP_OPS | RE_HAT_LISTS_NOT_NEWLINE | RE_NEWLINE_ALT |
                RE_NO_BK_PARENS | RE_NO_BK_VBAR);
  std::string text = RegexText(pattern, fold);
  if (fold) {
    for (int c = 0; c < 256; ++c) translate_[c] = static_cast<char>(ToLower(c));
    regex_.translate = reinterpret_cast<unsigned char*>(translate_);
  }
  regex_.fastmap = static_cast<char*>(std::malloc(256));  // released by regfree
  if (const char* msg = re_compile_pattern(text.data(), text.size(), &regex_)) {
    error = msg;
    regex_.translate = nullptr;
    regfree(&regex_);
    regex_ = re_pattern_buffer{};
    return;
  }
  regexReady_ = true;
}

std::string FileMatcher::Compile(std::string_view pattern, bool fold) {
  tokens_.clear();
  classes_.clear();
  follows_.clear();
  states_.clear();
  stateIndex_.clear();
  flat_.clear();
  slot_.clear();
  owner_.clear();
  tableCount_ = 0;
  ++generation_;
  musts_.clear();
  finder_.reset();
  hasBackref_ = false;
  FreeRegex();
  try {
    Parser(*this, pattern, fold).Run();
    Analyse();
    ComputeRequiredLiteral(fold);
  } catch (const std::bad_alloc&) {
    throw MatchError("Memory exhausted");
  }
  // Only lines matched through a back-reference are confirmed, so only a
  // pattern that has one needs the regex library.
  std::string error;
  if (hasBackref_) CompileBackref(pattern, fold, error);
  return error;
}

bool FileMatcher::Confirm(const uint8_t* line, size_t len) {
  if (!regexReady_) return false;
  regoff_t n = static_cast<regoff_t>(len);
  return re_search(&regex_, reinterpret_cast<const char*>(line), n, 0, n, nullptr) >= 0;
}

}  // namespace vesper::rx
