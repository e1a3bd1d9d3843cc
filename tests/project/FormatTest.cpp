#include "project/Format.h"

#include <random>

#include "DataTable.h"
#include "project/Errors.h"

namespace earthwork {
namespace {

using testing::DataTable;

TEST(Format, PicturesOfTextsAndNumbers) {
  for (const auto& row : DataTable("project/pictures.txt")) {
    EXPECT_EQ(FormatArea(std::string_view(row.at(0))), row.at(1)) << row[0];
    EXPECT_EQ(FormatStation(std::string_view(row.at(0))), row.at(2)) << row[0];
  }
  for (const auto& row : DataTable("project/numbers.txt")) {
    const double value = std::stod(row.at(0));
    EXPECT_EQ(ShortestText(value), row.at(1)) << row[0];
    if (row.at(2) == "throws") {
      EXPECT_THROW(RoundHalfEven(value), ProgramError) << row[0];
    } else {
      EXPECT_EQ(RoundHalfEven(value), std::stol(row[2])) << row[0];
    }
  }
}

// A value nearest to a whole number of hundredths (thousandths) is written as
// that number, at every magnitude the pictures meet; values between them
// are written as their 15-digit form rounds.
TEST(Format, PicturesOfWholeHundredthsAndThousandths) {
  std::mt19937_64 random(20261205);
  const auto digits = [](const std::string& sign, std::string magnitude, size_t fraction) {
    magnitude.insert(0, magnitude.size() < fraction + 1 ? fraction + 1 - magnitude.size() : 0, '0');
    return sign + magnitude.insert(magnitude.size() - fraction, ".");
  };
  for (int i = 0; i < 20000; ++i) {
    const int places = 1 + i % 15;
    uint64_t limit = 1;
    for (int d = 0; d < places; ++d) limit *= 10;
    const auto k = static_cast<int64_t>(random() % limit) * (i % 3 == 0 ? -1 : 1);
    const std::string magnitude = std::to_string(k < 0 ? -k : k);
    const std::string sign = k < 0 ? "-" : "";
    EXPECT_EQ(FormatArea(static_cast<double>(k) / 100), digits(sign, magnitude, 2)) << k;
    if (places > 14) continue;
    std::string station = digits(
        sign, std::string(magnitude.size() < 7 ? 7 - magnitude.size() : 0, '0') + magnitude, 3);
    EXPECT_EQ(FormatStation(static_cast<double>(k) / 1000), station.insert(station.size() - 6, "+"))
        << k;
  }
  EXPECT_EQ(FormatArea(0.1 + 0.2), "0.30");
  EXPECT_EQ(FormatArea(-0.0), "0.00");
  EXPECT_EQ(FormatArea(2.0 / 3), "0.67");
  EXPECT_EQ(FormatStation(100.0 / 3), "00+33.333");
}

TEST(Format, RightAlignAndPrintZones) {
  EXPECT_EQ(RightAlign("1.00", 9), "     1.00");
  EXPECT_EQ(RightAlign("12+34.500", 8), "12+34.500");  // long text kept whole
  EXPECT_EQ(RightAlign("", 9), "         ");
  ZoneLine line;  // zones of 14 columns
  line.Item("+Excavation").Item(RightAlign("56", 9)).Item(RightAlign("57", 9)).Item("1.0");
  EXPECT_EQ(line.Text(), "+Excavation" + std::string(10, ' ') + "56" + std::string(12, ' ') + "57" +
                             std::string(5, ' ') + "1.0");
  ZoneLine full;  // an item that fills its zone leaves the next at the next boundary
  full.Item("12345678901234").Item("X").Item("123456789012345").Item("Y");
  EXPECT_EQ(full.Text(), "12345678901234X" + std::string(13, ' ') + "123456789012345" +
                             std::string(13, ' ') + "Y");
}

}  // namespace
}  // namespace earthwork
