#pragma once

#include <optional>
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

// The numbers of the dialog fields.
// Six significant digits, as "%g" writes them: "14712.1", "0", "1e+06", "inf".
std::string FormatFieldFloat(float value);
std::string FormatFieldInt(int value);
// A whole field holding one decimal number, blanks (spaces, tabs) allowed around it. Refused
// (nullopt): empty text, anything after the number, hexadecimal, and what the type cannot hold:
// for a float what is not finite as a float ("1e40", "inf", "nan"), for an int what does not fit
// in 32 bits.
std::optional<float> ParseFieldFloat(std::string_view text);
std::optional<int> ParseFieldInt(std::string_view text);
