#include "core/numeric.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <limits>

namespace tw::num {

namespace {

template <typename T>
std::optional<T> RoundChecked(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  const double r = std::nearbyint(v);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max())) {
    return std::nullopt;
  }
  return static_cast<T>(r);
}

template <typename T>
T Saturate(double r) {
  if (std::isnan(r)) return 0;
  if (r <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
  if (r >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
  return static_cast<T>(r);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::int32_t CLng(double v) { return Saturate<std::int32_t>(std::nearbyint(v)); }
std::int16_t CInt(double v) { return Saturate<std::int16_t>(std::nearbyint(v)); }
std::optional<std::int32_t> CLngChecked(double v) { return RoundChecked<std::int32_t>(v); }
std::optional<std::int16_t> CIntChecked(double v) { return RoundChecked<std::int16_t>(v); }
std::int32_t FloorToLong(double v) { return Saturate<std::int32_t>(std::floor(v)); }
std::int32_t Fix(double v) { return Saturate<std::int32_t>(std::trunc(v)); }

std::optional<double> ParseNumber(std::string_view text) {
  std::string_view s = Trim(text);
  if (s.empty()) return std::nullopt;
  if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
    long long value = 0;
    auto [p, ec] = std::from_chars(s.data() + 2, s.data() + s.size(), value, 16);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return static_cast<double>(value);
  }
  // Validate the shape by hand: from_chars would accept "inf" and "nan".
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exp_digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const char* begin = s.data();
  if (*begin == '+') ++begin;
  double value = 0;
  auto [p, ec] = std::from_chars(begin, s.data() + s.size(), value);
  if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<bool> ParseBool(std::string_view text) {
  std::string_view s = Trim(text);
  if (EqualsNoCase(s, "true")) return true;
  if (EqualsNoCase(s, "false")) return false;
  if (auto n = ParseNumber(s)) return *n != 0.0;
  return std::nullopt;
}

std::string FormatNumber(double v) {
  if (!std::isfinite(v)) return "0";
  if (v == std::trunc(v) && std::fabs(v) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", v);
    return buf;
  }
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
  if (ec != std::errc()) return "0";
  return std::string(buf, p);
}

}  // namespace tw::num
