// RtString: growth, value semantics, conversions, concatenation, comparisons, text functions.
#include "runtime/rt_string.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string S(const RtString& s) {
    return s.str();
}

TEST(RtStringGrowth, EmptyStringOwnsFourBytes) {
    RtString s;
    EXPECT_EQ(s.capacity(), 4u);
    EXPECT_EQ(s.length(), 0u);
    EXPECT_STREQ(s.c_str(), "");
}

TEST(RtStringGrowth, AppendingOneCharacterReallocatesOnlyAtTheSteps) {
    RtString s;
    std::string expected;
    std::vector<uint32_t> grew_at;
    uint32_t cap = s.capacity();
    for (int i = 0; i < 2100; ++i) {
        char c = char('a' + i % 26);
        s += str_chr(c);
        expected += c;
        if (s.capacity() != cap) {
            grew_at.push_back(s.length());
            cap = s.capacity();
        }
        ASSERT_GT(s.capacity(), s.length()); // room for the terminator
    }
    EXPECT_EQ(grew_at, (std::vector<uint32_t>{4, 512, 1024, 1536, 2048}));
    EXPECT_EQ(S(s), expected);
    EXPECT_EQ(s.capacity(), 2560u);
}

TEST(RtStringGrowth, CapacityFollowsLengthOnConstructionAndNeverShrinks) {
    EXPECT_EQ(RtString("abc").capacity(), 4u);
    EXPECT_EQ(RtString("abcd").capacity(), 512u);
    EXPECT_EQ(RtString(std::string(511, 'x')).capacity(), 512u);
    EXPECT_EQ(RtString(std::string(512, 'x')).capacity(), 1024u);
    RtString s(std::string(1000, 'x'));
    s = "short";
    EXPECT_EQ(s.capacity(), 1024u);
    EXPECT_EQ(s.length(), 5u);
}

TEST(RtStringValues, CopiesAreIndependent) {
    RtString a("hello");
    RtString b(a);
    RtString c;
    c = a;
    b += " world";
    c[0] = 'J';
    EXPECT_EQ(S(a), "hello");
    EXPECT_EQ(S(b), "hello world");
    EXPECT_EQ(S(c), "Jello");
    EXPECT_NE(a.c_str(), b.c_str());
    a = a; // self-assignment keeps the text
    EXPECT_EQ(S(a), "hello");
}

TEST(RtStringValues, AppendingItselfAcrossAGrowth) {
    RtString s("abc");
    s += s;
    EXPECT_EQ(S(s), "abcabc");
    RtString t(std::string(300, 'q'));
    t += t;
    EXPECT_EQ(S(t), std::string(600, 'q'));
    RtString u("0123456789");
    u = u.c_str() + 4; // assignment from a piece of itself
    EXPECT_EQ(S(u), "456789");
}

TEST(RtStringValues, CharacterAccessPastTheEndIsHarmless) {
    RtString s("ab");
    EXPECT_EQ(s[1], 'b');
    s[5] = 'x';
    s[2] = 'x'; // would overwrite the terminator
    EXPECT_EQ(S(s), "ab");
    EXPECT_EQ(s.length(), 2u);
    const RtString& cs = s;
    EXPECT_EQ(cs[10], '\0');
    EXPECT_EQ(cs[-1.0], '\0');
    EXPECT_EQ(cs[1.9], 'b');
    s[-5] = 'y';
    s[1e300] = 'y';
    EXPECT_EQ(S(s), "ab");
}

TEST(NumberText, FormatsTenSignificantDigits) {
    EXPECT_EQ(S(str_from_number(1)), "1");
    EXPECT_EQ(S(str_from_number(3)), "3");
    EXPECT_EQ(S(str_from_number(-3)), "-3");
    EXPECT_EQ(S(str_from_number(0.5)), "0.5");
    EXPECT_EQ(S(str_from_number(2.25)), "2.25");
    EXPECT_EQ(S(str_from_number(-0.25)), "-0.25");
    EXPECT_EQ(S(str_from_number(1.0 / 3)), "0.3333333333");
    EXPECT_EQ(S(str_from_number(2.0 / 3)), "0.6666666667");
    EXPECT_EQ(S(str_from_number(123456789)), "123456789");
    EXPECT_EQ(S(str_from_number(1234567890)), "1234567890");
    EXPECT_EQ(S(str_from_number(0.0001)), "0.0001");
    EXPECT_EQ(S(str_from_number(100)), "100");
    EXPECT_EQ(S(str_from_number(float(0.5f))), "0.5");
}

