// The printf-free number texts against printf itself, on chosen and on many generated values.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "core/common/number_text.h"

namespace
{

std::string Printf(const char* format, double value)
{
    char text[400];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void ExpectLikePrintf(double value)
{
    NumberText number;
    EXPECT_EQ(number.General(value), Printf("%g", value)) << value;
    const char* const fixedFormats[] = {"%.0f", "%.1f", "%.2f", "%.3f", "%.4f", "%.5f", "%.6f", "%.7f", "%.8f", "%.9f"};
    for (int precision = 0; precision <= 9; ++precision)
        EXPECT_EQ(number.Fixed(value, precision), Printf(fixedFormats[precision], value)) << value;
}

TEST(NumberText, ChosenValuesPrintAsPrintfDoes)
{
    const double values[] = {0.0,       -0.0,     1.0,       -1.0,     0.5,
                             0.125,     2.5,      1e-5,      0.0001,   123456.0,
                             1234567.0, 999999.5, 0.0009999, 1e100,    -1e-300,
                             DBL_MAX,   -DBL_MAX, DBL_MIN,   4.9e-324, 1420585937.5 * 1e-9,
                             58.729948, 2.447081, 0.422396,  24486.96, 1.1572650000000001};
    for (const double value : values)
        ExpectLikePrintf(value);
}

// Values of every magnitude and sign from a fixed seed, so a failure repeats.
TEST(NumberText, GeneratedValuesPrintAsPrintfDoes)
{
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-320, 300);
    for (int i = 0; i < 4000; ++i)
        ExpectLikePrintf(mantissa(random) * std::pow(10.0, exponent(random)));
    // Values on a decimal grid, where rounding at the last place is decided.
    for (int i = -2000; i <= 2000; ++i)
        ExpectLikePrintf(i / 1000.0 + 0.0005);
}

TEST(NumberText, NonFiniteValuesAndIntegers)
{
    NumberText number;
    EXPECT_EQ(number.General(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(number.Fixed(-std::numeric_limits<double>::infinity(), 2), "-inf");
    EXPECT_EQ(number.Fixed(std::numeric_limits<double>::quiet_NaN(), 5), "nan");
    // Precisions outside 0..9 are held to that range.
    EXPECT_EQ(number.Fixed(1.5, -3), "2");
    EXPECT_EQ(number.Fixed(1.0, 40), "1.000000000");
    EXPECT_EQ(number.Integer(0), "0");
    EXPECT_EQ(number.Integer(-9223372036854775807LL - 1), "-9223372036854775808");
    EXPECT_EQ(number.Integer(16711680), "16711680");
}

} // namespace
