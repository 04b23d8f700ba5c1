// Painting a minimised dialog.
#include "ui/minimised_icon.h"

namespace vz {

void PaintIconWhileMinimised(DialogHost& host, int iconResourceId) {
    if (!host.IsMinimised()) {
        return;
    }
    auto canvas = host.OpenCanvas(0);
    if (!canvas) {
        return;
    }
    const Rect client = canvas->ClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    canvas->DrawIcon((width - host.IconWidth() + 1) / 2, (height - host.IconHeight() + 1) / 2,
                     iconResourceId);
}

}  // namespace vz
