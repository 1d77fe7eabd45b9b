#include "settings/SettingsRecord.h"

namespace orvane::settings {

SettingsRecord DefaultSettingsRecord(std::string_view programFolder) {
  SettingsRecord record{};
  record.LinRevision = kLin13;
  CopyToField(programFolder, record.DescriptionPath);
  record.Options = DefaultOptionSettingsExt();
  SetIdentifierDefaults(record.Identifiers);
  for (FrameHighlightCondition& condition : record.FrameHighlights) {
    condition = DefaultFrameHighlightCondition();
  }
  record.Find = DefaultFindCondition();
  return record;
}

}  // namespace orvane::settings
