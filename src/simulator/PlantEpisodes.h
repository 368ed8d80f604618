#pragma once

#include "Plant.h"

namespace kt41::sim {

// Short episodes of the live readings, so that the event log of the readings
// page changes while one watches it. Every minute of the controller's clock,
// from second 10 to second 40, one episode of a fixed rotation is under way:
//   minute % 4 == 0: the dry-running protection of contour 1 trips
//                    (event word 0 bit 10, sensor bit 0);
//   minute % 4 == 1: thermometer T6 fails: it reads kFailedThermometer and
//                    reports event word 1 bit 11;
//   minute % 4 == 2: pump 1 of contour 1 stops and the group restarts
//                    (word 0 bit 14, word 3 bit 5, pump operation sensor bit 1);
//   minute % 4 == 3: the pressure alarm of contour 1 (word 1 bit 15).
// Outside those 30 seconds nothing is added. `t` is the controller's clock in
// seconds since 1 January 1970 (local wall time). Only the live current data
// carries the episodes; the archive and the converter codes do not.
void AddLiveEpisodes(PlantReading& reading, double t);

// What a failed thermometer reads, tenths of a degree (the bottom of the range).
inline constexpr std::int16_t kFailedThermometer = -500;

} // namespace kt41::sim
