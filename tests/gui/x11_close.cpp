// The close request a window manager sends, for a virtual screen that has none.
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

#include "gui/gui_harness.h"

namespace vallorn::gui {

bool SendCloseRequest(const std::string& display, const std::string& xauthority,
                      const std::string& title) {
    // What a window manager sends when the close button is pressed: WM_DELETE_WINDOW.
    setenv("XAUTHORITY", xauthority.c_str(), 1);
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return false;
    bool sent = false;
    Window root = DefaultRootWindow(d), parent, *children = nullptr;
    unsigned int count = 0;
    const Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    const Atom remove = XInternAtom(d, "WM_DELETE_WINDOW", False);
    if (XQueryTree(d, root, &root, &parent, &children, &count)) {
        for (unsigned int k = 0; k < count; ++k) {
            char* name = nullptr;
            if (!XFetchName(d, children[k], &name) || !name) continue;
            const bool ours = title == name;
            XFree(name);
            if (!ours) continue;
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = children[k];
            e.xclient.message_type = protocols;
            e.xclient.format = 32;
            e.xclient.data.l[0] = long(remove);
            e.xclient.data.l[1] = CurrentTime;
            sent = XSendEvent(d, children[k], False, NoEventMask, &e) != 0;
        }
        if (children) XFree(children);
    }
    XFlush(d);
    XCloseDisplay(d);
    return sent;
}

}  // namespace vallorn::gui
