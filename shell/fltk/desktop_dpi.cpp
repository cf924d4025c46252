#include "shell/fltk/desktop_dpi.h"

#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>

#include "shell/common/zoom.h"

namespace {

int DpiFromText(const char* text) {
    char* end = nullptr;
    const double dpi = std::strtod(text, &end);
    if (end == text || !(dpi >= 1 && dpi <= 10000)) return StandardDpi;
    return static_cast<int>(std::lround(dpi));
}

}  // namespace

// The resources as they stood when the display was opened (the root
// window's RESOURCE_MANAGER property, which xrdb sets).
int DesktopFontDpi(Display* display) {
    const char* resources = XResourceManagerString(display);
    if (resources == nullptr) return StandardDpi;
    XrmInitialize();
    const XrmDatabase database = XrmGetStringDatabase(resources);
    if (database == nullptr) return StandardDpi;
    char* type = nullptr;
    XrmValue value = {};
    int dpi = StandardDpi;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
        dpi = DpiFromText(value.addr);
    }
    XrmDestroyDatabase(database);
    return dpi;
}
