// Binding liborlink.so by ordinal from a program folder.
#include "analyzer/LinkApi.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace orvane::analyzer {
namespace {

using ::testing::HasSubstr;

const std::filesystem::path kBinaryDir(ORVANE_BINARY_DIR);

TEST(LinkApiTest, BindsTheTwelveCommandsOfTheBuiltLibrary) {
  const LinkBinding binding = BindLinkLibrary(kBinaryDir / "bin");
  ASSERT_TRUE(binding.api) << binding.error;
  EXPECT_TRUE(binding.error.empty());
  const LinkApi& api = *binding.api;
  for (const void* function :
       {reinterpret_cast<const void*>(api.InitUSB), reinterpret_cast<const void*>(api.TargetGo),
        reinterpret_cast<const void*>(api.FrashWrite),
        reinterpret_cast<const void*>(api.MemoryWrite),
        reinterpret_cast<const void*>(api.MemoryRead),
        reinterpret_cast<const void*>(api.MonitorStart),
        reinterpret_cast<const void*>(api.MonitorStop),
        reinterpret_cast<const void*>(api.MemoryReadEx),
        reinterpret_cast<const void*>(api.MonitorRead),
        reinterpret_cast<const void*>(api.CloseUSB), reinterpret_cast<const void*>(api.FrashErase),
        reinterpret_cast<const void*>(api.CheckUSB)}) {
    EXPECT_NE(function, nullptr);
  }
  // Nothing is open yet: the presence check answers "absent" without I/O.
  EXPECT_EQ(api.CheckUSB(), 0);
  std::uint8_t byte = 0;
  EXPECT_EQ(api.MemoryRead(0x0401, 1, &byte), 0);
}

TEST(LinkApiTest, MissingOrDamagedLibrariesAreNamedInTheError) {
  const LinkBinding absent = BindLinkLibrary(kBinaryDir / "no-such-folder");
  EXPECT_FALSE(absent.api);
  EXPECT_THAT(absent.error, HasSubstr("cannot load"));
  EXPECT_THAT(absent.error, HasSubstr("no-such-folder/liborlink.so"));

  const std::filesystem::path stand_ins = kBinaryDir / "tests/link";
  const LinkBinding no_table = BindLinkLibrary(stand_ins / "no_table");
  EXPECT_FALSE(no_table.api);
  EXPECT_THAT(no_table.error, HasSubstr("has no ordinal table (orlink_ordinal_table)"));

  const LinkBinding short_table = BindLinkLibrary(stand_ins / "short_table");
  EXPECT_FALSE(short_table.api);
  EXPECT_THAT(short_table.error, HasSubstr("holds 12 entries instead of 24"));

  const LinkBinding hole = BindLinkLibrary(stand_ins / "hole_table");
  EXPECT_FALSE(hole.api);
  EXPECT_THAT(hole.error, HasSubstr("no function at ordinal 17"));
}

TEST(LinkApiTest, ProgramFolderIsTheFolderOfTheRunningProgram) {
  EXPECT_TRUE(std::filesystem::equivalent(ProgramFolder(), kBinaryDir / "bin"));
}

}  // namespace
}  // namespace orvane::analyzer
