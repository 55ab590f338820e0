// Numbers of the control-net panel and the point read-out: written and read with "." as the decimal
// separator whatever the user's locale, so that a surface typed on one machine
// reads the same on another.
#pragma once

#include <string>

// Fixed-point text with `decimals` digits after the point, the value first
// rounded (half away from zero, on its exact binary value) to `precision`
// significant digits or to the decimals, whichever keeps fewer. A value with
// more than `precision` digits before the point comes out in exponent form
// ("1.235E4", "-2.5E12", "1E5"). Zero never carries a minus sign. The
// separator is "." unless the caller passes the user's one.
std::string FormatFixed(double x, int decimals, int precision = 4, const std::string& separator = ".");

// A real number: optional sign, digits with an optional "." and an optional
// exponent; blanks at both ends are ignored. False for anything else,
// including infinities, NaN and values too large for a double.
bool ParseReal(const std::string& text, double& value);

// A decimal integer with an optional sign within 32 bits; blanks at both
// ends are ignored.
bool ParseInt(const std::string& text, int& value);
