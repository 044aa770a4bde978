#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace platform {

// Plain decimal text of a signed 32-bit number: "-12", "0", "2147483647".
std::string Str(int32_t value);

// Formats a number with a picture string. Only whole-number pictures are
// supported: "#" is a digit placeholder that shows nothing for a leading zero,
// "0" one that shows it. The value is rounded to the nearest whole number
// (halves to even), and digits beyond the placeholders are all shown, so
// Format(0.2, "#") is "" and Format(123, "#") is "123". Any other picture, or a
// value that is not a finite number, raises RuntimeException.
std::string Format(double value, const std::string& picture);

// A random number in [0, 1), from a generator seeded once per process.
double Rnd();

// The one-character string of a character code (Chr(13) is a carriage return),
// in UTF-8; the empty string for a code that names no character.
std::string Chr(int code);

// The platform's line ending as text ("\n" on Linux).
std::string EndOfLine();

enum class Encoding { None, UTF8 };
struct Encodings {
  static constexpr Encoding UTF8 = Encoding::UTF8;
};

// Labels text as being in an encoding without converting its bytes.
// Strings are byte strings, so the bytes come back unchanged.
std::string DefineEncoding(const std::string& text, Encoding encoding);

// A dynamically typed value: nil or a string.
class Variant {
 public:
  Variant() = default;                                     // nil
  Variant(std::string text) : text_(std::move(text)) {}    // NOLINT: strings convert implicitly
  Variant(const char* text) : text_(std::string(text)) {}  // NOLINT
  bool IsNil() const { return !text_.has_value(); }
  // The string form; the empty string for nil.
  std::string StringValue() const { return text_.value_or(std::string()); }
  bool operator==(const Variant& other) const = default;

 private:
  std::optional<std::string> text_;
};

// A map from keys to values.
class Dictionary {
 public:
  bool HasKey(const Variant& key) const;
  // The value stored under key; nil when there is none.
  Variant Value(const Variant& key) const;
  void SetValue(const Variant& key, const Variant& value);
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  std::map<std::string, Variant> entries_;
};

}  // namespace platform
