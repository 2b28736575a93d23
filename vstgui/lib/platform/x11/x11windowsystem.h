// GetWindowRect and SetWindowPos on X windows (the host's parent window).
#pragma once

namespace VSTGUI {

/** Installs the X11 implementation of the platform's window calls unless one is
    installed already. UI thread. */
void installX11WindowSystem ();

} // namespace VSTGUI
