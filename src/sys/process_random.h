#pragma once

#include <cstdint>

namespace tavrin {

// A number from 0 to range - 1 (0 when range is 0) from the process's one
// pseudo-random generator, seeded on first use from the high-resolution
// performance counter, or from the tick count where there is none.
// Windows builds only.
std::uint32_t ProcessRandom(std::uint32_t range);

}  // namespace tavrin
