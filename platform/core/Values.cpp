#include "platform/core/Values.h"

#include <cmath>
#include <cstdio>
#include <random>

#include "platform/core/Exceptions.h"

namespace platform {
namespace {

std::mt19937_64 SeededGenerator() {
  std::random_device device;
  std::seed_seq seed{device(), device(), device(), device()};
  return std::mt19937_64(seed);
}

// The whole number's decimal digits without sign or leading zeros; "" for zero.
std::string SignificantDigits(double wholeNumber) {
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.0f", std::fabs(wholeNumber));
  std::string text(digits);
  const size_t first = text.find_first_not_of('0');
  return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

std::string Str(int32_t value) {
  return std::to_string(value);
}

std::string Format(double value, const std::string& picture) {
  if (picture.find_first_not_of("#0") != std::string::npos) {
    throw RuntimeException("Format does not support the picture \"" + picture + "\".");
  }
  if (!std::isfinite(value))
    throw RuntimeException("Format needs a finite number.");
  const double wholeNumber = std::nearbyint(value);
  std::string digits = SignificantDigits(wholeNumber);
  const size_t firstZero = picture.find('0');
  const size_t shownPlaces = firstZero == std::string::npos ? 0 : picture.size() - firstZero;
  if (digits.size() < shownPlaces)
    digits.insert(0, shownPlaces - digits.size(), '0');
  const bool negative = wholeNumber < 0;
  return negative ? "-" + digits : digits;
}

double Rnd() {
  static std::mt19937_64 generator = SeededGenerator();
  // The top 53 bits give every double in [0, 1) that has that many, and never 1.
  return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

std::string Chr(int code) {
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (code < 0 || code > 0x10FFFF || surrogate)
    return {};
  const auto byte = [](int bits) { return static_cast<char>(bits); };
  if (code < 0x80)
    return std::string(1, byte(code));
  if (code < 0x800)
    return {byte(0xC0 | (code >> 6)), byte(0x80 | (code & 0x3F))};
  if (code < 0x10000) {
    return {byte(0xE0 | (code >> 12)), byte(0x80 | ((code >> 6) & 0x3F)),
            byte(0x80 | (code & 0x3F))};
  }
  return {byte(0xF0 | (code >> 18)), byte(0x80 | ((code >> 12) & 0x3F)),
          byte(0x80 | ((code >> 6) & 0x3F)), byte(0x80 | (code & 0x3F))};
}

std::string EndOfLine() {
  return "\n";
}

std::string DefineEncoding(const std::string& text, Encoding /*encoding*/) {
  return text;
}

bool Dictionary::HasKey(const Variant& key) const {
  return entries_.count(key.StringValue()) > 0;
}

Variant Dictionary::Value(const Variant& key) const {
  const auto found = entries_.find(key.StringValue());
  return found == entries_.end() ? Variant() : found->second;
}

void Dictionary::SetValue(const Variant& key, const Variant& value) {
  entries_[key.StringValue()] = value;
}

}  // namespace platform
