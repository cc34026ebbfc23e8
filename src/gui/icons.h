#pragma once

#include <QIcon>

namespace onefortwo {

// The station's icon: the main window's and the desktop entry's.
QIcon StationIcon();
// The amplifier panels' icon.
QIcon AmplifierIcon();

}  // namespace onefortwo
