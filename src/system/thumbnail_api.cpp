#include "system/thumbnail_api.h"

#include "platform/system_library.h"
#include "platform/unique_handle.h"

namespace mw {

namespace {
template <typename F> void Lookup(HMODULE module, F& fn, const char* name) {
    fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

bool LoadThumbnailApi(ProgramState& program) {
    // From the system folder: a dwmapi.dll beside the program must not be loaded in its place.
    program.dwmapi.reset(LoadSystemLibrary(L"dwmapi.dll"));
    if (!program.dwmapi)
        return false;
    ThumbnailApi& api = program.services.thumbnails;
    HMODULE dwm = program.dwmapi.get();
    Lookup(dwm, api.registerThumbnail, "DwmRegisterThumbnail");
    Lookup(dwm, api.updateProperties, "DwmUpdateThumbnailProperties");
    Lookup(dwm, api.unregisterThumbnail, "DwmUnregisterThumbnail");
    Lookup(dwm, api.querySourceSize, "DwmQueryThumbnailSourceSize"); // optional
    if (!api.registerThumbnail || !api.updateProperties || !api.unregisterThumbnail) {
        UnloadThumbnailApi(program);
        return false;
    }
    return true;
}

void UnloadThumbnailApi(ProgramState& program) {
    program.services.thumbnails = ThumbnailApi{};
    program.dwmapi.reset();
}

} // namespace mw
