#pragma once

class QWidget;

namespace zevo {

// A desktop session ends programs with SIGTERM or SIGHUP, a terminal with SIGINT, Windows with
// WM_ENDSESSION at logoff and shutdown. Each of them closes the window the normal way, so the
// settings and the parameter set are saved as on Exit.
void CloseOnTerminationSignals(QWidget* window);

// Set on the window (true) before such a close: the window asks nothing then.
inline constexpr const char* CloseBySignalProperty = "zevoCloseBySignal";

} // namespace zevo
