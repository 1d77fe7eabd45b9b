// Extended frame files: up to four files whose first 256 bytes the analyzer
// sends as the data of an extended frame (identifier 0x3E or 0x3F) from a
// schedule slot or the interrupt slot.
//
// The bindings (the first 4 records of the ExtendedFileTable) name the owner
// slot and the file. The download reads the files into the analyzer's
// extended frame area; binding patches the owners' compiled entries so that
// they point at their file. Functions of the user-interface thread; the
// download blocks on reading the files and on the register writes.
#pragma once

#include <cstddef>

#include "analyzer/RegisterMap.h"
#include "monitor/MessageSink.h"
#include "simulation/MasterCompile.h"
#include "simulation/SimEntry.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

// Patches the entries of schedule `schedule`'s table that a binding with a
// path names: kind high nibble 6, D0 = the binding's index (0-3), D1-D2 =
// the file length (little-endian), D3-D7 = 0. Bindings whose slot index is
// outside the table are ignored.
void BindExtendedFiles(const ExtendedFileTable& files, std::size_t schedule, ScheduleTable& table);
// The same for the interrupt entry (bindings of owner 1).
void BindExtendedFiles(const ExtendedFileTable& files, InterruptEntry& entry);
// All 16 schedule tables and the interrupt entry of a compiled run.
void BindExtendedFiles(const ExtendedFileTable& files, MasterRunState& state);

// For bindings 0-3 in order: a binding whose owner slot does not exist or
// does not carry an extended frame (identifier, low 6 bits, below 0x3E)
// loses its path; each remaining file is read, at most 256 bytes, into its
// 256-byte block and the number read becomes the binding's length. A file
// that cannot be read shows message 1001 and ends the download with false,
// before anything is written. Then the four blocks (zero-padded) are
// written to 0x1A00 + 256 * i; a failed write shows message 1002 (through
// the catalogue's "Error[%d]") and the next block is still written.
// True when every file was read and every block written.
bool DownloadExtendedFiles(ExtendedFileTable& files, const MasterSchedules& schedules,
                           const SimSlot& interruptSlot, const analyzer::RegisterMap& link,
                           monitor::MessageSink& messages);

}  // namespace orvane::simulation
