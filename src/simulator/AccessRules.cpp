#include "AccessRules.h"

#include "CivilTime.h"
#include "Controller.h"

#include <array>

namespace kt41::sim {

namespace regmap = driver::regmap;

namespace {

// The archive can be asked about any date, the clock only set within its
// two-digit years.
constexpr int kArchiveFirstYear = 1900;
constexpr int kArchiveLastYear = 9999;

constexpr BlockArea Area(Block kind, int index, regmap::Range range, WriteRule writes) {
    return {kind, index, range, writes, writes == WriteRule::None ? std::uint16_t(0) : range.Count};
}

using enum WriteRule;

const std::array<BlockArea, 18> kAreas{{
    Area(Block::General, 0, regmap::kGeneral, Registers),
    Area(Block::Identity, 0, regmap::kIdentity, None),
    Area(Block::ContourTable, 0, regmap::kContourTable, WholeBlock),
    Area(Block::Contour, 1, regmap::ContourBlock(1), WholeBlock),
    Area(Block::Contour, 2, regmap::ContourBlock(2), WholeBlock),
    Area(Block::Contour, 3, regmap::ContourBlock(3), WholeBlock),
    Area(Block::Contour, 4, regmap::ContourBlock(4), WholeBlock),
    Area(Block::InputsTerm, 0, regmap::kInputsTerm, WholeBlock),
    Area(Block::InputsAnalog, 0, regmap::kInputsAnalog, WholeBlock),
    Area(Block::DeviceParams, 0, regmap::kDeviceParams, WholeBlock),
    Area(Block::Calibration, 0, regmap::kCalibration, WholeBlock),
    // Modes, pump switches and analog outputs (w0..w6) are written by three
    // functions of their own; the valve words after them only report.
    {Block::ManualState, 0, regmap::kManualState, Registers, 7},
    Area(Block::ValveCommand, 0, regmap::kValveCommand, WholeBlock),
    Area(Block::CurrentData, 0, regmap::kCurrentData, None),
    Area(Block::AdcCodes, 0, regmap::kAdcCodes, None),
    Area(Block::Clock, 0, regmap::kClock, WholeBlock),
    Area(Block::ArchiveRequest, 0, regmap::kArchiveRequest, WholeBlock),
    Area(Block::ArchiveAnswer, 0, regmap::kArchiveAnswer, None),
}};

// The block that holds all of first .. first + count - 1, or null.
const BlockArea* AreaHolding(std::uint16_t first, std::uint16_t count) {
    const BlockArea* area = AreaAt(first);
    if (area == nullptr || count == 0 ||
        std::uint32_t(first) + count > std::uint32_t(area->Range.First) + area->Range.Count) {
        return nullptr;
    }
    return area;
}

} // namespace

std::span<const BlockArea> BlockAreas() {
    return kAreas;
}

const BlockArea* AreaAt(std::uint16_t address) {
    for (const BlockArea& area : kAreas) {
        if (address >= area.Range.First && address - area.Range.First < area.Range.Count) {
            return &area;
        }
    }
    return nullptr;
}

std::optional<std::uint8_t> ReadRefusal(std::uint16_t first, std::uint16_t count) {
    if (AreaHolding(first, count) == nullptr) {
        return regmap::kIllegalDataAddress;
    }
    return std::nullopt;
}

std::optional<std::uint8_t> WriteRefusal(std::uint16_t first, std::uint16_t count) {
    const BlockArea* area = AreaHolding(first, count);
    if (area == nullptr) {
        return regmap::kIllegalDataAddress;
    }
    const std::uint16_t offset = std::uint16_t(first - area->Range.First);
    switch (area->Writes) {
    case WriteRule::None:
        return regmap::kIllegalDataAddress;
    case WriteRule::Registers:
        if (offset + count > area->Writable) {
            return regmap::kIllegalDataAddress;
        }
        return std::nullopt;
    case WriteRule::WholeBlock:
        if (offset != 0 || count != area->Range.Count) {
            return regmap::kIllegalDataAddress;
        }
        return std::nullopt;
    }
    return regmap::kIllegalDataAddress;
}

std::optional<std::uint8_t> ValueRefusal(Block kind, std::span<const std::uint16_t> w) {
    if (kind == Block::Clock) {
        const driver::CivilDateTime t{w[0], w[1], w[2], w[3], w[4], w[5]};
        if (!ValidCivil(t)) {
            return regmap::kIllegalDataValue;
        }
    }
    if (kind == Block::ArchiveRequest) {
        const driver::CivilDateTime hour{w[0], w[1], w[2], w[3], 0, 0};
        if (!ValidCivil(hour, kArchiveFirstYear, kArchiveLastYear)) {
            return regmap::kIllegalDataValue;
        }
    }
    return std::nullopt;
}

} // namespace kt41::sim
