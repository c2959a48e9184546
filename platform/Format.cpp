#include "platform/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/Exception.h"

namespace vesper {

char DecimalSeparator = '.';
char ThousandSeparator = ',';
char DateSeparator = '/';
char TimeSeparator = ':';
std::string CurrencyString = "$";
uint8_t CurrencyFormat = 0;
uint8_t NegCurrFormat = 0;
uint8_t CurrencyDecimals = 2;
std::string ShortDateFormat = "m/d/yyyy";
std::string LongDateFormat = "dddd, mmmm d, yyyy";
std::string ShortTimeFormat = "h:nn AMPM";
std::string LongTimeFormat = "h:nn:ss AMPM";
std::string TimeAMString = "AM";
std::string TimePMString = "PM";
std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
std::array<std::string, 12> LongMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};

namespace {

constexpr int kMaxPrecision = 18;
// Width and precision beyond this are treated as this (keeps a stray
// "%999999999d" from asking for gigabytes).
constexpr int kMaxWidth = 1 << 20;

// A decimal value: 0.digits * 10^exponent, digits without trailing zeros;
// zero has no digits.
struct FloatDigits {
  bool negative = false;
  bool nan = false;
  bool inf = false;
  int exponent = 0;
  std::string digits;
};

// The value rounded (half away from zero) to at most `precision` significant
// digits and `decimals` digits after the point.
FloatDigits ToDigits(long double value, int precision, int decimals) {
  FloatDigits d;
  if (std::isnan(value)) {
    d.nan = true;
    return d;
  }
  d.negative = std::signbit(value);
  if (std::isinf(value)) {
    d.inf = true;
    return d;
  }
  if (value == 0) {
    d.negative = false;
    return d;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*Le", kMaxPrecision - 1, std::fabs(value));
  // buf: "d.ddddde[+-]x"
  std::string all;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p) {
    if (*p != '.') all += *p;
  }
  d.exponent = std::atoi(p + 1) + 1;
  int keep = std::min(std::clamp(precision, 1, kMaxPrecision), d.exponent + decimals);
  if (keep < 0) {
    d.digits.clear();
  } else if (keep < int(all.size())) {
    bool up = all[size_t(keep)] >= '5';
    all.resize(size_t(keep));
    if (up) {
      int i = keep - 1;
      for (; i >= 0 && all[size_t(i)] == '9'; --i) all[size_t(i)] = '0';
      if (i >= 0) {
        ++all[size_t(i)];
      } else {
        all.insert(all.begin(), '1');
        ++d.exponent;
      }
    }
    d.digits = all;
  } else {
    d.digits = all;
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) {
    d.negative = false;
    d.exponent = 0;
  }
  return d;
}

char DigitAt(const FloatDigits& d, int i) {
  return i >= 0 && i < int(d.digits.size()) ? d.digits[size_t(i)] : '0';
}

std::string Special(const FloatDigits& d) {
  if (d.nan) return "NAN";
  return d.negative ? "-INF" : "INF";
}

std::string ExponentText(int e, bool plusSign, int minDigits) {
  std::string s = std::to_string(std::abs(e));
  if (int(s.size()) < minDigits) s.insert(0, size_t(minDigits) - s.size(), '0');
  if (e < 0) return "-" + s;
  return plusSign ? "+" + s : s;
}

// Integer digits (with optional thousands separators) and `decimals` places.
std::string FixedDigits(const FloatDigits& d, int decimals, bool thousands) {
  std::string s;
  if (d.exponent <= 0) {
    s = "0";
  } else {
    for (int i = 0; i < d.exponent; ++i) {
      if (thousands && i > 0 && (d.exponent - i) % 3 == 0) s += ThousandSeparator;
      s += DigitAt(d, i);
    }
  }
  if (decimals > 0) {
    s += DecimalSeparator;
    for (int i = 0; i < decimals; ++i) s += DigitAt(d, d.exponent + i);
  }
  return s;
}

std::string GeneralText(const FloatDigits& d, int precision, int expDigits) {
  if (d.digits.empty()) return "0";
  std::string s = d.negative ? "-" : "";
  int n = int(d.digits.size());
  if (d.exponent > precision || d.exponent < -3) {
    s += d.digits[0];
    if (n > 1) s += DecimalSeparator + d.digits.substr(1);
    return s + "E" + ExponentText(d.exponent - 1, false, expDigits);
  }
  if (d.exponent <= 0) {
    s += "0";
    s += DecimalSeparator;
    s.append(size_t(-d.exponent), '0');
    return s + d.digits;
  }
  for (int i = 0; i < d.exponent; ++i) s += DigitAt(d, i);
  if (n > d.exponent) s += DecimalSeparator + d.digits.substr(size_t(d.exponent));
  return s;
}

std::string ExponentForm(const FloatDigits& d, int precision, int expDigits) {
  std::string s = d.negative ? "-" : "";
  s += DigitAt(d, 0);
  if (precision > 1) {
    s += DecimalSeparator;
    for (int i = 1; i < precision; ++i) s += DigitAt(d, i);
  }
  int e = d.digits.empty() ? 0 : d.exponent - 1;
  return s + "E" + ExponentText(e, true, expDigits);
}

std::string CurrencyText(const std::string& number, bool negative) {
  const std::string& c = CurrencyString;
  if (!negative) {
    switch (CurrencyFormat) {
      case 1: return number + c;
      case 2: return c + " " + number;
      case 3: return number + " " + c;
      default: return c + number;
    }
  }
  switch (NegCurrFormat) {
    case 1: return "-" + c + number;
    case 2: return c + "-" + number;
    case 3: return c + number + "-";
    case 4: return "(" + number + c + ")";
    case 5: return "-" + number + c;
    case 6: return number + "-" + c;
    case 7: return number + c + "-";
    case 8: return "-" + number + " " + c;
    case 9: return "-" + c + " " + number;
    case 10: return number + " " + c + "-";
    case 11: return c + " " + number + "-";
    case 12: return c + " -" + number;
    case 13: return number + "- " + c;
    case 14: return "(" + c + " " + number + ")";
    case 15: return "(" + number + " " + c + ")";
    default: return "(" + c + number + ")";
  }
}

}  // namespace

