#pragma once
// The names the desktop knows the program by. X11 takes the windows' class from the
// application name, which the menu entry's StartupWMClass must repeat; Wayland takes the
// app id from the desktop file name, the menu entry's own name.

namespace quorvex {

// Name, desktop file name and icon of the running application.
void setApplicationIdentity();

} // namespace quorvex
