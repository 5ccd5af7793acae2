// Reads a plain decimal number ("-3", "2.5", ".5", "5.") into a double, as
// std::from_chars does. Where the standard library has no floating-point
// from_chars (the libc++ that WebAssembly builds use), a stand-in reads the
// same plain form with the C library's correctly rounded strtod and reports
// the same results: the characters read, and result_out_of_range (with the
// value left alone) when the number overflows or underflows to zero.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace tesva {

inline std::from_chars_result FromCharsDecimal(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars)
  return std::from_chars(first, last, value);
#else
  // The plain form only: an optional minus, digits, at most one point.
  const char* end = first;
  if (end != last && *end == '-') ++end;
  bool digits = false, nonZero = false;
  auto readDigits = [&] {
    for (; end != last && *end >= '0' && *end <= '9'; ++end) {
      digits = true;
      nonZero = nonZero || *end != '0';
    }
  };
  readDigits();
  if (end != last && *end == '.') {
    ++end;
    readDigits();
  }
  if (!digits) return {first, std::errc::invalid_argument};
  std::string text(first, end);
  double read = std::strtod(text.c_str(), nullptr);
  // strtod also flags a subnormal result, which from_chars accepts.
  if (std::isinf(read) || (read == 0 && nonZero)) return {end, std::errc::result_out_of_range};
  value = read;
  return {end, std::errc()};
#endif
}

}  // namespace tesva
