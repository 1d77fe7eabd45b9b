// Fixture of the register map tests: the rig's analyzer opened and its
// firmware started, a LinkTap in front of it and a RegisterMap on the tap.
#pragma once

#include <gtest/gtest.h>

#include "analyzer/RegisterMap.h"
#include "tests/analyzer/AnalyzerRig.h"
#include "tests/analyzer/LinkTap.h"

namespace orvane::analyzer::test {

class RegisterFixture : public ::testing::Test {
 protected:
  RegisterFixture() {
    EXPECT_EQ(rig_.link().InitUSB(), 1);
    EXPECT_EQ(rig_.link().TargetGo(), 1);
  }

  AnalyzerRig rig_;
  LinkTap tap_{rig_.link()};
  RegisterMap map_{tap_.api(), rig_.Sleeper()};
};

}  // namespace orvane::analyzer::test
