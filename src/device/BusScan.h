#pragma once

#include "TKT41.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kt41::device {

// A controller that answered the bus scan.
struct TScanFinding {
    std::uint8_t Address = 0;
    std::uint32_t Baud = 0;
    // From the identity block; zero when the identity read that follows the
    // answer failed (IdentityRead false).
    std::uint16_t SerialNumber = 0;
    std::uint16_t Model = 0;
    std::uint16_t Version = 0; // low byte "." high byte
    bool IdentityRead = false;
};

// The firmware version as "3.2" (low byte first).
std::string ScanVersionText(const TScanFinding& finding);

// Looks for controllers on a line: asks every address of a range for its
// identity once, at each speed in turn, with the driver in its probing mode
// (one attempt, short waits, no pause after silence). An address that
// answered at one speed is not asked again at the next: a controller listens
// at one speed only. The scan runs a step (one address) at a time, so that a
// window can show progress and take a cancel click between two steps, and the
// command line can stop on Ctrl+C.
//
// The scan owns a model of its own on the given driver and port; the port is
// closed before each speed is opened and when the scan ends (Finish or the
// destructor), and gets its baud rate back. A SerialPortError from the driver
// (the port missing or busy) leaves Step and reaches the caller.
class TBusScan {
public:
    // window: the receiver the driver is handed with the port (the program's
    // main window; null on the command line).
    TBusScan(driver::Kt41Driver& driver, driver::ComPort& port, int firstAddress, int lastAddress,
             std::vector<std::uint32_t> bauds, driver::ProgressSink* window = nullptr);
    ~TBusScan();
    TBusScan(const TBusScan&) = delete;
    TBusScan& operator=(const TBusScan&) = delete;

    // Asks the next address; false once every address was asked at every
    // speed, or after Cancel.
    bool Step();
    // Stops the scan: the next Step returns false and the port is closed.
    void Cancel();
    bool Cancelled() const { return cancelled_; }
    // Ends the scan now: probing off, port closed, its speed restored.
    void Finish();

    // Addresses asked so far (skipped ones included) and in all.
    int Done() const { return done_; }
    int Total() const { return total_; }
    // The address and speed the next Step asks; meaningful while !Finished().
    int CurrentAddress() const { return address_; }
    std::uint32_t CurrentBaud() const;
    bool Finished() const { return finished_; }

    const std::vector<TScanFinding>& Found() const { return found_; }

private:
    bool AlreadyFound(int address) const;
    void OpenSpeed();

    driver::Kt41Driver& driver_;
    driver::ComPort& port_;
    TKT41 model_;
    const int first_;
    const int last_;
    const std::vector<std::uint32_t> bauds_;
    const std::uint32_t originalBaud_;
    std::size_t speed_ = 0;
    int address_;
    int done_ = 0;
    int total_;
    bool speedOpen_ = false;
    bool cancelled_ = false;
    bool finished_ = false;
    std::vector<TScanFinding> found_;
};

} // namespace kt41::device