TEST(NumberText, NegativeZeroLargeAndTiny) {
    EXPECT_EQ(S(str_from_number(-0.0)), "0");
    EXPECT_EQ(S(str_from_number(0.0)), "0");
    EXPECT_EQ(S(str_from_number(12345678901.0)), "1.23456789e+10");
    EXPECT_EQ(S(str_from_number(1e300)), "1e+300");
    EXPECT_EQ(S(str_from_number(-1.5e-7)), "-1.5e-07");
    EXPECT_EQ(S(str_from_number(5e-324)), "4.940656458e-324");
    EXPECT_EQ(S(str_from_number(std::numeric_limits<double>::infinity())), "inf");
    EXPECT_EQ(S(str_from_number(std::nan(""))), "nan");
    // Every formatted finite number reads back within its 10 digits.
    for (double v : {1e-300, 3.14159265358979, -2.5e17, 98765.4321, 1e9 + 0.5}) {
        double back = number_from_str(str_from_number(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-9) << v;
    }
}

TEST(NumberText, WholeNumbers) {
    EXPECT_EQ(S(str_from_int(42)), "42");
    EXPECT_EQ(S(str_from_int(-7.9)), "-7");
    EXPECT_EQ(S(str_from_int(1e12)), "2147483647");
    EXPECT_EQ(S(str_from_int(-1e12)), "-2147483648");
    EXPECT_EQ(S(str_from_int(std::nan(""))), "0");
    EXPECT_EQ(S(RtString(-12)), "-12");
    EXPECT_EQ(S(RtString(4000000000u)), "4000000000");
    EXPECT_EQ(S(RtString(2.5)), "2.5");
}

TEST(NumberText, ParsesTheLongestDecimalPrefix) {
    EXPECT_EQ(number_from_str("12abc"), 12);
    EXPECT_EQ(number_from_str("abc"), 0);
    EXPECT_EQ(number_from_str(""), 0);
    EXPECT_EQ(number_from_str("  \t\n-3.5xyz"), -3.5);
    EXPECT_EQ(number_from_str("+.5"), 0.5);
    EXPECT_EQ(number_from_str("5."), 5);
    EXPECT_EQ(number_from_str("."), 0);
    EXPECT_EQ(number_from_str("-"), 0);
    EXPECT_EQ(number_from_str("1e3"), 1000);
    EXPECT_EQ(number_from_str("1e"), 1);
    EXPECT_EQ(number_from_str("1e+"), 1);
    EXPECT_EQ(number_from_str("2E-2x"), 0.02);
    EXPECT_EQ(number_from_str("0x10"), 0);
    EXPECT_EQ(number_from_str("inf"), 0);
    EXPECT_EQ(number_from_str("nan"), 0);
    EXPECT_EQ(number_from_str("= 3"), 0);
    EXPECT_EQ(number_from_str("NO_DATA"), 0);
    EXPECT_EQ(number_from_str(static_cast<const char*>(nullptr)), 0);
    EXPECT_TRUE(std::isinf(number_from_str("1e999")));
    EXPECT_EQ(std::signbit(number_from_str("-0")), true);
}

TEST(Concatenation, EveryMixOfStringLiteralAndNumber) {
    RtString level("Level ");
    EXPECT_EQ(S(level + 3), "Level 3");
    EXPECT_EQ(S(RtString("x") + 0.5 + "y"), "x0.5y");
    EXPECT_EQ(S(2.5 + RtString(" m")), "2.5 m");
    EXPECT_EQ(S("pads" + RtString(7)), "pads7");
    EXPECT_EQ(S(level + RtString("two")), "Level two");
    EXPECT_EQ(S(level + 0), "Level 0");
    RtString s;
    s += "a";
    s += 1;
    s += 1.25;
    s += RtString("z");
    EXPECT_EQ(S(s), "a11.25z");
    RtString big(std::string(510, 'b'));
    RtString joined = big + big;
    EXPECT_EQ(joined.length(), 1020u);
    EXPECT_EQ(joined.capacity(), 1024u);
}

TEST(Comparison, ByteOrderAndNumbers) {
    RtString ten("10"), nine("9");
    EXPECT_TRUE(ten < nine); // byte order
    EXPECT_TRUE(ten == 10);  // numerically
    EXPECT_TRUE(nine < 10);
    EXPECT_TRUE(RtString("abc") == "abc");
    EXPECT_TRUE(RtString("abc") != "abd");
    EXPECT_TRUE(RtString("abc") < RtString("abd"));
    EXPECT_TRUE(RtString("ab") < RtString("abc"));
    EXPECT_TRUE(RtString("b") >= "a");
    EXPECT_TRUE(RtString("\xe9") > RtString("z")); // bytes compare unsigned
    EXPECT_FALSE(RtString("abc") == RtString("abcd"));
    EXPECT_TRUE(RtString("abc") == 0); // no number: 0
    EXPECT_TRUE(RtString("2.5") > 2);
    EXPECT_TRUE(3 > RtString("2.5"));
    EXPECT_EQ(double(RtString("a") == "a"), 1.0);
}

TEST(TextFunctions, MidFindAndCase) {
    RtString s("abcdef");
    EXPECT_EQ(S(str_mid(s, 2, 3)), "cde");
    EXPECT_EQ(S(str_mid(s, 4, 100)), "ef");
    EXPECT_EQ(S(str_mid(s, 6, 1)), "");
    EXPECT_EQ(S(str_mid(s, 7, 1)), "");
    EXPECT_EQ(S(str_mid(s, -1, 3)), "");
    EXPECT_EQ(S(str_mid(s, 0, 0)), "");
    EXPECT_EQ(S(str_mid(s, 1, 1e20)), "bcdef");
    EXPECT_EQ(S(str_mid(s, 1e20, 1e20)), "");
    EXPECT_EQ(str_len(s), 6);
    EXPECT_EQ(str_find("abcabc", "ca"), 2);
    EXPECT_EQ(str_find("abc", "x"), -1);
    EXPECT_EQ(str_find("abc", ""), 0);
    EXPECT_EQ(S(str_upper("aZ\xe9-q")), "AZ\xe9-Q");
    EXPECT_EQ(S(str_lower("AbZ\xc9")), "abz\xc9");
}

TEST(TextFunctions, CharacterCodesAndHex) {
    EXPECT_EQ(S(str_chr(65)), "A");
    EXPECT_EQ(S(str_chr(65 + 256)), "A");
    EXPECT_EQ(S(str_chr(-1)), "\xff");
    EXPECT_EQ(str_chr(0).length(), 0u);
    EXPECT_EQ(str_asc("A"), 65);
    EXPECT_EQ(str_asc("\xe9"), -23);
    EXPECT_EQ(str_asc(""), 0);
    const uint8_t bytes[] = {0x00, 0x1f, 0xa5, 0xff};
    EXPECT_EQ(S(str_hex(bytes, 4)), "001FA5FF");
    EXPECT_EQ(S(str_hex(RtString("AB"), 10)), "4142"); // never past the text
    EXPECT_EQ(S(str_hex(RtString("AB"), -1)), "");
}

TEST(TextFunctions, SplitString) {
    RtArray<RtString> parts;
    EXPECT_EQ(split_string(",,a,b;;c,", parts, ",;"), 3);
    EXPECT_EQ(parts.bounds(0), 3);
    EXPECT_EQ(S(parts.at(0)), "a");
    EXPECT_EQ(S(parts.at(1)), "b");
    EXPECT_EQ(S(parts.at(2)), "c");
    EXPECT_EQ(split_string("one", parts, " "), 1);
    EXPECT_EQ(S(parts.at(0)), "one");
    EXPECT_EQ(split_string(",,;", parts, ",;"), 0);
    EXPECT_EQ(parts.bounds(0), 0);
    EXPECT_EQ(split_string("", parts, ","), 0);
    EXPECT_EQ(split_string("a b", parts, ""), 1);
}

TEST(TextFunctions, FormatIsPrintfLikeAndBounded) {
    EXPECT_EQ(S(str_format(6, 2, 3.14159)), "  3.14");
    EXPECT_EQ(S(str_format(0, 0, 2.5)), "2");
    EXPECT_EQ(S(str_format(1, 3, -1)), "-1.000");
    EXPECT_EQ(S(str_format(-6, 1, 2)), "2.0   ");
    EXPECT_EQ(S(str_format(3, -2, 7.7)), "  8");
    RtString wide = str_format(5000, 1, 1);
    EXPECT_EQ(wide.length(), 511u);
    EXPECT_EQ(S(wide), std::string(511, ' '));
    RtString huge = str_format(0, 2, 1e300);
    EXPECT_EQ(huge.length(), 304u);
    RtString many = str_format(2e9, 2e9, 1e308);
    EXPECT_EQ(many.length(), 511u);
    RtString digits = str_format(0, 1e9, 1);
    EXPECT_EQ(digits.length(), 511u);
    EXPECT_EQ(S(str_mid(digits, 0, 4)), "1.00");
}

} // namespace
