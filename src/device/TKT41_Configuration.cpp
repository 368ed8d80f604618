// Connection and whole-configuration operations of the device model.
#include "TKT41.h"

#include "ProgressCodes.h"

namespace kt41::device {

namespace {

namespace drv = kt41::driver;

// Reads a block of N words through a driver read function.
template <std::size_t Words, class ReadFn>
bool ReadBlock(std::array<std::uint16_t, Words>& words, ReadFn&& read) {
    std::array<std::uint8_t, 2 * Words> bytes{};
    if (!read(std::span<std::uint8_t, 2 * Words>(bytes))) {
        return false;
    }
    WordsFromBytes(bytes, words);
    return true;
}

// Writes a block of N words through a driver write function; `accepted` counts
// the blocks the controller took.
template <std::size_t Words, class WriteFn>
bool WriteBlock(const std::array<std::uint16_t, Words>& words, std::uint32_t& accepted,
                WriteFn&& write) {
    std::array<std::uint8_t, 2 * Words> bytes{};
    BytesFromWords(words, bytes);
    if (!write(std::span<const std::uint8_t, 2 * Words>(bytes))) {
        return false;
    }
    ++accepted;
    return true;
}

} // namespace

bool TKT41::ConnectDevice(std::uint8_t address, std::array<std::uint8_t, 2>& version) {
    return driver_.Connect_Device_KT41(address, version, Address);
}

bool TKT41::ReadInputs() {
    std::array<std::uint16_t, kInputWords> words{};
    if (!ReadBlock(words, [&](auto b) { return driver_.Read_ParamInput_Term_KT41(Address, b); })) {
        return false;
    }
    DecodeInputsTerm(words, Input_T);
    if (!ReadBlock(words,
                   [&](auto b) { return driver_.Read_ParamInput_Analog_KT41(Address, b); })) {
        return false;
    }
    DecodeInputsAnalog(words, Input_P);
    for (auto& input : Input_P) {
        ApplyAnalogDerivationRule(input);
    }
    return true;
}

bool TKT41::WriteInputs() {
    std::array<std::uint16_t, kInputWords> words{};
    EncodeInputsTerm(Input_T, words);
    if (!WriteBlock(words, acceptedWrites_,
                    [&](auto b) { return driver_.Write_ParamInput_Term_KT41(Address, b); })) {
        return false;
    }
    EncodeInputsAnalog(Input_P, words);
    return WriteBlock(words, acceptedWrites_,
                      [&](auto b) { return driver_.Write_ParamInput_Analog_KT41(Address, b); });
}

bool TKT41::ReadContourTable(ContourTable& table) {
    return ReadBlock(table, [&](auto b) { return driver_.Read_ConfConturs_KT41(Address, b); });
}

bool TKT41::ReadTypeAndMode(int contour, std::uint8_t& type, std::uint8_t& mode) {
    ContourTable table{};
    if (!ReadContourTable(table)) {
        return false;
    }
    type = std::uint8_t(table[contour - 1] & 0xFF);
    mode = std::uint8_t(table[contour + 3] & 0xFF);
    return true;
}

bool TKT41::UpdateContourTable(int contour, std::uint8_t type, std::uint8_t mode) {
    // The contour table is shared by all four contours: re-read it and change
    // only this contour's two words.
    ContourTable table{};
    if (!ReadContourTable(table)) {
        return false;
    }
    SanitizeContourTable(table);
    table[contour - 1] = type;
    table[contour + 3] = mode;
    return WriteBlock(table, acceptedWrites_,
                      [&](auto b) { return driver_.Write_ConfConturs_KT41(Address, b); });
}

bool TKT41::ReadContour(int contour, TParamContur& record) {
    if (!ReadTypeAndMode(contour, record.ContourType, record.ConturCtrlMode)) {
        return false;
    }
    std::array<std::uint16_t, kContourWords> words{};
    if (!ReadBlock(words, [&](auto b) {
            return driver_.Read_ParamContur_KT41(Address, std::uint8_t(contour), b);
        })) {
        return false;
    }
    DecodeContour(words, record);
    return true;
}

bool TKT41::ReadContourEx(int contour, TParamConturEx& record) {
    if (!ReadTypeAndMode(contour, record.ContourType, record.ConturCtrlMode)) {
        return false;
    }
    std::array<std::uint16_t, kContourExWords> words{};
    if (!ReadBlock(words, [&](auto b) {
            return driver_.Read_ParamConturEx_KT41(Address, std::uint8_t(contour), b);
        })) {
        return false;
    }
    DecodeContourEx(words, record);
    return true;
}

bool TKT41::WriteContour(int contour, const TParamContur& record) {
    std::array<std::uint16_t, kContourWords> words{};
    EncodeContour(record, words);
    if (!WriteBlock(words, acceptedWrites_, [&](auto b) {
            return driver_.Write_ParamContur_KT41(Address, std::uint8_t(contour), b);
        })) {
        return false;
    }
    return UpdateContourTable(contour, record.ContourType, record.ConturCtrlMode);
}

bool TKT41::WriteContourEx(int contour, const TParamConturEx& record) {
    std::array<std::uint16_t, kContourExWords> words{};
    EncodeContourEx(record, words);
    if (!WriteBlock(words, acceptedWrites_, [&](auto b) {
            return driver_.Write_ParamConturEx_KT41(Address, std::uint8_t(contour), b);
        })) {
        return false;
    }
    return UpdateContourTable(contour, record.ContourType, record.ConturCtrlMode);
}

bool TKT41::ReadDeviceParams() {
    std::array<std::uint16_t, kDeviceInfoWords> words{};
    if (!ReadBlock(words, [&](auto b) { return driver_.Read_DeviceInfo_KT41(Address, b); })) {
        return false;
    }
    ParamDevice.ID_Device = Address;
    DecodeDeviceInfo(words, ParamDevice);
    if (!ReadBlock(words, [&](auto b) { return driver_.Read_ParamDevice_KT41(Address, b); })) {
        return false;
    }
    DecodeDeviceParams(words, ParamDevice);
    return true;
}

bool TKT41::ReadDeviceIdentity(TParamDevice& identity) {
    std::array<std::uint16_t, kDeviceInfoWords> words{};
    if (!ReadBlock(words, [&](auto b) { return driver_.Read_DeviceInfo_KT41(Address, b); })) {
        return false;
    }
    DecodeDeviceInfo(words, identity);
    return true;
}

bool TKT41::WriteDeviceParams() {
    std::array<std::uint16_t, kDeviceParamWords> words{};
    EncodeDeviceParams(ParamDevice, words);
    return WriteBlock(words, acceptedWrites_,
                      [&](auto b) { return driver_.Write_ParamDevice_KT41(Address, b); });
}

bool TKT41::ReadCalibration() {
    std::array<std::uint16_t, kCalibrationWords> words{};
    if (!ReadBlock(words, [&](auto b) { return driver_.Read_CalibrTermDav_KT41(Address, b); })) {
        return false;
    }
    DecodeCalibration(words, CalibrTemperatureAndPressure);
    return true;
}

bool TKT41::WriteCalibration() {
    std::array<std::uint16_t, kCalibrationWords> words{};
    EncodeCalibration(CalibrTemperatureAndPressure, words);
    return WriteBlock(words, acceptedWrites_,
                      [&](auto b) { return driver_.Write_CalibrTermDav_KT41(Address, b); });
}

bool TKT41::ReadConfiguration() {
    Notify(progress::ReadConfigStart, 0);
    Reset();
    const bool ok = ReadInputs() && ReadContour(1, Contour1) && ReadContour(2, Contour2) &&
                    ReadContourEx(3, Contour3) && ReadContourEx(4, Contour4) &&
                    ReadDeviceParams() && ReadCalibration();
    Notify(progress::ReadConfigDone, OutcomeParam(ok));
    return ok;
}

template <class WriteFn>
bool TKT41::WriteRecorded(ConfigBlock block, WriteFn&& write) {
    const std::uint32_t acceptedBefore = acceptedWrites_;
    bool ok = false;
    try {
        ok = write();
    } catch (...) {
        if (acceptedWrites_ != acceptedBefore) {
            lastConfigWrite_.Partial = block;
        }
        throw; // a SerialPortError reaches the caller, as from every operation
    }
    if (ok) {
        lastConfigWrite_.Completed.push_back(block);
    } else if (acceptedWrites_ != acceptedBefore) {
        lastConfigWrite_.Partial = block;
    }
    return ok;
}

bool TKT41::WriteConfiguration() {
    Notify(progress::WriteConfigStart, 0);
    lastConfigWrite_ = {};
    using B = ConfigBlock;
    const bool ok = WriteRecorded(B::Inputs, [&] { return WriteInputs(); }) &&
                    WriteRecorded(B::Contour1, [&] { return WriteContour(1, Contour1); }) &&
                    WriteRecorded(B::Contour2, [&] { return WriteContour(2, Contour2); }) &&
                    WriteRecorded(B::Contour3, [&] { return WriteContourEx(3, Contour3); }) &&
                    WriteRecorded(B::Contour4, [&] { return WriteContourEx(4, Contour4); }) &&
                    WriteRecorded(B::DeviceParams, [&] { return WriteDeviceParams(); }) &&
                    WriteRecorded(B::Calibration, [&] { return WriteCalibration(); });
    Notify(progress::WriteConfigDone, OutcomeParam(ok));
    return ok;
}

} // namespace kt41::device
