#pragma once

#include "driver/Kt41Driver.h"
#include "driver/SerialPortError.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kt41::testing {

// A driver that behaves like the controller's memory: it keeps every block it
// is sent and returns it on reading. It records the name of every call and can
// be told to fail (false) or to throw SerialPortError at a given call.
class FakeControllerDriver : public driver::Kt41Driver {
public:
    std::vector<std::string> Calls;
    int FailAtCall = 0;  // 1-based index into Calls; 0 = never
    int ThrowAtCall = 0; // likewise, throws SerialPortError
    std::uint8_t AnswerAddress = 17;
    std::array<std::uint8_t, 2> Version{3, 2};
    int ConnectFailures = 0; // the first N connect calls fail

    driver::ComPort* Port = nullptr;
    driver::ProgressSink* Window = nullptr;

    std::array<std::uint8_t, 16> ContourTable{};
    std::array<std::array<std::uint8_t, 240>, 2> Contours{};
    std::array<std::array<std::uint8_t, 42>, 2> ContoursEx{};
    std::array<std::uint8_t, 24> InputsTerm{};
    std::array<std::uint8_t, 24> InputsAnalog{};
    std::array<std::uint8_t, 46> DeviceInfo{};
    std::array<std::uint8_t, 46> DeviceParams{};
    std::array<std::uint8_t, 10> Calibration{};
    std::array<std::uint8_t, 24> ManualState{};
    std::array<std::uint8_t, 20> LastManualStatus{};
    std::array<std::uint8_t, 42> CurrentData{};
    std::array<std::uint8_t, 4> AdcCodes{};
    double DateTime = 0.0;
    std::map<double, std::array<std::uint8_t, 36>> Archive;

    // Word k of a byte block, big-endian.
    template <std::size_t N>
    static std::uint16_t WordAt(const std::array<std::uint8_t, N>& block, std::size_t k) {
        return std::uint16_t((block[2 * k] << 8) | block[2 * k + 1]);
    }
    template <std::size_t N>
    static void SetWord(std::array<std::uint8_t, N>& block, std::size_t k, std::uint16_t v) {
        block[2 * k] = std::uint8_t(v >> 8);
        block[2 * k + 1] = std::uint8_t(v);
    }

    bool SendComPortPtrToDLL(driver::ComPort* port, driver::ProgressSink* window) override {
        Port = port;
        Window = window;
        return true;
    }

    bool Connect_Device_KT41(std::uint8_t requested, std::span<std::uint8_t, 2> version,
                             std::uint8_t& address) override {
        if (!Enter("Connect_Device_KT41(" + std::to_string(requested) + ")")) {
            return false;
        }
        if (ConnectFailures > 0) {
            --ConnectFailures;
            return false;
        }
        std::copy(Version.begin(), Version.end(), version.begin());
        address = AnswerAddress;
        return true;
    }

