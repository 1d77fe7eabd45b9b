// The demo network as a LIN description file (LIN 1.3), written from the
// network definition so that the shipped emulator/demo-network.ldf and the
// simulated nodes cannot drift apart (a test compares the two).
//
// The text keeps to the program's strict reader: names and texts of at most
// 31 characters, no empty texts, reals without exponents, sections in their
// fixed order.
//
// Pure function; any thread may call it.
#pragma once

#include <string>

#include "emulator/DemoNetwork.h"

namespace orvane::emulator {

std::string DemoNetworkLdf(const DemoNetwork& network);

}  // namespace orvane::emulator
