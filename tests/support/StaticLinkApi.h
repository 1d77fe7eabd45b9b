// The link commands of orlink_core as a LinkApi, for tests that run the
// program's code against the link library linked in (no dlopen).
#pragma once

#include "analyzer/LinkApi.h"

namespace orvane::testing {

analyzer::LinkApi StaticLinkApi();

}  // namespace orvane::testing
