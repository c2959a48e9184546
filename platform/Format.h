// Text formatting with the class library's semantics: Format with its
// argument records, float-to-text conversions and the locale settings they use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace vesper {

// Locale settings (English defaults). Programs may change them at start-up;
// the formatting functions read them on every call.
extern char DecimalSeparator;         // '.'
extern char ThousandSeparator;        // ','
extern char DateSeparator;            // '/'
extern char TimeSeparator;            // ':'
extern std::string CurrencyString;    // "$"
extern uint8_t CurrencyFormat;        // 0: "$1" (1 "1$", 2 "$ 1", 3 "1 $")
extern uint8_t NegCurrFormat;         // 0: "($1)" (0..15 as the class library)
extern uint8_t CurrencyDecimals;      // 2
extern std::string ShortDateFormat;   // "m/d/yyyy"
extern std::string LongDateFormat;    // "dddd, mmmm d, yyyy"
extern std::string ShortTimeFormat;   // "h:nn AMPM"
extern std::string LongTimeFormat;    // "h:nn:ss AMPM"
extern std::string TimeAMString;      // "AM"
extern std::string TimePMString;      // "PM"
extern std::array<std::string, 12> ShortMonthNames;  // "Jan".."Dec"
extern std::array<std::string, 12> LongMonthNames;   // "January".."December"
extern std::array<std::string, 7> ShortDayNames;     // "Sun".."Sat"
extern std::array<std::string, 7> LongDayNames;      // "Sunday".."Saturday"

// One argument of Format. Built implicitly from integers (not bool), floating
// point values, texts and pointers; it only refers to texts, so it must not
// outlive the call it is passed to.
struct TVarRec {
  enum class Kind { Integer, Char, Float, String, Pointer };

  template <typename T,
            std::enable_if_t<(std::is_integral_v<T> || std::is_enum_v<T>) &&
                                 !std::is_same_v<T, bool> && !std::is_same_v<T, char>,
                             int> = 0>
  TVarRec(T v) : kind(Kind::Integer) {  // NOLINT: implicit by design
    using U = std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>,
                                 std::type_identity<T>>;
    using I = typename U::type;
    is64 = sizeof(I) > 4;
    isUnsigned = std::is_unsigned_v<I>;
    if (isUnsigned) {
      integer = int64_t(uint64_t(I(v)));
    } else {
      integer = int64_t(I(v));
    }
  }
  TVarRec(bool) = delete;
  TVarRec(char c) : kind(Kind::Char), integer(static_cast<unsigned char>(c)) {}  // NOLINT
  TVarRec(float v) : kind(Kind::Float), real(v) {}                           // NOLINT
  TVarRec(double v) : kind(Kind::Float), real(v) {}                          // NOLINT
  TVarRec(long double v) : kind(Kind::Float), real(v) {}                     // NOLINT
  TVarRec(const char* s) : kind(Kind::String), text(s ? s : "") {}           // NOLINT
  TVarRec(const std::string& s) : kind(Kind::String), text(s) {}             // NOLINT
  TVarRec(std::string_view s) : kind(Kind::String), text(s) {}               // NOLINT
  TVarRec(const void* p) : kind(Kind::Pointer), pointer(p) {}                // NOLINT
  TVarRec(std::nullptr_t) : kind(Kind::Pointer) {}                           // NOLINT

  Kind kind;
  bool is64 = false;        // Integer: a 64-bit type (%x and %u use 64 bits)
  bool isUnsigned = false;  // Integer: an unsigned type
  int64_t integer = 0;
  long double real = 0;
  std::string_view text;
  const void* pointer = nullptr;
};

// Format: "%" [index ":"] ["-"] [width] ["." precision] type, with index,
// width and precision digits or "*" (taken from the arguments), types
// d u x e f g n m s p (either case) and "%%". Raises EConvertError
// "Format '%s' invalid or incompatible with argument" or
// "No argument for format '%s'".
std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args);

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// The class library's FloatToStrF: precision is the number of significant
// digits (at most 18); digits the decimals (fixed, number, currency) or the
// minimum exponent digits (general, exponent).
std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits);
// General format with 15 significant digits: 1234.5 gives "1234.5".
std::string FloatToStr(long double value);
// Pattern formatting: "0" digit, "#" optional digit, "." decimal point, ","
// thousands separators, "E+0"/"E-0" exponent, quoted literals, and up to
// three sections "positive;negative;zero".
std::string FormatFloat(std::string_view format, long double value);

}  // namespace vesper
