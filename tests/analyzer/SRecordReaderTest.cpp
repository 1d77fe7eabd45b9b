#include "analyzer/SRecordReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

namespace orvane::analyzer {
namespace {

class SRecordReaderTest : public ::testing::Test {
 protected:
  SRecordReaderTest() { image_.fill(0xFF); }

  void Read(const std::string& text) {
    std::istringstream in(text);
    ReadSRecords(in, image_);
  }
  bool AllErased() const {
    return std::all_of(image_.begin(), image_.end(), [](std::uint8_t b) { return b == 0xFF; });
  }

  FirmwareImage image_;
};

TEST_F(SRecordReaderTest, IgnoresRecordTypesOtherThanS2AndS3) {
  Read("S0030000FC\nS1130000000102030405060708090A0B0C0D0E0F74\nS9030000FC\n");
  EXPECT_TRUE(AllErased());
}

TEST_F(SRecordReaderTest, S2StoresDataAtItsOffsetInTheWindow) {
  Read("S2080E0010A1B2C3D4FF\r\n");
  EXPECT_EQ(image_[0x0F], 0xFF);
  EXPECT_EQ(image_[0x10], 0xA1);
  EXPECT_EQ(image_[0x13], 0xD4);
  EXPECT_EQ(image_[0x14], 0xFF);  // the checksum is not data
}

TEST_F(SRecordReaderTest, RecordsOutsideTheWindowAreIgnored) {
  Read(
      "S2140DFFF000112233445566778899AABBCCDDEEFF00\n"
      "S2140F000000112233445566778899AABBCCDDEEFF00\n");
  EXPECT_TRUE(AllErased());
}

TEST_F(SRecordReaderTest, DataBeyondTheWindowIsDropped) {
  Read("S2140EFFF8000102030405060708090A0B0C0D0E0F00\n");
  for (int k = 0; k < 8; ++k) EXPECT_EQ(image_[0xFFF8 + k], k) << k;
  EXPECT_EQ(std::count(image_.begin(), image_.end(), 0xFF), 0x10000 - 8);
}

TEST_F(SRecordReaderTest, S3DataBeginsAtCharacter12) {
  Read("S307000E0100AABB00\n");
  EXPECT_EQ(image_[0x100], 0xAA);
  EXPECT_EQ(image_[0x101], 0xBB);
  EXPECT_EQ(image_[0x102], 0xFF);
}

TEST_F(SRecordReaderTest, ByteCountWithoutDataStoresNothing) {
  Read("S2040E000000\nS3050000E00000\nS2030E0000\n");
  EXPECT_TRUE(AllErased());
}

TEST_F(SRecordReaderTest, ShortLineIsSkippedWithoutReadingPastItsEnd) {
  // The count announces 16 data bytes; the line holds only 2 of them. The
  // rest of the string after the line must not be taken as data.
  const std::string text = "S2140E0000AABB\nS2050E0020CC00\n";
  Read(text);
  EXPECT_EQ(image_[0x00], 0xFF);
  EXPECT_EQ(image_[0x01], 0xFF);
  EXPECT_EQ(image_[0x20], 0xCC);  // the next record is still read

  FirmwareImage direct;
  direct.fill(0xFF);
  ApplySRecord(std::string_view(text).substr(0, 14), direct);
  EXPECT_EQ(direct[0x00], 0xFF);
}

TEST_F(SRecordReaderTest, GarbageHexSkipsTheWholeRecord) {
  Read(
      "S2GG0E000011\n"      // count
      "S2050E0X0011FF\n"    // address
      "S2060E0000112G00\n"  // a data byte
      "S2-50E000011FF\n"    // a sign is not a digit
      "S2050E0030 1FF\n");  // a blank inside a byte
  EXPECT_TRUE(AllErased());
}

TEST_F(SRecordReaderTest, LinesLongerThan99CharactersAreReadWhole) {
  std::string line = "S2830E0000";  // 0x83 - 4 = 127 data bytes, 266 characters
  for (int k = 0; k < 127; ++k) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", k);
    line += hex;
  }
  line += "00\n";
  Read(line);
  for (int k = 0; k < 127; ++k) ASSERT_EQ(image_[k], k) << k;
  EXPECT_EQ(image_[127], 0xFF);
}

TEST(ShippedFirmwareImage, CarriesTheRequiredVersionAtOffset0x60) {
  std::ifstream in(ORVANE_BINARY_DIR "/bin/vxlfrm.dat");
  ASSERT_TRUE(in) << "the build writes vxlfrm.dat into bin/";
  FirmwareImage image;
  image.fill(0x5A);
  ReadSRecords(in, image);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image[0x60]), 8), "Ver.3.11");
  EXPECT_TRUE(std::all_of(&image[0x68], &image[0x70], [](std::uint8_t b) { return b == 0xFF; }));
  // The file writes the whole window, so the fill is gone at both ends.
  EXPECT_EQ(image[0x00], 0x00);
  EXPECT_EQ(image[0x01], 0x07);
  EXPECT_EQ(image[0xFFFF], static_cast<std::uint8_t>(0xFFFF * 7 + 0xFF));
}

}  // namespace
}  // namespace orvane::analyzer
