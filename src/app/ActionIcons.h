#pragma once

#include <QIcon>

namespace kt41::app {

// The pictures of the tool bar actions, drawn in code so that they are sharp at
// every size.
QIcon ConnectIcon();     // plug and socket joined: make the connection
QIcon DisconnectIcon();  // plug and socket apart: end the connection
QIcon ReadConfigIcon();  // arrow down onto a sheet: read the configuration
QIcon WriteConfigIcon(); // arrow up from a sheet: write the configuration
QIcon OpenFileIcon();    // open folder
QIcon SaveFileIcon();    // diskette

} // namespace kt41::app
