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
        DWM_THUMBNAIL_PROPERTIES properties{};
        properties.dwFlags = DWM_TNP_RECTDESTINATION;
        properties.rcDestination = box;
        api.updateProperties(id, &properties);
    }
    return id;
}

} // namespace

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
