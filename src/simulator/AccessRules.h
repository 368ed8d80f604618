#pragma once

// Which request the simulated controller takes, and the exception it gives
// every other one: the access rules of the register map (docs/protocol.md,
// "Access rules"). The controller asks these functions before it reads or
// changes anything, so a refused request leaves every block as it was.

#include "driver/RegisterMap.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kt41::sim {

enum class Block; // simulator/Controller.h

// How the registers of a block may be written.
enum class WriteRule {
    None,       // read only
    Registers,  // any run of its writable words, from one register up
    WholeBlock, // only all of its words in one request, first register first
};

struct BlockArea {
    Block Kind;
    int Index; // the contour number of a contour block, else 0
    driver::regmap::Range Range;
    WriteRule Writes;
    std::uint16_t Writable; // words writable from the start of the block
};

// Every block of the register map, in address order.
std::span<const BlockArea> BlockAreas();
// The block that holds `address`, or null for an address outside the map.
const BlockArea* AreaAt(std::uint16_t address);

// The exception code a read or a write of `count` registers from `first` gets
// because of the registers it names, or nullopt when it may go ahead. The
// quantity limits of the function and the byte count are checked before this.
//
// Reads: any run of registers inside one block. Writes: see WriteRule. A run
// that leaves its block, starts outside the map or touches a read-only word is
// refused with exception 02.
std::optional<std::uint8_t> ReadRefusal(std::uint16_t first, std::uint16_t count);
std::optional<std::uint8_t> WriteRefusal(std::uint16_t first, std::uint16_t count);

// The exception code a write gets because of the values it brings: a clock
// setting or an archive request that is no valid date and hour gets 03.
// `words` is the whole block as it would be after the write.
std::optional<std::uint8_t> ValueRefusal(Block kind, std::span<const std::uint16_t> words);

} // namespace kt41::sim
