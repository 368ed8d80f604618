#include "RegisterPanel.h"

#include <algorithm>
#include <span>

namespace kt41::device {

RegisterPanel::RegisterPanel(driver::Kt41Driver& driver) : driver_(driver) {}

std::string RegisterPanel::HexDump(const std::uint8_t* bytes, std::size_t size) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(3 * size);
    for (std::size_t k = 0; k < size; ++k) {
        text += ' ';
        text += kDigits[bytes[k] >> 4];
        text += kDigits[bytes[k] & 0x0F];
    }
    return text;
}

std::string RegisterPanel::Dump(std::uint16_t count) const {
    return HexDump(buffer_.data(), std::min(2 * std::size_t(count), buffer_.size()));
}

RegisterPanel::Outcome RegisterPanel::Read(std::uint16_t first, int countValue) {
    // The count is shown, and sent, as the unsigned 16-bit number it becomes.
    const auto count = std::uint16_t(countValue);
    const std::string address = std::to_string(first);
    const std::string registers = std::to_string(count);
    Outcome outcome;
    outcome.Ok =
        CountFits(count) && driver_.ReadRegisters(kUnit, kReadFunction, first, count,
                                                  std::span(buffer_).first(2 * std::size_t(count)));
    outcome.Lines.push_back(
        outcome.Ok ? "С " + address + " адреса прочитано " + registers + " регистров."
                   : "С " + address + " адреса " + registers + " регистров НЕ прочитано.");
    outcome.Lines.push_back(Dump(count));
    return outcome;
}

RegisterPanel::Outcome RegisterPanel::Write(std::uint16_t first, int countValue) {
    const auto count = std::uint16_t(countValue);
    const std::string address = std::to_string(first);
    const std::string registers = std::to_string(count);
    if (count == 1) {
        buffer_[0] = 0x00;
        buffer_[1] = 0x01;
    }
    Outcome outcome;
    outcome.Lines.push_back(Dump(count));
    outcome.Ok = CountFits(count) &&
                 driver_.WriteRegisters(kUnit, first, count,
                                        std::span(buffer_).first(2 * std::size_t(count)));
    outcome.Lines.push_back(outcome.Ok
                                ? registers + " регистров с адреса " + address + " записано."
                                : registers + " регистров с адреса " + address + " НЕ записано!");
    return outcome;
}

} // namespace kt41::device
