#pragma once

#include <cstdint>
#include <string>

namespace kt41::driver {

enum class MessageIcon { Error, Warning, Information };

// Receiver of the progress notifications and of the few message boxes the device
// model shows. Progress() is called synchronously: it returns only after the
// receiver has handled the code, so a status text is visible before the
// operation continues. lParam carries the outcome in its low 16 bits
// (0 = success) and, for codes 14 and 44, a contour number in its high 16 bits.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void Progress(int code, std::uint32_t lParam) = 0;
    virtual void ShowMessage(const std::string& caption, const std::string& text,
                             MessageIcon icon) = 0;
};

} // namespace kt41::driver
