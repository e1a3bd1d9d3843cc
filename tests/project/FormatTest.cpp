#include "project/Format.h"

#include <random>

#include <gtest/gtest.h>

#include "project/Errors.h"

namespace earthwork {
namespace {

struct PictureCase {
  const char* input;
  const char* area;
  const char* station;
};

TEST(Format, PicturesOfTextsAndNumbers) {
  const PictureCase cases[] = {
      {"0", "0.00", "00+00.000"},
      {"5", "5.00", "00+05.000"},
      {"12.5", "12.50", "00+12.500"},
      {"1234.5", "1234.50", "12+34.500"},
      {"0.5", "0.50", "00+00.500"},
      {"99.9996", "100.00", "01+00.000"},  // rounding carries into the integer part
      {"123456.7", "123456.70", "1234+56.700"},
      {"-5", "-5.00", "-00+05.000"},
      {"-0.001", "0.00", "-00+00.001"},  // no negative zero
      {"1.005", "1.01", "00+01.005"},    // rounds as written, not as stored in binary
      {"2.675", "2.68", "00+02.675"},
      {"0.0005", "0.00", "00+00.001"},
      {"  7.25  ", "7.25", "00+07.250"},
      {"+3", "3.00", "00+03.000"},
      {".5", "0.50", "00+00.500"},
      {"5.", "5.00", "00+05.000"},
      {"99999999999.995", "100000000000.00", "999999999+99.995"},
      // Texts that are not numbers pass unchanged.
      {"", "", ""},
      {"12+34.500", "12+34.500", "12+34.500"},
      {"12+34.500BK", "12+34.500BK", "12+34.500BK"},
      {"abc", "abc", "abc"},
      {".", ".", "."},
      {"1.2.3", "1.2.3", "1.2.3"},
      {"1e5", "100000.00", "1000+00.000"},  // a power of ten, as spreadsheets write
      {"2.5E-2", "0.03", "00+00.025"},
      {"1e", "1e", "1e"},
      {"e5", "e5", "e5"},
      {"1e400", "1e400", "1e400"},
      {"- 5", "- 5", "- 5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatArea(std::string_view(c.input)), c.area) << c.input;
    EXPECT_EQ(FormatStation(std::string_view(c.input)), c.station) << c.input;
  }
}

// A value nearest to a whole number of hundredths (thousandths) is written as
// that number, at every magnitude the pictures meet; values between them
// are written as their 15-digit form rounds.
TEST(Format, PicturesOfWholeHundredthsAndThousandths) {
  std::mt19937_64 random(20261205);
  for (int i = 0; i < 20000; ++i) {
    const int digits = 1 + i % 15;
    uint64_t limit = 1;
    for (int d = 0; d < digits; ++d) limit *= 10;
    const auto k = static_cast<int64_t>(random() % limit) * (i % 3 == 0 ? -1 : 1);
    const std::string magnitude = std::to_string(k < 0 ? -k : k);
    const std::string sign = k < 0 ? "-" : "";
    const std::string cents =
        std::string(magnitude.size() < 3 ? 3 - magnitude.size() : 0, '0') + magnitude;
    EXPECT_EQ(FormatArea(static_cast<double>(k) / 100),
              sign + cents.substr(0, cents.size() - 2) + "." + cents.substr(cents.size() - 2))
        << k;
    if (digits > 14) continue;
    const std::string milli =
        std::string(magnitude.size() < 7 ? 7 - magnitude.size() : 0, '0') + magnitude;
    const size_t point = milli.size() - 3;
    EXPECT_EQ(FormatStation(static_cast<double>(k) / 1000), sign + milli.substr(0, point - 2) +
                                                                "+" + milli.substr(point - 2, 2) +
                                                                "." + milli.substr(point))
        << k;
  }
  EXPECT_EQ(FormatArea(0.1 + 0.2), "0.30");
  EXPECT_EQ(FormatArea(-0.0), "0.00");
  EXPECT_EQ(FormatArea(2.0 / 3), "0.67");
  EXPECT_EQ(FormatStation(100.0 / 3), "00+33.333");
}

TEST(Format, ShortestText) {
  const std::pair<double, const char*> cases[] = {
      {1.150, "1.15"},
      {1.0, "1"},
      {0.5, "0.5"},
      {-2.25, "-2.25"},
      {0.0, "0"},
      {-0.0, "0"},
      {1234.5, "1234.5"},
      {0.1 + 0.2, "0.3"},
      {1e15, "1E+15"},
      {1.5e-7, "1.5E-07"},
      {123456789012345, "123456789012345"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(ShortestText(value), text) << value;
}

TEST(Format, RoundHalfEven) {
  const std::pair<double, int32_t> cases[] = {
      {2.5, 2},    {3.5, 4},        {-2.5, -2},
      {0.5, 0},    {1.5, 2},        {2.4999, 2},
      {2.5001, 3}, {55.555557, 56}, {2147483647.0, 2147483647},
  };
  for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
  EXPECT_THROW(RoundHalfEven(2147483647.5 + 1), ProgramError);
  EXPECT_THROW(RoundHalfEven(-2147483649.0), ProgramError);
}

TEST(Format, RightAlignKeepsLongTextWhole) {
  EXPECT_EQ(RightAlign("1.00", 9), "     1.00");
  EXPECT_EQ(RightAlign("12+34.500", 8), "12+34.500");
  EXPECT_EQ(RightAlign("", 9), "         ");
}

TEST(Format, PrintZones) {
  ZoneLine line;
  line.Item("+Excavation").Item(RightAlign("56", 9)).Item(RightAlign("57", 9)).Item("1.0");
  EXPECT_EQ(line.Text(), "+Excavation" + std::string(10, ' ') + "56" + std::string(12, ' ') + "57" +
                             std::string(5, ' ') + "1.0");
  EXPECT_EQ(line.Text().find("56"), 14u + 7u);  // second zone starts at column 15

  ZoneLine full;  // an item that fills its zone leaves the next at the next boundary
  full.Item("12345678901234").Item("X").Item("123456789012345").Item("Y");
  EXPECT_EQ(full.Text(), "12345678901234X" + std::string(13, ' ') + "123456789012345" +
                             std::string(13, ' ') + "Y");
}

}  // namespace
}  // namespace earthwork
