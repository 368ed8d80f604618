#pragma once

#include <QIcon>

namespace kt41::gui {

// The program's icon, drawn in code: a thermometer over the name KT-41 on a
// blue tile. The windows show it, and the About window as its logo.
QIcon ProgramIcon();

} // namespace kt41::gui
