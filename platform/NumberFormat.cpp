#include "platform/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace {

// A rounded magnitude: digits[0] stands at the place 10^exp10, each next
// digit one place lower.
struct Decimal {
  std::string digits;  // empty when the rounded value is zero
  int exp10 = 0;       // place value of digits[0]
};

// The exact decimal expansion of |x| (x finite, non-zero): 800 digits cover
// every double, and std::to_chars writes them exactly (and fast).
void ExactDigits(double x, std::string& digits, int& exp10) {
  char buf[900];
  const auto res = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(x), std::chars_format::scientific, 800);
  *res.ptr = '\0';
  // "d.ddd...e±x": the leading digit, then the fraction up to its last
  // non-zero digit.
  const char* e = std::strchr(buf, 'e');
  exp10 = std::atoi(e + 1);
  const char* last = e - 1;
  while (last > buf + 1 && *last == '0') --last;
  digits.assign(1, buf[0]);
  if (last > buf + 1) digits.append(static_cast<const char*>(buf + 2), last + 1);
}

// |x| rounded half away from zero so that no digit below 10^place remains.
Decimal RoundAt(const std::string& digits, int exp10, int place) {
  Decimal r;
  const int keep = exp10 - place + 1;  // significant digits kept
  if (keep < 0) return r;
  if (keep == 0) {
    if (digits[0] >= '5') {
      r.digits = "1";
      r.exp10 = place;
    }
    return r;
  }
  r.digits = digits.substr(0, static_cast<size_t>(keep));
  r.digits.resize(static_cast<size_t>(keep), '0');
  r.exp10 = exp10;
  if (static_cast<size_t>(keep) < digits.size() && digits[static_cast<size_t>(keep)] >= '5') {
    int k = keep - 1;
    while (k >= 0 && r.digits[static_cast<size_t>(k)] == '9') r.digits[static_cast<size_t>(k--)] = '0';
    if (k >= 0) {
      ++r.digits[static_cast<size_t>(k)];
    } else {
      // All nines: one more digit in front, the last place unchanged.
      r.digits.insert(r.digits.begin(), '1');
      ++r.exp10;
    }
  }
  if (r.digits.find_first_not_of('0') == std::string::npos) r.digits.clear();
  return r;
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return s.substr(a, b - a);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FormatFixed(double x, int decimals, int precision, const std::string& separator) {
  std::string zero = "0";
  if (decimals > 0) zero += separator + std::string(static_cast<size_t>(decimals), '0');
  if (x == 0 || !std::isfinite(x)) return zero;
  std::string digits;
  int e = 0;
  ExactDigits(x, digits, e);
  const int place = std::max(e - (precision - 1), -decimals);
  Decimal r = RoundAt(digits, e, place);
  if (r.digits.empty()) return zero;
  const std::string sign = x < 0 ? "-" : "";
  if (r.exp10 >= precision) {
    // Too many digits before the point: precision significant digits,
    // trailing zeros dropped, then the exponent.
    Decimal s = RoundAt(digits, e, e - (precision - 1));
    std::string mant = s.digits;
    while (mant.size() > 1 && mant.back() == '0') mant.pop_back();
    std::string out = sign + mant.substr(0, 1);
    if (mant.size() > 1) out += separator + mant.substr(1);
    return out + "E" + std::to_string(s.exp10);
  }
  auto digitAt = [&](int q) {
    const int k = r.exp10 - q;
    return k >= 0 && k < static_cast<int>(r.digits.size()) ? r.digits[static_cast<size_t>(k)] : '0';
  };
  std::string out = sign;
  for (int q = std::max(r.exp10, 0); q >= 0; --q) out.push_back(digitAt(q));
  if (decimals > 0) {
    out += separator;
    for (int q = -1; q >= -decimals; --q) out.push_back(digitAt(q));
  }
  return out;
}

bool ParseReal(const std::string& text, double& value) {
  const std::string s = Trim(text);
  size_t k = 0;
  bool negative = false;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
  const size_t mantStart = k;
  size_t intDigits = 0, fracDigits = 0;
  while (k < s.size() && IsDigit(s[k])) ++k, ++intDigits;
  if (k < s.size() && s[k] == '.') {
    ++k;
    while (k < s.size() && IsDigit(s[k])) ++k, ++fracDigits;
  }
  if (intDigits + fracDigits == 0) return false;
  const size_t mantEnd = k;
  long exponent = 0;
  if (k < s.size() && (s[k] == 'e' || s[k] == 'E')) {
    ++k;
    bool expNeg = false;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) expNeg = s[k++] == '-';
    if (k >= s.size() || !IsDigit(s[k])) return false;
    while (k < s.size() && IsDigit(s[k])) {
      if (exponent < 100000) exponent = exponent * 10 + (s[k] - '0');
      ++k;
    }
    if (expNeg) exponent = -exponent;
  }
  if (k != s.size()) return false;
  double v = 0;
  const auto res = std::from_chars(s.data() + mantStart, s.data() + s.size(), v);
  if (res.ptr != s.data() + s.size()) return false;
  if (res.ec == std::errc::result_out_of_range) {
    // Decide overflow or underflow by the magnitude of the text: the place
    // of the first non-zero mantissa digit plus the exponent.
    long lead = static_cast<long>(intDigits);
    size_t m = mantStart;
    for (; m < mantEnd; ++m) {
      if (s[m] == '.') continue;
      if (s[m] != '0') break;
      --lead;
    }
    if (lead + exponent > 0) return false;  // too large for a double
    v = 0;
  } else if (res.ec != std::errc()) {
    return false;
  }
  if (!std::isfinite(v)) return false;
  value = negative ? -v : v;
  return true;
}

bool ParseInt(const std::string& text, int& value) {
  const std::string s = Trim(text);
  size_t k = 0;
  bool negative = false;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
  if (k >= s.size()) return false;
  long long v = 0;
  for (; k < s.size(); ++k) {
    if (!IsDigit(s[k])) return false;
    v = v * 10 + (s[k] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return false;
  value = static_cast<int>(v);
  return true;
}
