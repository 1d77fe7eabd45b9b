#include "tests/support/StaticLinkApi.h"

namespace orvane::testing {

analyzer::LinkApi StaticLinkApi() {
  return analyzer::LinkApi{
      .InitUSB = &::InitUSB,
      .TargetGo = &::TargetGo,
      .FrashWrite = &::FrashWrite,
      .MemoryWrite = &::MemoryWrite,
      .MemoryRead = &::MemoryRead,
      .MonitorStart = &::MonitorStart,
      .MonitorStop = &::MonitorStop,
      .MemoryReadEx = &::MemoryReadEx,
      .MonitorRead = &::MonitorRead,
      .CloseUSB = &::CloseUSB,
      .FrashErase = &::FrashErase,
      .CheckUSB = &::CheckUSB,
  };
}

}  // namespace orvane::testing
