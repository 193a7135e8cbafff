#pragma once

#include <string>
#include <string_view>

// Number texts that never depend on the process locale: the desktop may use a decimal comma,
// the configuration file and the dialog fields always use a point.

// The value with exactly three decimals, as "%.3f" writes it in the C locale ("-990.646").
std::string FormatFixed3(double value);

// The leading decimal number of the text, as the C library's atof reads it in the C locale:
// leading white space, an optional sign, digits with an optional point and exponent, "inf" or
// "nan"; 0 when the text does not start with a number.
double ParseLeadingNumber(std::string_view text);
