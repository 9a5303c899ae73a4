#pragma once

#include <cstdint>

#include "platform/dataset/packet.h"

namespace pag {

// A packet of n boletos shaped like the server's answer to GetBoletos, with
// varied suppliers, values, due dates and flags; the same seed gives the same
// rows. Used by the benchmarks to measure the screen's datasets at scale.
PacketPtr MakeSampleBoletos(int n, uint32_t seed = 12000);

}  // namespace pag
