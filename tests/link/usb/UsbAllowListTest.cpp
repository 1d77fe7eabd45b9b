#include "link/driver/usb/UsbAllowList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace orlink::driver {
namespace {

TEST(UsbIdTest, ParsesHexadecimalPairsAndNothingElse) {
  EXPECT_EQ(ParseUsbId("1209:4c49"), (UsbId{0x1209, 0x4C49}));
  EXPECT_EQ(ParseUsbId(" 0403:6001\t"), (UsbId{0x0403, 0x6001}));
  EXPECT_EQ(ParseUsbId("ABCD:ef"), (UsbId{0xABCD, 0x00EF}));
  for (const char* bad : {"", "1209", "1209:", ":4c49", "12094:4c49", "1209:4c49:1", "0x12:34",
                          "12 09:4c49", "g209:4c49", "-1:2", "1209 4c49"}) {
    EXPECT_EQ(ParseUsbId(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(FormatUsbId({0x0403, 0x00EF}), "0403:00ef");
}

TEST(UsbAllowListTest, AlwaysHoldsTheAnalyzerPair) {
  const UsbAllowList list;
  EXPECT_TRUE(list.Contains({0x1209, 0x4C49}));
  EXPECT_FALSE(list.Contains({0x1209, 0x4C4A}));
  EXPECT_EQ(list.Ids().size(), 1u);
}

TEST(UsbAllowListTest, EnvironmentValueSkipsBadEntriesWithAMessage) {
  UsbAllowList list;
  std::string messages;
  list.AddEnvironmentValue("0403:6001, bogus ,,1209:4c49,04d8:000a", messages);
  EXPECT_EQ(list.Ids(), (std::vector<UsbId>{{0x1209, 0x4C49}, {0x0403, 0x6001}, {0x04D8, 0x000A}}));
  EXPECT_EQ(messages,
            "orlink: ORLINK_USB_IDS: \"bogus\" is not a USB vendor:product pair (vvvv:pppp in "
            "hexadecimal); skipped\n");
}

TEST(UsbAllowListTest, FileTextAllowsCommentsAndBlankLinesAndNamesBadLines) {
  UsbAllowList list;
  std::string messages;
  list.AddFileText("# analyzers of the lab\n\n0403:6001   # bench unit\r\n  \nfffff:1\n04d8:000a",
                   "/etc/orvane/usb-ids", messages);
  EXPECT_TRUE(list.Contains({0x0403, 0x6001}));
  EXPECT_TRUE(list.Contains({0x04D8, 0x000A}));
  EXPECT_EQ(list.Ids().size(), 3u);
  EXPECT_EQ(messages,
            "orlink: /etc/orvane/usb-ids:5: \"fffff:1\" is not a USB vendor:product pair "
            "(vvvv:pppp in hexadecimal); skipped\n");
}

TEST(UsbAllowListTest, BinaryGarbageNeverAddsAPair) {
  UsbAllowList list;
  std::string messages;
  const std::string garbage("\x00\xff:\x01\n\x7f\x80", 7);
  list.AddFileText(garbage, "usb-ids", messages);
  EXPECT_EQ(list.Ids().size(), 1u);
  EXPECT_NE(messages.find("usb-ids:1: "), std::string::npos);
  EXPECT_NE(messages.find("usb-ids:2: "), std::string::npos);
}

TEST(UsbAllowListTest, EnvironmentReadsTheVariableAndTheUserFile) {
  const std::filesystem::path config =
      std::filesystem::temp_directory_path() / ("orvane-usb-ids-" + std::to_string(::getpid()));
  std::filesystem::create_directories(config / "orvane");
  std::ofstream(config / "orvane/usb-ids") << "04d8:000a\nnot-a-pair\n";
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  ::setenv("ORLINK_USB_IDS", "0403:6001", 1);

  EXPECT_EQ(UsbIdFiles(), (std::vector<std::string>{"/etc/orvane/usb-ids",
                                                    (config / "orvane/usb-ids").string()}));
  std::string messages;
  const UsbAllowList list = AllowListFromEnvironment(messages);
  EXPECT_TRUE(list.Contains({0x1209, 0x4C49}));
  EXPECT_TRUE(list.Contains({0x0403, 0x6001}));
  EXPECT_TRUE(list.Contains({0x04D8, 0x000A}));
  EXPECT_NE(messages.find("orvane/usb-ids:2: \"not-a-pair\""), std::string::npos) << messages;

  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(UsbIdFiles().back(), "/home/someone/.config/orvane/usb-ids");
  ::unsetenv("ORLINK_USB_IDS");
  std::filesystem::remove_all(config);
}

}  // namespace
}  // namespace orlink::driver
