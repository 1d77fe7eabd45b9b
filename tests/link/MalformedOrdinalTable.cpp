// Stand-ins for a damaged liborlink.so. Built without ORDINAL_COUNT it has
// no ordinal table; with it, a table of that count whose entries all point
// at one function except MISSING_ORDINAL, which is left empty.
#include "link/orlink.h"

namespace {

void Placeholder() {}

#ifdef ORDINAL_COUNT
constexpr OrlinkOrdinalTable MakeTable() {
  OrlinkOrdinalTable table{ORDINAL_COUNT, {}};
  for (int ordinal = 1; ordinal <= ORLINK_ORDINAL_COUNT; ++ordinal) {
    table.functions[ordinal] = Placeholder;
  }
#ifdef MISSING_ORDINAL
  table.functions[MISSING_ORDINAL] = nullptr;
#endif
  return table;
}
#endif

}  // namespace

extern "C" ORLINK_API void orlink_placeholder() { Placeholder(); }

#ifdef ORDINAL_COUNT
extern "C" const OrlinkOrdinalTable orlink_ordinal_table = MakeTable();
#endif
