// The schedule tables of a LIN description turned into master schedules for
// the user to review in the master setup.
//
// Table t becomes schedule t (at most 16), named by the table's name cut to
// 15 characters and made unique; the schedules after the last table are
// reset to the defaults. Each entry of a table becomes the next slot (at most
// 32), enabled:
//  - a frame the master publishes: Tx on its identifier with the data of the
//    signals' initial values;
//  - a frame a slave publishes, and an event-triggered frame: an Rx header
//    on its identifier;
//  - SlaveResp: an Rx header on 0x3D;
//  - MasterReq: Tx on 0x3C with the initial values of the description's
//    MasterReq diagnostic frame; left out when it has none, since a request
//    made up of zeros would be a go-to-sleep command (initial data starting
//    with 00 is noted for that reason);
//  - commands such as AssignNAD {...}, whose bytes depend on node
//    attributes and the state of the slaves, sporadic frames and unknown
//    names: left out.
// A table's entry delay is the time from its frame to the next one; the
// setup's "Delay" of a slot is the time before its frame (the compiled table
// rotates the delays, see MasterCompile.h), so slot k gets the delay of the
// entry before it and the first slot that of the last entry. Delays are
// whole milliseconds 1-65535: others are rounded and kept in range.
// Everything changed or left out on the way is told in a note.
//
// Pure functions; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/IdentifierDefinition.h"
#include "signals/LinDescription.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

inline constexpr std::uint8_t kMasterRequestId = 0x3C;
inline constexpr std::uint8_t kSlaveResponseId = 0x3D;

struct ScheduleImport {
  std::size_t imported = 0;  // schedules 0 .. imported - 1 come from tables
  MasterSchedules schedules{};
  ScheduleNames names{};
  std::vector<std::string> notes;  // in table and slot order
};

// `identifiers` tells the data length the setup shows for an identifier; a
// frame whose length differs is noted.
ScheduleImport ImportSchedules(const signals::LinDescription& description,
                               const settings::IdentifierDefinition& identifiers);

// Replaces the schedules and their names with the import's, and frees the
// extended frame file bindings of schedule slots (their slots are gone);
// the interrupt slot's binding stays. Nothing changes when nothing was
// imported.
void ApplyScheduleImport(const ScheduleImport& result, MasterSchedules& schedules,
                         ScheduleNames& names, ExtendedFileTable& extendedFiles);

}  // namespace orvane::simulation
