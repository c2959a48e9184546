#include "grep-engine/LineMatcher.h"

#include <cstring>
#include <stdexcept>

namespace vesper::rx {
namespace {

enum : uint8_t {
  kEnd = 0,
  kTextStart = 1,
  kTextEnd = 2,
  kAny = 3,
  kInSet = 4,
  kNotInSet = 5,
  kBranch = 6,
  kBack = 7,
  kLiteral = 8,
  kNothing = 9,
  kStar = 10,
  kPlus = 11,
  kOpen = 20,
  kClose = 30,
};

// Flags of a compiled piece.
constexpr int kWorst = 0, kHasWidth = 1, kSimple = 2, kSpStart = 4;

// A matcher that runs longer than this gives up (no match): backtracking
// over a long line can otherwise take exponential time or exhaust the stack.
constexpr long kMaxSteps = 20000000;
constexpr int kMaxDepth = 20000;

constexpr char kMeta[] = "^$.[()|?+*\\";

bool IsMult(uint8_t c) { return c == '*' || c == '+' || c == '?'; }
uint8_t Op(const uint8_t* p) { return p[0]; }
const uint8_t* Operand(const uint8_t* p) { return p + 3; }

struct CompileError {
  const char* message;
};

}  // namespace

// Two passes over the pattern: the first only measures, the second emits.
class LineMatcher::Compiler {
 public:
  Compiler(const char* pattern, uint8_t* program, bool emit) : parse_(reinterpret_cast<const uint8_t*>(pattern)), prog_(program), emit_(emit) {}

  size_t Run() {
    Emit(kMagic);
    Reg(false, flags_);
    return code_;
  }
  int flags_ = 0;

 private:
  static constexpr size_t kNone = SIZE_MAX;

  void Emit(uint8_t b) {
    if (emit_) prog_[code_] = b;
    ++code_;
  }
  size_t Node(uint8_t op) {
    size_t ret = code_;
    Emit(op);
    Emit(0);
    Emit(0);
    return ret;
  }
  void Insert(uint8_t op, size_t operand) {
    if (emit_) {
      std::memmove(prog_ + operand + 3, prog_ + operand, code_ - operand);
      prog_[operand] = op;
      prog_[operand + 1] = 0;
      prog_[operand + 2] = 0;
    }
    code_ += 3;
  }
  size_t NextOf(size_t p) const {
    int offset = (prog_[p + 1] << 8) | prog_[p + 2];
    if (offset == 0) return kNone;
    return prog_[p] == kBack ? p - offset : p + offset;
  }
  void Tail(size_t p, size_t val) {
    if (!emit_ || p == kNone) return;
    size_t scan = p;
    for (size_t t; (t = NextOf(scan)) != kNone;) scan = t;
    size_t offset = prog_[scan] == kBack ? scan - val : val - scan;
    prog_[scan + 1] = static_cast<uint8_t>(offset >> 8);
    prog_[scan + 2] = static_cast<uint8_t>(offset);
  }
  void OpTail(size_t p, size_t val) {
    if (!emit_ || p == kNone || prog_[p] != kBranch) return;
    Tail(p + 3, val);
  }

  size_t Reg(bool paren, int& flags) {
    flags = kHasWidth;
    size_t ret = kNone;
    int parno = 0;
    if (paren) {
      if (groups_ >= 10) throw CompileError{"Mismatched () or []"};
      parno = groups_++;
      ret = Node(static_cast<uint8_t>(kOpen + parno));
    }
    int brFlags;
    size_t br = Branch(brFlags);
    if (ret != kNone)
      Tail(ret, br);
    else
      ret = br;
    if (!(brFlags & kHasWidth)) flags &= ~kHasWidth;
    flags |= brFlags & kSpStart;
    while (*parse_ == '|') {
      ++parse_;
      br = Branch(brFlags);
      Tail(ret, br);
      if (!(brFlags & kHasWidth)) flags &= ~kHasWidth;
      flags |= brFlags & kSpStart;
    }
    size_t ender = Node(static_cast<uint8_t>(paren ? kClose + parno : kEnd));
    Tail(ret, ender);
    if (emit_)
      for (size_t b = ret; b != kNone; b = NextOf(b)) OpTail(b, ender);
    if (paren) {
      if (*parse_ != ')') throw CompileError{"Mismatched () or []"};
      ++parse_;
    } else if (*parse_ != '\0') {
      throw CompileError{"Mismatched () or []"};  // a ')' without '('
    }
    return ret;
  }

