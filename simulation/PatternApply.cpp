#include "simulation/PatternApply.h"

#include <algorithm>
#include <cstddef>

namespace orvane::simulation {

namespace {

constexpr std::uint32_t kSkipOnePattern = 1;

std::size_t DefinedLength(std::uint8_t identifier, const PatternRules& rules) {
  const std::uint8_t length = rules.identifiers.dataLength[identifier % settings::kIdentifierCount];
  return std::min<std::size_t>(length, kSlotDataSize);
}

std::size_t RowDataCount(const pattern::PatternRecord& row) {
  return std::min<std::size_t>(row.dataCount(), kSlotDataSize);
}

// The entry's kind nibble for a row's command: Tx and Rx exchanged as in
// every compiled entry.
std::uint8_t KindOfRow(const pattern::PatternRecord& row, std::uint8_t current) {
  switch (static_cast<pattern::PatternCommand>(row.commandCode())) {
    case pattern::PatternCommand::kTx:
      return kKindTx;
    case pattern::PatternCommand::kRx:
      return kKindRx;
    case pattern::PatternCommand::kSleep:
      return kKindSleep;
    case pattern::PatternCommand::kWakeup:
      return kKindWakeup;
  }
  return current & kKindMask;
}

// n = d copies all 8 bytes; n < d copies n bytes and fills bytes n to 7 from
// FillData ("Set the following data"); n > d copies d bytes and leaves the
// rest ("Ignore over data").
void PutRowData(SimEntry& entry, const pattern::PatternRecord& row, const PatternRules& rules) {
  const std::size_t count = RowDataCount(row);
  const std::size_t defined = DefinedLength(row.ident, rules);
  if (count == defined) {
    std::ranges::copy(row.data, entry.data);
  } else if (count < defined) {
    std::copy_n(row.data.begin(), count, entry.data);
    std::copy(rules.options.FillData.begin() + static_cast<std::ptrdiff_t>(count),
              rules.options.FillData.end(), entry.data + count);
  } else {
    std::copy_n(row.data.begin(), defined, entry.data);
  }
  entry.enable |= kEntryChanged;
}

void EndCursor(RowCursor& cursor, bool& patternEndReached) {
  cursor.ended = true;
  patternEndReached = true;
}

}  // namespace

bool RowSuits(const pattern::PatternRecord& row, const PatternRules& rules) {
  const std::size_t count = RowDataCount(row);
  const std::size_t defined = DefinedLength(row.ident, rules);
  if (count > defined) return rules.options.ShortPatternMode != kSkipOnePattern;
  if (count < defined) return rules.options.LongPatternMode != kSkipOnePattern;
  return true;
}

bool ApplyNextRow(SimEntry& entry, RowCursor& cursor, bool repeat,
                  std::span<const pattern::PatternRecord> rows, const PatternRules& rules,
                  bool& patternEndReached) {
  const std::size_t count = rows.size();
  if (count == 0 || cursor.ended || cursor.position >= count) return false;

  std::size_t position = cursor.position;
  for (std::size_t passed = 1; !RowSuits(rows[position], rules); ++passed) {
    if (position + 1 < count) {
      ++position;
    } else if (repeat) {
      position = 0;
    } else {
      // A pattern without repeat does not start again at its first row.
      cursor.position = static_cast<std::uint32_t>(position);
      EndCursor(cursor, patternEndReached);
      return false;
    }
    if (passed == count) return false;  // no row suits
  }

  const pattern::PatternRecord& row = rows[position];
  entry.kind = static_cast<std::uint8_t>(KindOfRow(row, entry.kind) | (entry.kind & ~kKindMask));
  entry.identifier = row.ident;
  PutRowData(entry, row, rules);

  if (position + 1 < count) {
    ++position;
  } else if (repeat) {
    position = 0;
  } else {
    EndCursor(cursor, patternEndReached);
  }
  cursor.position = static_cast<std::uint32_t>(position);
  return true;
}

bool ApplySlaveRow(SimEntry& entry, RowCursor& cursor, bool repeat,
                   std::span<const pattern::PatternRecord> rows, const PatternRules& rules) {
  const std::size_t count = rows.size();
  if (count == 0) return false;

  std::size_t position = std::min<std::size_t>(cursor.position, count - 1);
  for (std::size_t examined = 0; examined < count; ++examined) {
    const pattern::PatternRecord& row = rows[position];
    const bool applies =
        row.ident == entry.identifier &&
        row.commandCode() == static_cast<std::uint8_t>(pattern::PatternCommand::kTx) &&
        RowSuits(row, rules);
    const bool atLastRow = position + 1 == count;
    if (!atLastRow) {
      ++position;
    } else if (repeat) {
      position = 0;
    }
    if (applies) {
      cursor.position = static_cast<std::uint32_t>(position);
      PutRowData(entry, row, rules);
      return true;
    }
    if (atLastRow && !repeat) break;
  }
  cursor.position = static_cast<std::uint32_t>(position);
  return false;
}

}  // namespace orvane::simulation
