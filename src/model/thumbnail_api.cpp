#include "model/thumbnail_api.h"

#include "platform/system_library.h"

namespace mw {

namespace {
HMODULE g_dwmapi = nullptr;

template <typename F> void Lookup(F& fn, const char* name) {
    fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(g_dwmapi, name)));
}
} // namespace

ThumbnailApi& CurrentThumbnailApi() {
    static ThumbnailApi api;
    return api;
}

bool LoadThumbnailApi() {
    // From the system folder: a dwmapi.dll beside the program must not be loaded in its place.
    g_dwmapi = LoadSystemLibrary(L"dwmapi.dll");
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
    if (g_dwmapi) {
        FreeLibrary(g_dwmapi);
        g_dwmapi = nullptr;
    }
}

} // namespace mw
