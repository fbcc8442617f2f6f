#include "view/design.h"

#include "platform/dpi.h"

namespace mw {

Design DesignForDpi(const Design& design, UINT dpi) {
    Design scaled = design;
    for (int* size : {&scaled.windowSpace, &scaled.itemSpace, &scaled.textMaxWidth, &scaled.thumbnailSize,
                      &scaled.iconSize}) {
        *size = ScaleForDpi(*size, dpi);
    }
    if (scaled.textWidth > 0)
        scaled.textWidth = ScaleForDpi(scaled.textWidth, dpi);
    return scaled;
}

} // namespace mw