std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
  precision = std::clamp(precision, 1, kMaxPrecision);
  switch (format) {
    case TFloatFormat::ffGeneral:
    case TFloatFormat::ffExponent: {
      FloatDigits d = ToDigits(value, precision, 9999);
      if (d.nan || d.inf) return Special(d);
      int expDigits = std::clamp(digits, 0, 4);
      if (format == TFloatFormat::ffGeneral) return GeneralText(d, precision, expDigits);
      return ExponentForm(d, precision, expDigits);
    }
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
      int decimals = std::clamp(digits, 0, kMaxPrecision);
      FloatDigits d = ToDigits(value, kMaxPrecision, decimals);
      if (d.nan || d.inf) return Special(d);
      if (d.exponent > precision) {
        return GeneralText(ToDigits(value, precision, 9999), precision, 0);
      }
      std::string number = FixedDigits(d, decimals, format != TFloatFormat::ffFixed);
      if (format == TFloatFormat::ffCurrency) return CurrencyText(number, d.negative);
      return d.negative ? "-" + number : number;
    }
  }
  return {};
}

std::string FloatToStr(long double value) {
  return FloatToStrF(value, TFloatFormat::ffGeneral, 15, 0);
}

// ---- FormatFloat ---------------------------------------------------------

namespace {

// The section of a "positive;negative;zero" pattern; quoted text may hold ';'.
std::vector<std::string_view> PatternSections(std::string_view format) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(format.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(format.substr(start));
  return sections;
}

struct PatternInfo {
  int intPlaces = 0;   // placeholders before the point
  int minInt = 0;      // from the first '0' before the point
  int decPlaces = 0;   // placeholders after the point
  int minDec = 0;      // up to the last '0' after the point
  bool thousands = false;
  bool scientific = false;
};

PatternInfo AnalysePattern(std::string_view p) {
  PatternInfo info;
  bool afterPoint = false;
  int firstZero = -1;
  char quote = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    char c = p[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      if (!afterPoint) info.thousands = true;
    } else if ((c == 'E' || c == 'e') && i + 1 < p.size() && (p[i + 1] == '+' || p[i + 1] == '-')) {
      info.scientific = true;
      break;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++info.decPlaces;
        if (c == '0') info.minDec = info.decPlaces;
      } else {
        if (c == '0' && firstZero < 0) firstZero = info.intPlaces;
        ++info.intPlaces;
      }
    }
  }
  if (firstZero >= 0) info.minInt = info.intPlaces - firstZero;
  return info;
}

