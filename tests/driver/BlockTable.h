#pragma once

#include "driver/ModbusDriver.h"
#include "simulator/Controller.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace kt41::testing {

// Every block function of the driver with the simulator block it reaches.
struct BlockCase {
    const char* Name;
    sim::Block Block;
    int Index;          // contour number for sim::Block::Contour
    std::size_t Offset; // first word of the block the function covers
    std::size_t Bytes;  // caller's buffer
    std::function<bool(driver::ModbusDriver&, std::span<std::uint8_t>)> Read;
    std::function<bool(driver::ModbusDriver&, std::span<const std::uint8_t>)> Write;
};

template <std::size_t N>
std::span<std::uint8_t, N> Fixed(std::span<std::uint8_t> b) {
    return std::span<std::uint8_t, N>(b.data(), N);
}
template <std::size_t N>
std::span<const std::uint8_t, N> Fixed(std::span<const std::uint8_t> b) {
    return std::span<const std::uint8_t, N>(b.data(), N);
}

inline std::vector<BlockCase> BlockCases() {
    using D = driver::ModbusDriver;
    using R = std::span<std::uint8_t>;
    using W = std::span<const std::uint8_t>;
    using sim::Block;
    return {
        {"ContourTable", Block::ContourTable, 0, 0, 16,
         [](D& d, R b) { return d.Read_ConfConturs_KT41(1, Fixed<16>(b)); },
         [](D& d, W b) { return d.Write_ConfConturs_KT41(1, Fixed<16>(b)); }},
        {"Contour1", Block::Contour, 1, 0, 240,
         [](D& d, R b) { return d.Read_ParamContur_KT41(1, 1, Fixed<240>(b)); },
         [](D& d, W b) { return d.Write_ParamContur_KT41(1, 1, Fixed<240>(b)); }},
        {"Contour2", Block::Contour, 2, 0, 240,
         [](D& d, R b) { return d.Read_ParamContur_KT41(1, 2, Fixed<240>(b)); },
         [](D& d, W b) { return d.Write_ParamContur_KT41(1, 2, Fixed<240>(b)); }},
        {"Contour3", Block::Contour, 3, 0, 42,
         [](D& d, R b) { return d.Read_ParamConturEx_KT41(1, 3, Fixed<42>(b)); },
         [](D& d, W b) { return d.Write_ParamConturEx_KT41(1, 3, Fixed<42>(b)); }},
        {"Contour4", Block::Contour, 4, 0, 42,
         [](D& d, R b) { return d.Read_ParamConturEx_KT41(1, 4, Fixed<42>(b)); },
         [](D& d, W b) { return d.Write_ParamConturEx_KT41(1, 4, Fixed<42>(b)); }},
        {"InputsTerm", Block::InputsTerm, 0, 0, 24,
         [](D& d, R b) { return d.Read_ParamInput_Term_KT41(1, Fixed<24>(b)); },
         [](D& d, W b) { return d.Write_ParamInput_Term_KT41(1, Fixed<24>(b)); }},
        {"InputsAnalog", Block::InputsAnalog, 0, 0, 24,
         [](D& d, R b) { return d.Read_ParamInput_Analog_KT41(1, Fixed<24>(b)); },
         [](D& d, W b) { return d.Write_ParamInput_Analog_KT41(1, Fixed<24>(b)); }},
        {"DeviceInfo", Block::Identity, 0, 0, 46,
         [](D& d, R b) { return d.Read_DeviceInfo_KT41(1, Fixed<46>(b)); }, nullptr},
        {"DeviceParams", Block::DeviceParams, 0, 0, 46,
         [](D& d, R b) { return d.Read_ParamDevice_KT41(1, Fixed<46>(b)); },
         [](D& d, W b) { return d.Write_ParamDevice_KT41(1, Fixed<46>(b)); }},
        {"Calibration", Block::Calibration, 0, 0, 10,
         [](D& d, R b) { return d.Read_CalibrTermDav_KT41(1, Fixed<10>(b)); },
         [](D& d, W b) { return d.Write_CalibrTermDav_KT41(1, Fixed<10>(b)); }},
        {"ManualState", Block::ManualState, 0, 0, 24,
         [](D& d, R b) { return d.Read_ParamManual_KT41(1, Fixed<24>(b)); }, nullptr},
        {"ManualModes", Block::ManualState, 0, 0, 2, nullptr,
         [](D& d, W b) { return d.Write_ConturManualMode_KT41(1, Fixed<2>(b)); }},
        {"PumpSwitches", Block::ManualState, 0, 1, 8, nullptr,
         [](D& d, W b) { return d.Write_PumpsManualOn_KT41(1, Fixed<8>(b)); }},
        {"AnalogOutputs", Block::ManualState, 0, 5, 4, nullptr,
         [](D& d, W b) { return d.Write_AnalogOutPut_KT41(1, Fixed<4>(b)); }},
        {"ValveCommand", Block::ValveCommand, 0, 0, 20, nullptr,
         [](D& d, W b) { return d.Write_ConturManualStatus_KT41(1, Fixed<20>(b)); }},
        {"CurrentData", Block::CurrentData, 0, 0, 42,
         [](D& d, R b) { return d.Get_Current_Data_KT41(1, Fixed<42>(b)); }, nullptr},
        {"AdcCodes", Block::AdcCodes, 0, 0, 4,
         [](D& d, R b) { return d.Get_ADC_Cod_KT41(1, Fixed<4>(b)); }, nullptr},
    };
}

inline std::vector<std::uint8_t> BigEndian(const std::vector<std::uint16_t>& words) {
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t w : words) {
        bytes.push_back(std::uint8_t(w >> 8));
        bytes.push_back(std::uint8_t(w));
    }
    return bytes;
}

inline std::vector<std::uint16_t> HostWords(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint16_t> words;
    for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
        words.push_back(std::uint16_t((bytes[k] << 8) | bytes[k + 1]));
    }
    return words;
}

} // namespace kt41::testing
