#pragma once
// The serial line of the platform the tool runs on, and the list of its ports: the system's
// communications functions on Windows, QSerialPort elsewhere.
#ifdef _WIN32
#include "link/win_serial_line.h"
namespace zevo {
using SystemSerialLine = WinSerialLine;
}
#else
#include "link/port_list.h"
#include "link/qt_serial_line.h"
namespace zevo {
using SystemSerialLine = QtSerialLine;
}
#endif