// Renders one section for the absolute value.
std::string RenderPattern(std::string_view p, const PatternInfo& info, long double value) {
  std::string intDigits;
  std::string decDigits;
  int exponent = 0;
  if (info.scientific) {
    int precision = std::clamp(info.intPlaces + info.decPlaces, 1, kMaxPrecision);
    FloatDigits d = ToDigits(value, precision, 9999);
    int ip = std::max(info.intPlaces, 1);
    if (!d.digits.empty()) exponent = d.exponent - ip;
    for (int i = 0; i < ip; ++i) intDigits += DigitAt(d, i);
    size_t nz = intDigits.find_first_not_of('0');
    intDigits = nz == std::string::npos ? "" : intDigits.substr(nz);
    for (int i = 0; i < info.decPlaces; ++i) decDigits += DigitAt(d, ip + i);
  } else {
    FloatDigits d = ToDigits(value, kMaxPrecision, info.decPlaces);
    for (int i = 0; i < d.exponent; ++i) intDigits += DigitAt(d, i);
    for (int i = 0; i < info.decPlaces; ++i) decDigits += DigitAt(d, d.exponent + i);
  }
  if (int(intDigits.size()) < info.minInt) {
    intDigits.insert(0, size_t(info.minInt) - intDigits.size(), '0');
  }
  while (int(decDigits.size()) > info.minDec && decDigits.back() == '0') decDigits.pop_back();

  std::string out;
  int placeholder = 0;  // before-point placeholders seen
  size_t decIndex = 0;
  const int n = int(intDigits.size());
  auto emitInt = [&](int from, int to) {  // digits [from, to) of intDigits
    for (int i = std::max(from, 0); i < std::min(to, n); ++i) {
      out += intDigits[size_t(i)];
      int fromRight = n - 1 - i;
      if (info.thousands && fromRight > 0 && fromRight % 3 == 0) out += ThousandSeparator;
    }
  };
  bool afterPoint = false;
  char quote = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    char c = p[i];
    if (quote) {
      if (c == quote) {
        quote = 0;
      } else {
        out += c;
      }
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if ((c == '0' || c == '#') && !afterPoint) {
      // Placeholder k (of intPlaces) shows digit n - intPlaces + k; the first
      // one also shows every digit beyond the placeholders.
      int pos = n - info.intPlaces + placeholder;
      emitInt(placeholder == 0 ? 0 : pos, pos + 1);
      ++placeholder;
    } else if (c == '0' || c == '#') {
      if (decIndex < decDigits.size()) out += decDigits[decIndex++];
    } else if (c == '.') {
      if (info.intPlaces == 0 && !afterPoint) emitInt(0, n);
      afterPoint = true;
      if (!decDigits.empty()) out += DecimalSeparator;
    } else if (c == ',') {
      // a flag, not a character
    } else if ((c == 'E' || c == 'e') && i + 1 < p.size() && (p[i + 1] == '+' || p[i + 1] == '-')) {
      bool plus = p[i + 1] == '+';
      i += 2;
      int zeros = 0;
      while (i < p.size() && p[i] == '0') {
        ++zeros;
        ++i;
      }
      --i;
      out += c;
      out += ExponentText(exponent, plus, std::min(zeros, 4));
    } else {
      out += c;
    }
  }
  return out;
}

