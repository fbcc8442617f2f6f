#include "controller/thumbnails.h"

#include "system/thumbnail_api.h"

namespace mw {

namespace {

// Registers one thumbnail and places it; 0 when the compositor refused it.
HTHUMBNAIL RegisterOne(const ThumbnailApi& api, HWND destination, HWND source, const RECT& box) {
    if (!api.registerThumbnail || !source)
        return 0;
    HTHUMBNAIL id = 0;
    if (FAILED(api.registerThumbnail(destination, source, &id)))
        return 0;
    if (api.updateProperties) {
        SIZE sourceSize{};
        if (!api.querySourceSize || FAILED(api.querySourceSize(id, &sourceSize)))
            sourceSize = SIZE{};
        const DWM_THUMBNAIL_PROPERTIES properties = ThumbnailProperties(box, sourceSize);
        api.updateProperties(id, &properties);
    }
    return id;
}

} // namespace

DWM_THUMBNAIL_PROPERTIES ThumbnailProperties(const RECT& box, SIZE source) {
    DWM_THUMBNAIL_PROPERTIES properties{};
    // A thumbnail is hidden until it is told to show.
    properties.dwFlags = DWM_TNP_RECTDESTINATION | DWM_TNP_VISIBLE;
    properties.fVisible = TRUE;
    properties.rcDestination = box;
    const LONGLONG boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    if (source.cx <= 0 || source.cy <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return properties;
    LONGLONG width = boxWidth, height = boxHeight;
    if (source.cx * boxHeight > source.cy * boxWidth) // wider than the box: full width
        height = (boxWidth * source.cy + source.cx / 2) / source.cx;
    else
        width = (boxHeight * source.cx + source.cy / 2) / source.cy;
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    properties.rcDestination.left = box.left + static_cast<LONG>((boxWidth - width) / 2);
    properties.rcDestination.top = box.top + static_cast<LONG>((boxHeight - height) / 2);
    properties.rcDestination.right = properties.rcDestination.left + static_cast<LONG>(width);
    properties.rcDestination.bottom = properties.rcDestination.top + static_cast<LONG>(height);
    return properties;
}

void RegisterThumbnails(const ThumbnailApi& api, ThumbnailSet& set, HWND mainWindow,
                        const ItemList& popupList, const SelectionState& state, const Design& design,
                        bool toggleDesktop, int screenWidth, int screenHeight) {
    UnregisterThumbnails(api, set);
    int windowCount = popupList.count < ListCapacity ? popupList.count : ListCapacity;
    set.ThumbnailIds.assign(static_cast<size_t>(windowCount) + 1, 0);

    for (int i = 0; i < windowCount; ++i) {
        RECT box = GetThumbnailRect(i, state, design, toggleDesktop, screenWidth, screenHeight);
        set.ThumbnailIds[i] = RegisterOne(api, mainWindow, popupList.slots[i].window, box);
    }
    if (toggleDesktop) {
        RECT box = GetThumbnailRect(-1, state, design, toggleDesktop, screenWidth, screenHeight);
        set.ThumbnailIds[windowCount] = RegisterOne(api, mainWindow, FindWindowW(L"Progman", nullptr), box);
    }
}

void UnregisterThumbnails(const ThumbnailApi& api, ThumbnailSet& set) {
    for (HTHUMBNAIL id : set.ThumbnailIds) {
        if (id != 0 && api.unregisterThumbnail)
            api.unregisterThumbnail(id);
    }
    set.ThumbnailIds.clear();
}

} // namespace mw
