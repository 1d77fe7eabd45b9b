// Fixture of the register map tests: the rig's analyzer opened and its
// firmware started, a LinkTap in front of it and a RegisterMap on the tap.
#pragma once

#include <gtest/gtest.h>

#include "analyzer/RegisterMap.h"
#include "tests/analyzer/LinkTap.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::analyzer::test {

class RegisterFixture : public ::testing::Test {
 protected:
  RegisterFixture() {
    EXPECT_EQ(link_.InitUSB(), 1);
    EXPECT_EQ(link_.TargetGo(), 1);
  }

  orvane::testing::VirtualLinkRig rig_;
  const LinkApi link_ = orvane::testing::StaticLinkApi();
  LinkTap tap_{link_};
  RegisterMap map_{tap_.api(), test::SleepOn(rig_.clock())};
};

}  // namespace orvane::analyzer::test
