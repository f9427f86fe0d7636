#include "core/numeric.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

#include <fast_float/fast_float.h>
#include <fmt/format.h>

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
  if (s.front() == '+') s.remove_prefix(1);
  return ParseExactDouble(s);
}

std::optional<double> ParseExactDouble(std::string_view s) {
  if (s.empty()) return std::nullopt;
  const char* end = s.data() + s.size();
  // fast_float also reads "inf" and "nan"; the files never hold them.
  const char* first_digit = s.data() + (s.front() == '-' ? 1 : 0);
  if (first_digit == end || !(std::isdigit(static_cast<unsigned char>(*first_digit)) || *first_digit == '.'))
    return std::nullopt;
  double value = 0;
  const auto [p, ec] = fast_float::from_chars(s.data(), end, value);
  if (ec != std::errc() || p != end || !std::isfinite(value)) return std::nullopt;
  if (value == 0.0) {
    // Non-zero digits that round to zero are out of range, as from_chars says.
    for (const char* c = first_digit; c != end && *c != 'e' && *c != 'E'; ++c) {
      if (*c >= '1' && *c <= '9') return std::nullopt;
    }
  }
  return value;
}

namespace {

// Lays out the shortest digits the way the plain std::to_chars does. fmt
// finds the digits (the shortest that read back exactly, nearest the value);
// its own layout differs (it switches to an exponent by magnitude, to_chars
// by length, and writes whole numbers exactly), so its text is taken apart
// and laid out again.
template <typename T>
char* ShortestCharsOf(char* first, char* last, T v) {
  // Everything is built in fixed buffers: the debug overlay writes numbers
  // every frame and must not allocate.
  char out[64];
  std::size_t len = 0;
  const auto put = [&](const char* text, std::size_t n) {
    std::memcpy(out + len, text, n);
    len += n;
  };
  if (std::signbit(v)) put("-", 1);
  if (std::isnan(v)) {
    put("nan", 3);
  } else if (std::isinf(v)) {
    put("inf", 3);
  } else {
    char raw[64];
    const auto r = fmt::format_to_n(raw, sizeof raw - 1, "{}", std::fabs(v));
    const std::size_t raw_len = std::min<std::size_t>(r.size, sizeof raw - 1);
    // Digits without the point, how many came before it, and the exponent.
    char digits[64];
    int n = 0, before_point = 0, exponent = 0;
    bool seen_point = false;
    std::size_t i = 0;
    for (; i < raw_len && raw[i] != 'e'; ++i) {
      if (raw[i] == '.') {
        seen_point = true;
        continue;
      }
      digits[n++] = raw[i];
      if (!seen_point) ++before_point;
    }
    if (i + 1 < raw_len) {
      std::from_chars(raw + i + (raw[i + 1] == '+' ? 2 : 1), raw + raw_len, exponent);
    }
    // value = 0.digits * 10^(before_point + exponent): strip zeros at both ends.
    int lead = 0;
    while (lead < n && digits[lead] == '0') ++lead;
    while (n > lead && digits[n - 1] == '0') --n;
    if (lead == n) {
      put("0", 1);
    } else {
      const char* d = digits + lead;
      n -= lead;
      const int point = before_point - lead + exponent;  // digits before the decimal point
      // Fixed: digits and zeros, digits split by the point, or "0." zeros digits.
      const int fixed_len = point >= n ? point : point > 0 ? n + 1 : 2 - point + n;
      const int sci_exp = point - 1;
      const int exp_abs = sci_exp < 0 ? -sci_exp : sci_exp;
      const int sci_len = n + (n > 1 ? 1 : 0) + 2 + (exp_abs >= 100 ? 3 : 2);
      if (fixed_len <= sci_len) {
        if (point > n) {
          // A whole number past the shortest digits: to_chars writes its
          // exact value (123456792, not 123456790), as printf's %f would.
          const auto whole = fmt::format_to_n(out + len, sizeof out - len, "{:.0f}", std::fabs(v));
          len += static_cast<std::size_t>(whole.out - (out + len));
        } else if (point == n) {
          put(d, static_cast<std::size_t>(n));
        } else if (point > 0) {
          put(d, static_cast<std::size_t>(point));
          put(".", 1);
          put(d + point, static_cast<std::size_t>(n - point));
        } else {
          put("0.", 2);
          for (int z = 0; z < -point; ++z) put("0", 1);
          put(d, static_cast<std::size_t>(n));
        }
      } else {
        put(d, 1);
        if (n > 1) {
          put(".", 1);
          put(d + 1, static_cast<std::size_t>(n - 1));
        }
        char e[8];
        const int e_len = std::snprintf(e, sizeof e, "e%c%02d", sci_exp < 0 ? '-' : '+', exp_abs);
        put(e, static_cast<std::size_t>(e_len));
      }
    }
  }
  if (static_cast<std::ptrdiff_t>(len) > last - first) return nullptr;
  std::memcpy(first, out, len);
  return first + len;
}

}  // namespace

char* ShortestChars(char* first, char* last, double v) { return ShortestCharsOf(first, last, v); }
char* ShortestChars(char* first, char* last, float v) { return ShortestCharsOf(first, last, v); }

std::string ShortestText(double v) {
  char buf[40];
  return std::string(buf, ShortestChars(buf, buf + sizeof buf, v));
}
std::string ShortestText(float v) {
  char buf[40];
  return std::string(buf, ShortestChars(buf, buf + sizeof buf, v));
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
  return ShortestText(v);
}

}  // namespace tw::num
