#include "BusScan.h"

#include <algorithm>
#include <array>

namespace kt41::device {

std::string ScanVersionText(const TScanFinding& finding) {
    return std::to_string(finding.Version & 0xFF) + "." + std::to_string(finding.Version >> 8);
}

TBusScan::TBusScan(driver::Kt41Driver& driver, driver::ComPort& port, int firstAddress,
                   int lastAddress, std::vector<std::uint32_t> bauds, driver::ProgressSink* window)
    : driver_(driver), port_(port), model_(driver), first_(firstAddress), last_(lastAddress),
      bauds_(std::move(bauds)), originalBaud_(port.BaudRate), address_(firstAddress),
      total_(std::max(0, lastAddress - firstAddress + 1) * int(bauds_.size())) {
    model_.AttachPort(&port_, window);
    finished_ = total_ == 0;
}

TBusScan::~TBusScan() {
    try {
        Finish();
    } catch (...) {
        // closing the port does not throw; nothing to report from a destructor
    }
}

std::uint32_t TBusScan::CurrentBaud() const {
    return speed_ < bauds_.size() ? bauds_[speed_] : 0;
}

bool TBusScan::AlreadyFound(int address) const {
    return std::any_of(found_.begin(), found_.end(),
                       [address](const TScanFinding& f) { return f.Address == address; });
}

void TBusScan::OpenSpeed() {
    port_.Close();
    port_.BaudRate = bauds_[speed_];
    driver_.SetProbing(true);
    speedOpen_ = true;
}

bool TBusScan::Step() {
    if (finished_ || cancelled_) {
        Finish();
        return false;
    }
    if (!speedOpen_) {
        OpenSpeed();
    }
    const int address = address_;
    if (!AlreadyFound(address)) {
        std::array<std::uint8_t, 2> version{};
        // One question per address: the driver opens the line at the first.
        if (model_.ConnectDevice(std::uint8_t(address), version)) {
            TScanFinding finding;
            finding.Address = std::uint8_t(address);
            finding.Baud = CurrentBaud();
            finding.Version = std::uint16_t(version[0] | (version[1] << 8));
            if (model_.ReadDeviceParams()) {
                finding.SerialNumber = model_.ParamDevice.SerialNumber;
                finding.Model = model_.ParamDevice.Model;
                finding.Version = model_.ParamDevice.Version;
                finding.IdentityRead = true;
            }
            found_.push_back(finding);
        }
    }
    ++done_;
    if (address_ < last_) {
        ++address_;
    } else {
        address_ = first_;
        ++speed_;
        speedOpen_ = false;
        if (speed_ >= bauds_.size()) {
            Finish();
        }
    }
    return !finished_;
}

void TBusScan::Cancel() {
    cancelled_ = true;
}

void TBusScan::Finish() {
    if (finished_ && !port_.Connected() && port_.BaudRate == originalBaud_) {
        return;
    }
    finished_ = true;
    driver_.SetProbing(false);
    port_.Close();
    port_.BaudRate = originalBaud_;
}

} // namespace kt41::device
