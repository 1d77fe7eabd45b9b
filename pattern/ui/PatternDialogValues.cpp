#include "pattern/ui/PatternDialogValues.h"

namespace orvane::ui {

PatternDialogValues& SharedPatternDialogValues() {
  static PatternDialogValues values;
  return values;
}

}  // namespace orvane::ui