    bool Read_ConfConturs_KT41(std::uint8_t, std::span<std::uint8_t, 16> b) override {
        return Read("Read_ConfConturs_KT41", ContourTable, b);
    }
    bool Write_ConfConturs_KT41(std::uint8_t, std::span<const std::uint8_t, 16> b) override {
        return Write("Write_ConfConturs_KT41", ContourTable, b);
    }
    bool Read_ParamContur_KT41(std::uint8_t, std::uint8_t n,
                               std::span<std::uint8_t, 240> b) override {
        return Read(Named("Read_ParamContur_KT41", n), Contours.at(n - 1), b);
    }
    bool Write_ParamContur_KT41(std::uint8_t, std::uint8_t n,
                                std::span<const std::uint8_t, 240> b) override {
        return Write(Named("Write_ParamContur_KT41", n), Contours.at(n - 1), b);
    }
    bool Read_ParamConturEx_KT41(std::uint8_t, std::uint8_t n,
                                 std::span<std::uint8_t, 42> b) override {
        return Read(Named("Read_ParamConturEx_KT41", n), ContoursEx.at(n - 3), b);
    }
    bool Write_ParamConturEx_KT41(std::uint8_t, std::uint8_t n,
                                  std::span<const std::uint8_t, 42> b) override {
        return Write(Named("Write_ParamConturEx_KT41", n), ContoursEx.at(n - 3), b);
    }
    bool Read_ParamInput_Term_KT41(std::uint8_t, std::span<std::uint8_t, 24> b) override {
        return Read("Read_ParamInput_Term_KT41", InputsTerm, b);
    }
    bool Write_ParamInput_Term_KT41(std::uint8_t, std::span<const std::uint8_t, 24> b) override {
        return Write("Write_ParamInput_Term_KT41", InputsTerm, b);
    }
    bool Read_ParamInput_Analog_KT41(std::uint8_t, std::span<std::uint8_t, 24> b) override {
        return Read("Read_ParamInput_Analog_KT41", InputsAnalog, b);
    }
    bool Write_ParamInput_Analog_KT41(std::uint8_t, std::span<const std::uint8_t, 24> b) override {
        return Write("Write_ParamInput_Analog_KT41", InputsAnalog, b);
    }
    bool Read_DeviceInfo_KT41(std::uint8_t, std::span<std::uint8_t, 46> b) override {
        return Read("Read_DeviceInfo_KT41", DeviceInfo, b);
    }
    bool Read_ParamDevice_KT41(std::uint8_t, std::span<std::uint8_t, 46> b) override {
        return Read("Read_ParamDevice_KT41", DeviceParams, b);
    }
    bool Write_ParamDevice_KT41(std::uint8_t, std::span<const std::uint8_t, 46> b) override {
        return Write("Write_ParamDevice_KT41", DeviceParams, b);
    }
    bool Read_CalibrTermDav_KT41(std::uint8_t, std::span<std::uint8_t, 10> b) override {
        return Read("Read_CalibrTermDav_KT41", Calibration, b);
    }
    bool Write_CalibrTermDav_KT41(std::uint8_t, std::span<const std::uint8_t, 10> b) override {
        return Write("Write_CalibrTermDav_KT41", Calibration, b);
    }
    bool Read_ParamManual_KT41(std::uint8_t, std::span<std::uint8_t, 24> b) override {
        return Read("Read_ParamManual_KT41", ManualState, b);
    }
    bool Write_ConturManualMode_KT41(std::uint8_t, std::span<const std::uint8_t, 2> b) override {
        return WriteInto("Write_ConturManualMode_KT41", ManualState, 0, b);
    }
    bool Write_PumpsManualOn_KT41(std::uint8_t, std::span<const std::uint8_t, 8> b) override {
        return WriteInto("Write_PumpsManualOn_KT41", ManualState, 2, b);
    }
    bool Write_AnalogOutPut_KT41(std::uint8_t, std::span<const std::uint8_t, 4> b) override {
        return WriteInto("Write_AnalogOutPut_KT41", ManualState, 10, b);
    }
    bool Write_ConturManualStatus_KT41(std::uint8_t, std::span<const std::uint8_t, 20> b) override {
        return Write("Write_ConturManualStatus_KT41", LastManualStatus, b);
    }
    bool Get_Current_Data_KT41(std::uint8_t, std::span<std::uint8_t, 42> b) override {
        return Read("Get_Current_Data_KT41", CurrentData, b);
    }
    bool Get_ADC_Cod_KT41(std::uint8_t, std::span<std::uint8_t, 4> b) override {
        return Read("Get_ADC_Cod_KT41", AdcCodes, b);
    }
    bool Read_DateTime_KT41(std::uint8_t, double& dateTime) override {
        if (!Enter("Read_DateTime_KT41")) {
            return false;
        }
        dateTime = DateTime;
        return true;
    }
    bool Read_ArxRecord_KT41(std::uint8_t, double when, std::uint8_t& found,
                             std::span<std::uint8_t, 36> b) override {
        if (!Enter("Read_ArxRecord_KT41")) {
            return false;
        }
        const auto it = Archive.find(when);
        found = it != Archive.end() ? 1 : 0;
        if (found) {
            std::copy(it->second.begin(), it->second.end(), b.begin());
        }
        return true;
    }
    bool ReadRegisters(std::uint8_t, std::uint8_t, std::uint16_t, std::uint16_t,
                       std::span<std::uint8_t>) override {
        return Enter("ReadRegisters");
    }
    bool WriteRegisters(std::uint8_t, std::uint16_t, std::uint16_t,
                        std::span<const std::uint8_t>) override {
        return Enter("WriteRegisters");
    }

private:
    static std::string Named(const char* name, int n) {
        return std::string(name) + "(" + std::to_string(n) + ")";
    }

    // Records the call; false when it is the call told to fail.
    bool Enter(std::string name) {
        Calls.push_back(std::move(name));
        const int index = int(Calls.size());
        if (index == ThrowAtCall) {
            throw driver::SerialPortError("port failed");
        }
        return index != FailAtCall;
    }

    template <std::size_t N>
    bool Read(std::string name, const std::array<std::uint8_t, N>& from,
              std::span<std::uint8_t, N> to) {
        if (!Enter(std::move(name))) {
            return false;
        }
        std::copy(from.begin(), from.end(), to.begin());
        return true;
    }

    template <std::size_t N>
    bool Write(std::string name, std::array<std::uint8_t, N>& to,
               std::span<const std::uint8_t, N> from) {
        if (!Enter(std::move(name))) {
            return false;
        }
        std::copy(from.begin(), from.end(), to.begin());
        return true;
    }

    template <std::size_t N, std::size_t M>
    bool WriteInto(std::string name, std::array<std::uint8_t, N>& to, std::size_t offset,
                   std::span<const std::uint8_t, M> from) {
        if (!Enter(std::move(name))) {
            return false;
        }
        std::copy(from.begin(), from.end(), to.begin() + offset);
        return true;
    }
};

// Records every notification.
class RecordingSink : public driver::ProgressSink {
public:
    std::vector<std::pair<int, std::uint32_t>> Codes;
    std::vector<std::string> Messages; // caption + ": " + text

    void Progress(int code, std::uint32_t lParam) override { Codes.emplace_back(code, lParam); }
    void ShowMessage(const std::string& caption, const std::string& text,
                     driver::MessageIcon) override {
        Messages.push_back(caption + ": " + text);
    }
};

} // namespace kt41::testing
