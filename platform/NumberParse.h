#pragma once

#include <string_view>

// Whether text begins, after optional white space (space, \t, \n, \v, \f, \r), with a decimal
// number: an optional sign, digits with an optional "." and more digits (at least one digit in
// all), then, only after a digit, an optional "e"/"E" with an optional sign and digits (possibly
// none). The decimal point is "." whatever the locale; words (inf, nan) and hexadecimal are not
// numbers. Only the first 399 bytes of text are looked at. On success stores the value of the
// longest such beginning in value (out-of-range exponents give infinity or 0) and returns true.
bool ParseLeadingNumber(std::string_view text, double& value);
