#include "model/thumbnail_api.h"

#include "platform/system_library.h"
#include "platform/unique_handle.h"

namespace mw {

namespace {
template <typename F> void Lookup(F& fn, const char* name) {
    fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Program().dwmapi.get(), name)));
}
} // namespace

ThumbnailApi& CurrentThumbnailApi() {
    return Program().services.thumbnails;
}

bool LoadThumbnailApi() {
    // From the system folder: a dwmapi.dll beside the program must not be loaded in its place.
    Program().dwmapi.reset(LoadSystemLibrary(L"dwmapi.dll"));
    if (!Program().dwmapi)
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
    Program().dwmapi.reset();
}

} // namespace mw