  size_t Branch(int& flags) {
    flags = kWorst;
    size_t ret = Node(kBranch);
    size_t chain = kNone;
    while (*parse_ != '\0' && *parse_ != '|' && *parse_ != ')') {
      int pieceFlags;
      size_t latest = Piece(pieceFlags);
      flags |= pieceFlags & kHasWidth;
      if (chain == kNone)
        flags |= pieceFlags & kSpStart;
      else
        Tail(chain, latest);
      chain = latest;
    }
    if (chain == kNone) Node(kNothing);
    return ret;
  }

  size_t Piece(int& flags) {
    int atomFlags;
    size_t ret = Atom(atomFlags);
    uint8_t op = *parse_;
    if (!IsMult(op)) {
      flags = atomFlags;
      return ret;
    }
    if (!(atomFlags & kHasWidth) && op != '?') throw CompileError{"Illegal use of * or +"};
    flags = op != '+' ? (kWorst | kSpStart) : (kWorst | kHasWidth);
    if (op == '*' && (atomFlags & kSimple)) {
      Insert(kStar, ret);
    } else if (op == '*') {
      Insert(kBranch, ret);
      OpTail(ret, Node(kBack));
      OpTail(ret, ret);
      Tail(ret, Node(kBranch));
      Tail(ret, Node(kNothing));
    } else if (op == '+' && (atomFlags & kSimple)) {
      Insert(kPlus, ret);
    } else if (op == '+') {
      size_t next = Node(kBranch);
      Tail(ret, next);
      Tail(Node(kBack), ret);
      Tail(next, Node(kBranch));
      Tail(ret, Node(kNothing));
    } else {
      Insert(kBranch, ret);
      Tail(ret, Node(kBranch));
      size_t next = Node(kNothing);
      Tail(ret, next);
      OpTail(ret, next);
    }
    ++parse_;
    if (IsMult(*parse_)) throw CompileError{"Illegal nesting"};
    return ret;
  }

  size_t Atom(int& flags) {
    flags = kWorst;
    size_t ret;
    uint8_t c = *parse_++;
    switch (c) {
      case '^': ret = Node(kTextStart); break;
      case '$': ret = Node(kTextEnd); break;
      case '.':
        ret = Node(kAny);
        flags |= kHasWidth | kSimple;
        break;
      case '[': {
        if (*parse_ == '^') {
          ret = Node(kNotInSet);
          ++parse_;
        } else {
          ret = Node(kInSet);
        }
        if (*parse_ == ']' || *parse_ == '-') Emit(*parse_++);
        while (*parse_ != '\0' && *parse_ != ']') {
          if (*parse_ == '-') {
            ++parse_;
            if (*parse_ == ']' || *parse_ == '\0') {
              Emit('-');
            } else {
              int from = parse_[-2] + 1, to = *parse_;
              if (from > to + 1) throw CompileError{"Illegal [] range"};
              for (; from <= to; ++from) Emit(static_cast<uint8_t>(from));
              ++parse_;
            }
          } else {
            Emit(*parse_++);
          }
        }
        Emit(0);
        if (*parse_ != ']') throw CompileError{"Mismatched () or []"};
        ++parse_;
        flags |= kHasWidth | kSimple;
        break;
      }
      case '(': {
        int groupFlags;
        ret = Reg(true, groupFlags);
        flags |= groupFlags & (kHasWidth | kSpStart);
        break;
      }
      case '?':
      case '+':
      case '*': throw CompileError{"Illegal ?, +, or * usage"};
      case '\\':
        if (*parse_ == '\0') throw CompileError{"Illegal backslashes"};
        ret = Node(kLiteral);
        Emit(*parse_++);
        Emit(0);
        flags |= kHasWidth | kSimple;
        break;
      default: {
        --parse_;
        size_t len = std::strcspn(reinterpret_cast<const char*>(parse_), kMeta);
        if (len > 1 && IsMult(parse_[len])) --len;
        flags |= kHasWidth;
        if (len == 1) flags |= kSimple;
        ret = Node(kLiteral);
        while (len-- > 0) Emit(*parse_++);
        Emit(0);
        break;
      }
    }
    return ret;
  }

