// Reads a pcapng or classic pcap capture of link type LIN (212) back into
// monitor records (LinPacket.h says how a packet becomes records).
//
// pcapng: either byte order, several sections and interfaces, section
// header, interface description, enhanced and simple packet blocks; other
// blocks are skipped. Any if_tsresol and if_tsoffset. Classic pcap: both
// magic numbers (micro- and nanoseconds), either byte order. Only packets of
// LIN interfaces are taken.
//
// Analyzer times: packets we wrote come back exactly (time stamp less the
// section's start comment, modulo 2^32 ms); packets of other tools are timed
// from the first packet. The log format's data lengths come from our section
// comment, or else the largest LIN length seen per identifier.
//
// A block that is cut short or damaged ends the read: the records before it
// are kept and a ReadProblem names its block number (from 1, the file header
// of a classic pcap not counted). A packet that is no record is left out
// with a ReadProblem, the rest is read on.
//
// Threads: pure functions; any thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "review/ReviewRecords.h"

namespace orvane::review {

// True when `start` (the first 4 bytes or more of a file) is the start of a
// pcapng or pcap file.
bool IsCaptureStart(std::span<const std::uint8_t> start);

ReviewReadResult ParseCapture(std::span<const std::uint8_t> bytes);

// Reads the whole file (reporting progress per chunk; a false answer
// cancels), then parses it.
ReviewReadResult ReadCaptureFile(const std::filesystem::path& path,
                                 const ReadProgress& progress = {});

}  // namespace orvane::review
