// How values turn into one another: numbers, text, truth and dates, with the language's rules
// (Empty is 0 or "", Null is refused where a value is needed, numbers round half to even).
// Objects must have been replaced by their default value before they get here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "src/script/vbscript/Value.h"

namespace orbel::vbs {

double ToDouble(const Value& v);
std::int32_t ToLong(const Value& v);     // rounds half to even; Overflow out of range
std::int32_t ToInteger(const Value& v);  // the same within the 16-bit range
std::int64_t ToCurrency(const Value& v);
bool ToBool(const Value& v);
std::string ToStr(const Value& v);
double ToDate(const Value& v);

// A number written in text as the language reads it: blanks around, a sign, digits with a
// decimal point and exponent, or &H / &O forms. Nothing else.
std::optional<double> ParseNumberText(std::string_view s);
bool IsNumericText(std::string_view s);

// Dates are days since 30 December 1899, the time of day as the fraction.
std::optional<double> ParseDateText(std::string_view s);
double DateFromParts(std::int64_t year, std::int64_t month, std::int64_t day);
void DateParts(double date, int& year, int& month, int& day);
void TimeParts(double date, int& hour, int& minute, int& second);
int WeekdayOf(double date);  // 1 Sunday .. 7 Saturday

std::string FormatDouble(double d);
std::string FormatCurrency(std::int64_t c);
std::string FormatDate(double d);

double RoundHalfEven(double d);

}  // namespace orbel::vbs
