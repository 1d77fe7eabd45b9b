// "Export Signals as CSV": the signal values of recorded frames as
// comma-separated text, one row per signal of each complete frame received
// without error (ordinary records of kind End and error 0; extended frames
// carry no signals of the description):
//
//   Time,Frame,Signal,Raw,Value
//   00:00:01.234,DoorLeftStatus,DlDoorOpen,1,on
//
// Time is the monitor time text without its padding, Raw the signal's raw
// value in decimal and Value the text of its encoding (empty without one),
// decoded as the signal monitor window decodes them. Signals follow their
// frame's order. Fields holding a comma, a quote or a line break are quoted,
// quotes doubled; rows end with CR LF (RFC 4180).
//
// Threads: any thread; blocks while the stream writes.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "monitor/MonitorRecord.h"
#include "signals/LinDescription.h"

namespace orvane::review {

// Writes the header row and a row for each signal named in `signalNames`
// (all signals of the description when empty; names the description does
// not know give no rows) of every frame of `records` the description
// defines. Write errors are left in the stream's state.
void WriteSignalCsv(std::ostream& out, const signals::LinDescription& description,
                    std::span<const std::string> signalNames,
                    std::span<const monitor::MonitorRecord> records);

}  // namespace orvane::review
