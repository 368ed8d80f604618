// Several controllers on one line: the unit dispatch of a multi-drop line.
#include "Controller.h"

#include "driver/RegisterMap.h"

namespace kt41::sim {

namespace regmap = driver::regmap;

bool Controller::IsOwnUnit(std::uint8_t unit) const {
    return unit == options_.Address ||
           (options_.AnswerAnyAddress && unit >= regmap::kFirstUnit && unit <= regmap::kLastUnit);
}

void Controller::ShareLine(Controller& other) {
    std::lock_guard lock(lineMutex_);
    line_.push_back(&other);
}

Reply Controller::HandleOnLine(std::uint8_t unit, std::span<const std::uint8_t> pdu) {
    std::vector<Controller*> line;
    {
        std::lock_guard lock(lineMutex_);
        line = line_;
    }
    for (Controller* other : line) {
        if (unit == 0) {
            other->Handle(unit, pdu); // a broadcast is answered by nobody
        } else if (other->IsOwnUnit(unit)) {
            return other->Handle(unit, pdu);
        }
    }
    return Reply{};
}

} // namespace kt41::sim
