#include "system/frame_host.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <knownfolders.h>
#include <propsys.h>
#include <propkey.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/unique_handle.h"

namespace mw {

bool IsFrameHostProgram(const wchar_t* path) {
    if (!path)
        return false;
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    }
    return lstrcmpiW(name, kFrameHostProgram) == 0;
}

HWND ProgramWindowOfFrame(HWND frame, const wchar_t* framePath, DWORD frameProcess, HWND content,
                          DWORD contentProcess) {
    if (!content || contentProcess == 0 || contentProcess == frameProcess || !IsFrameHostProgram(framePath))
        return frame;
    return content;
}

HWND ForeignContentWindow(HWND frame, DWORD* contentProcess) {
    *contentProcess = 0;
    DWORD frameProcess = 0;
    if (!frame || GetWindowThreadProcessId(frame, &frameProcess) == 0)
        return nullptr;
    // Direct children only: the app's window sits right under the frame.
    for (HWND child = FindWindowExW(frame, nullptr, kAppContentClass, nullptr); child;
         child = FindWindowExW(frame, child, kAppContentClass, nullptr)) {
        DWORD process = 0;
        if (GetWindowThreadProcessId(child, &process) != 0 && process != 0 && process != frameProcess) {
            *contentProcess = process;
            return child;
        }
    }
    return nullptr;
}

std::wstring AppUserModelIdOfWindow(HWND window) {
    ComInit com;
    std::wstring id;
    {
        ComPtr<IPropertyStore> store;
        if (FAILED(SHGetPropertyStoreForWindow(window, IID_IPropertyStore, store.put_void())))
            return id;
        PROPVARIANT value;
        PropVariantInit(&value);
        if (SUCCEEDED(store->GetValue(PKEY_AppUserModel_ID, &value)) && value.vt == VT_LPWSTR &&
            value.pwszVal)
            id = value.pwszVal;
        PropVariantClear(&value);
    } // released before the component system is uninitialised
    return id;
}

namespace {

// An icon made of a 32-bit picture with its own transparency. The picture the shell hands out is
// premultiplied; an icon's colours are not.
HICON IconFromPicture(HBITMAP picture, int pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels;
    info.bmiHeader.biHeight = -pixels;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> bits(static_cast<size_t>(pixels) * pixels * 4);
    WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), picture, 0, pixels, bits.data(), &info, DIB_RGB_COLORS) != pixels)
        return nullptr;
    for (size_t i = 0; i < bits.size(); i += 4) {
        const unsigned alpha = bits[i + 3];
        for (size_t c = 0; c < 3 && alpha != 0 && alpha != 255; ++c)
            bits[i + c] = static_cast<BYTE>(std::min(255u, bits[i + c] * 255u / alpha));
    }
    void* colorBits = nullptr;
    UniqueBitmap color(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &colorBits, nullptr, 0));
    UniqueBitmap mask(CreateBitmap(pixels, pixels, 1, 1, nullptr));
    if (!color || !colorBits || !mask)
        return nullptr;
    memcpy(colorBits, bits.data(), bits.size());
    ICONINFO icon{TRUE, 0, 0, mask.get(), color.get()};
    return CreateIconIndirect(&icon);
}

} // namespace

HICON AppsFolderIcon(const std::wstring& appUserModelId, int pixels) {
    if (appUserModelId.empty() || pixels <= 0)
        return nullptr;
    ComInit com;
    HICON icon = nullptr;
    {
        ComPtr<IShellItemImageFactory> factory;
        if (FAILED(SHCreateItemInKnownFolder(FOLDERID_AppsFolder, KF_FLAG_DONT_VERIFY, appUserModelId.c_str(),
                                             IID_IShellItemImageFactory, factory.put_void())))
            return nullptr;
        HBITMAP picture = nullptr;
        if (FAILED(factory->GetImage(SIZE{pixels, pixels}, SIIGBF_ICONONLY, &picture)) || !picture)
            return nullptr;
        UniqueBitmap owned(picture);
        icon = IconFromPicture(picture, pixels);
    }
    return icon;
}

} // namespace mw