bool RoundsToZero(std::string_view section, long double value) {
  PatternInfo info = AnalysePattern(section);
  int decimals = info.scientific ? 9999 : info.decPlaces;
  int precision = info.scientific ? std::max(info.intPlaces + info.decPlaces, 1) : kMaxPrecision;
  return ToDigits(value, precision, decimals).digits.empty();
}

}  // namespace

std::string FormatFloat(std::string_view format, long double value) {
  if (format.empty()) return FloatToStr(value);
  if (std::isnan(value) || std::isinf(value)) return FloatToStr(value);
  std::vector<std::string_view> sections = PatternSections(format);
  std::string_view section = sections[0];
  bool negative = value < 0;
  bool prefixMinus = false;
  if (negative && sections.size() > 1 && !sections[1].empty()) {
    section = sections[1];
  } else if (negative) {
    prefixMinus = true;
  }
  if (sections.size() > 2 && !sections[2].empty() && RoundsToZero(section, value)) {
    return RenderPattern(sections[2], AnalysePattern(sections[2]), 0);
  }
  if (prefixMinus && RoundsToZero(section, value)) prefixMinus = false;
  std::string text = RenderPattern(section, AnalysePattern(section), std::fabs(value));
  return prefixMinus ? "-" + text : text;
}

// ---- Format --------------------------------------------------------------

namespace {

class Formatter {
 public:
  Formatter(std::string_view fmt, std::initializer_list<TVarRec> args)
      : fmt_(fmt), args_(args.begin()), count_(args.size()) {}

  std::string Run() {
    size_t i = 0;
    while (i < fmt_.size()) {
      size_t pct = fmt_.find('%', i);
      if (pct == std::string_view::npos) {
        out_.append(fmt_.substr(i));
        break;
      }
      out_.append(fmt_.substr(i, pct - i));
      i = Directive(pct + 1);
    }
    return std::move(out_);
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EConvertError("Format '" + std::string(fmt_) + "' invalid or incompatible with argument");
  }

  const TVarRec& NextArg() {
    if (next_ >= count_) {
      throw EConvertError("No argument for format '" + std::string(fmt_) + "'");
    }
    return args_[next_++];
  }

  char Peek(size_t i) const { return i < fmt_.size() ? fmt_[i] : '\0'; }

  // Digits or "*"; -1 when neither is there.
  int ReadNumber(size_t& i) {
    if (Peek(i) == '*') {
      ++i;
      const TVarRec& a = NextArg();
      if (a.kind != TVarRec::Kind::Integer) Invalid();
      return int(std::clamp<int64_t>(a.integer, -1, kMaxWidth));
    }
    if (Peek(i) < '0' || Peek(i) > '9') return -1;
    int64_t n = 0;
    while (Peek(i) >= '0' && Peek(i) <= '9') {
      n = std::min<int64_t>(n * 10 + (Peek(i) - '0'), kMaxWidth);
      ++i;
    }
    return int(n);
  }

  size_t Directive(size_t i) {
    if (Peek(i) == '%') {
      out_ += '%';
      return i + 1;
    }
    bool left = false;
    if (Peek(i) == '-') {
      left = true;
      ++i;
    }
    int width = ReadNumber(i);
    if (Peek(i) == ':') {
      ++i;
      if (width < 0) Invalid();
      next_ = size_t(width);
      if (Peek(i) == '-') {
        left = true;
        ++i;
      }
      width = ReadNumber(i);
    }
    int precision = -1;
    if (Peek(i) == '.') {
      ++i;
      precision = std::max(ReadNumber(i), 0);
    }
    if (i >= fmt_.size()) Invalid();
    std::string text = Convert(fmt_[i], precision);
    Pad(text, width, left);
    return i + 1;
  }

