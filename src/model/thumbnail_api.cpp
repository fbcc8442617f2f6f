#include "model/thumbnail_api.h"

#include "platform/system_library.h"
#include "platform/unique_handle.h"

namespace mw {

namespace {
// dwmapi.dll while the thumbnail functions are in use.
UniqueModule g_dwmapi;

template <typename F> void Lookup(F& fn, const char* name) {
    fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(g_dwmapi.get(), name)));
}
} // namespace

ThumbnailApi& CurrentThumbnailApi() {
    static ThumbnailApi api;
    return api;
}

bool LoadThumbnailApi() {
    // From the system folder: a dwmapi.dll beside the program must not be loaded in its place.
    g_dwmapi.reset(LoadSystemLibrary(L"dwmapi.dll"));
    if (!g_dwmapi)
        return false;
    ThumbnailApi& api = CurrentThumbnailApi();
    Lookup(api.registerThumbnail, "DwmRegisterThumbnail");
    Lookup(api.isCompositionEnabled, "DwmIsCompositionEnabled");
    Lookup(api.updateProperties, "DwmUpdateThumbnailProperties");
    Lookup(api.unregisterThumbnail, "DwmUnregisterThumbnail");
    if (!api.registerThumbnail || !api.isCompositionEnabled || !api.updateProperties ||
        !api.unregisterThumbnail) {
        UnloadThumbnailApi();
        return false;
    }
    return true;
}

void UnloadThumbnailApi() {
    CurrentThumbnailApi() = ThumbnailApi{};
    g_dwmapi.reset();
}

} // namespace mw