  const uint8_t* parse_;
  uint8_t* prog_;
  bool emit_;
  size_t code_ = 0;
  int groups_ = 1;
};

void LineMatcher::Record(const char* message) {
  std::strncpy(message_, message, sizeof message_ - 1);
  message_[sizeof message_ - 1] = '\0';
  ++errorCount_;
}

const uint8_t* LineMatcher::Next(const uint8_t* p) const {
  int offset = (p[1] << 8) | p[2];
  if (offset == 0) return nullptr;
  return Op(p) == kBack ? p - offset : p + offset;
}

int LineMatcher::Init(const char* pattern) {
  errorCount_ = 0;
  message_[0] = '\0';
  int flags = 0;
  if (!pattern) {
    Record("Invalid argument");
    return errorCount_;
  }
  try {
    size_t size = Compiler(pattern, nullptr, false).Run();
    if (size > kProgramSize) throw CompileError{nullptr};  // would not fit
    Compiler compiler(pattern, program_, true);
    compiler.Run();
    flags = compiler.flags_;
  } catch (const CompileError& e) {
    if (e.message) Record(e.message);
    Record("Insufficient expression");
    return errorCount_;
  }
  first_ = 0;
  anchored_ = false;
  must_ = nullptr;
  mustLen_ = 0;
  const uint8_t* scan = program_ + 1;  // the first BRANCH
  if (Op(Next(scan)) == kEnd) {
    scan = Operand(scan);
    if (Op(scan) == kLiteral)
      first_ = *Operand(scan);
    else if (Op(scan) == kTextStart)
      anchored_ = true;
    if (flags & kSpStart) {
      for (; scan; scan = Next(scan)) {
        if (Op(scan) != kLiteral) continue;
        size_t len = std::strlen(reinterpret_cast<const char*>(Operand(scan)));
        if (len >= mustLen_) {
          must_ = Operand(scan);
          mustLen_ = len;
        }
      }
    }
  }
  return errorCount_;
}

size_t LineMatcher::Repeat(const uint8_t* node) {
  const uint8_t* scan = input_;
  const char* operand = reinterpret_cast<const char*>(Operand(node));
  switch (Op(node)) {
    case kAny: return std::strlen(reinterpret_cast<const char*>(scan));
    case kLiteral:
      while (*scan && *scan == static_cast<uint8_t>(*operand)) ++scan;
      break;
    case kInSet:
      while (*scan && std::strchr(operand, *scan)) ++scan;
      break;
    case kNotInSet:
      while (*scan && !std::strchr(operand, *scan)) ++scan;
      break;
    default: break;
  }
  return static_cast<size_t>(scan - input_);
}

bool LineMatcher::Run(const uint8_t* scan) {
  if (aborted_ || ++depth_ > kMaxDepth) {
    aborted_ = true;
    --depth_;
    return false;
  }
  struct DepthGuard {
    int& d;
    ~DepthGuard() { --d; }
  } guard{depth_};
  while (scan) {
    if (++steps_ > kMaxSteps) {
      aborted_ = true;
      return false;
    }
    const uint8_t* next = Next(scan);
    uint8_t op = Op(scan);
    switch (op) {
      case kTextStart:
        if (input_ != bol_) return false;
        break;
      case kTextEnd:
        if (*input_) return false;
        break;
      case kAny:
        if (!*input_) return false;
        ++input_;
        break;
      case kLiteral: {
        const uint8_t* operand = Operand(scan);
        if (*operand != *input_) return false;
        size_t len = std::strlen(reinterpret_cast<const char*>(operand));
        if (len > 1 && std::strncmp(reinterpret_cast<const char*>(operand), reinterpret_cast<const char*>(input_), len))
          return false;
        input_ += len;
        break;
      }
      case kInSet:
      case kNotInSet: {
        if (!*input_) return false;
        bool in = std::strchr(reinterpret_cast<const char*>(Operand(scan)), *input_) != nullptr;
        if (in != (op == kInSet)) return false;
        ++input_;
        break;
      }
      case kNothing:
      case kBack: break;
      case kBranch: {
        if (Op(next) != kBranch) {
          next = Operand(scan);  // a single alternative
          break;
        }
        do {
          const uint8_t* save = input_;
          if (Run(Operand(scan))) return true;
          input_ = save;
          scan = Next(scan);
        } while (scan && Op(scan) == kBranch);
        return false;
      }
      case kStar:
      case kPlus: {
        uint8_t nextChar = Op(next) == kLiteral ? *Operand(next) : 0;
        size_t min = op == kStar ? 0 : 1;
        const uint8_t* save = input_;
        size_t n = Repeat(Operand(scan));
        while (n >= min) {
          input_ = save + n;
          if ((nextChar == 0 || *input_ == nextChar) && Run(next)) return true;
          if (n-- == 0) break;
        }
        return false;
      }
      case kEnd: return true;
      default:
        if (op > kOpen && op < kOpen + 10) {
          const uint8_t* save = input_;
          if (!Run(next)) return false;
          if (!startp_[op - kOpen]) startp_[op - kOpen] = save;
          return true;
        }
        if (op > kClose && op < kClose + 10) {
          const uint8_t* save = input_;
          if (!Run(next)) return false;
          if (!endp_[op - kClose]) endp_[op - kClose] = save;
          return true;
        }
        return false;
    }
    scan = next;
  }
  return false;
}

bool LineMatcher::Try(const uint8_t* at) {
  input_ = at;
  for (int i = 0; i < 10; ++i) startp_[i] = endp_[i] = nullptr;
  if (!Run(program_ + 1)) return false;
  startp_[0] = at;
  endp_[0] = input_;
  return true;
}

int LineMatcher::Match(const char* text, int* result) {
  auto fail = [&] {
    if (result) result[0] = -1;
    return 0;
  };
  if (!text) {
    Record("Invalid argument");
    return fail();
  }
  if (program_[0] != kMagic) {
    Record("Parse overload");
    return fail();
  }
  const uint8_t* s = reinterpret_cast<const uint8_t*>(text);
  if (must_) {
    const uint8_t* at = s;
    bool found = false;
    while ((at = reinterpret_cast<const uint8_t*>(std::strchr(reinterpret_cast<const char*>(at), *must_)))) {
      if (std::strncmp(reinterpret_cast<const char*>(at), reinterpret_cast<const char*>(must_), mustLen_) == 0) {
        found = true;
        break;
      }
      ++at;
    }
    if (!found) return fail();
  }
  bol_ = s;
  steps_ = 0;
  depth_ = 0;
  aborted_ = false;
  bool matched = false;
  if (anchored_) {
    matched = Try(s);
  } else if (first_) {
    for (const uint8_t* at = s; !matched && !aborted_ &&
                                (at = reinterpret_cast<const uint8_t*>(std::strchr(reinterpret_cast<const char*>(at), first_)));
         ++at)
      matched = Try(at);
  } else {
    const uint8_t* at = s;
    do {
      matched = Try(at);
    } while (!matched && !aborted_ && *at++);
  }
  if (!matched) return fail();
  if (result) {
    result[0] = static_cast<int>(startp_[0] - s) + 1;
    int len = static_cast<int>(endp_[0] - startp_[0]);
    result[1] = len ? len : 1;
  }
  return 1;
}

int LineMatcher::GetError(char* destination) const {
  size_t len = std::strlen(message_);
  if (destination) std::memcpy(destination, message_, len + 1);
  return static_cast<int>(len + 1);
}

}  // namespace vesper::rx