  void Pad(const std::string& text, int width, bool left) {
    size_t fill = width > int(text.size()) ? size_t(width) - text.size() : 0;
    if (!left) out_.append(fill, ' ');
    out_ += text;
    if (left) out_.append(fill, ' ');
  }

  static std::string ZeroPad(std::string digits, int precision) {
    if (precision > int(digits.size())) digits.insert(0, size_t(precision) - digits.size(), '0');
    return digits;
  }

  static uint64_t Unsigned(const TVarRec& a) {
    if (a.isUnsigned || a.is64) return uint64_t(a.integer);
    return uint32_t(a.integer);
  }

  std::string Convert(char type, int precision) {
    switch (type | 0x20) {
      case 'd': {
        const TVarRec& a = IntegerArg();
        if (a.isUnsigned) return ZeroPad(std::to_string(uint64_t(a.integer)), precision);
        std::string digits = ZeroPad(std::to_string(a.integer < 0 ? 0 - uint64_t(a.integer)
                                                                   : uint64_t(a.integer)),
                                     precision);
        return a.integer < 0 ? "-" + digits : digits;
      }
      case 'u':
        return ZeroPad(std::to_string(Unsigned(IntegerArg())), precision);
      case 'x':
        return ZeroPad(Hex(Unsigned(IntegerArg())), precision);
      case 'e':
        return FloatToStrF(FloatArg(), TFloatFormat::ffExponent, precision < 0 ? 15 : precision, 3);
      case 'f':
        return FloatToStrF(FloatArg(), TFloatFormat::ffFixed, kMaxPrecision,
                           precision < 0 ? 2 : precision);
      case 'g':
        return FloatToStrF(FloatArg(), TFloatFormat::ffGeneral, precision < 0 ? 15 : precision, 3);
      case 'n':
        return FloatToStrF(FloatArg(), TFloatFormat::ffNumber, kMaxPrecision,
                           precision < 0 ? 2 : precision);
      case 'm':
        return FloatToStrF(FloatArg(), TFloatFormat::ffCurrency, kMaxPrecision,
                           precision < 0 ? CurrencyDecimals : precision);
      case 's': {
        const TVarRec& a = NextArg();
        std::string s;
        if (a.kind == TVarRec::Kind::String) {
          s = std::string(a.text);
        } else if (a.kind == TVarRec::Kind::Char) {
          s = std::string(1, char(a.integer));
        } else {
          Invalid();
        }
        if (precision >= 0 && size_t(precision) < s.size()) s.resize(size_t(precision));
        return s;
      }
      case 'p': {
        const TVarRec& a = NextArg();
        if (a.kind != TVarRec::Kind::Pointer) Invalid();
        return ZeroPad(Hex(reinterpret_cast<uintptr_t>(a.pointer)), int(sizeof(void*) * 2));
      }
      default:
        Invalid();
    }
  }

  const TVarRec& IntegerArg() {
    const TVarRec& a = NextArg();
    if (a.kind != TVarRec::Kind::Integer && a.kind != TVarRec::Kind::Char) Invalid();
    return a;
  }

  long double FloatArg() {
    const TVarRec& a = NextArg();
    if (a.kind != TVarRec::Kind::Float) Invalid();
    return a.real;
  }

  static std::string Hex(uint64_t v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    do {
      s.insert(s.begin(), digits[v & 15]);
      v >>= 4;
    } while (v);
    return s;
  }

  std::string_view fmt_;
  const TVarRec* args_;
  size_t count_;
  size_t next_ = 0;
  std::string out_;
};

}  // namespace

std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args) {
  return Formatter(fmt, args).Run();
}

}  // namespace vesper
