#include "options/about_page.h"

#include "platform/process_info.h"

#include <cwchar>

#include "options/option_settings.h"
#include "platform/dpi.h"
#include "resource.h"

namespace mw {

namespace {

constexpr int kAboutIconSize = 48;

HWND IconControl(HWND page) {
    return GetDlgItem(page, IDC_ABOUT_ICON);
}

INT_PTR OnInitDialog(OptionsSession& session, HWND page) {
    VersionInfo info;
    ReadVersionBlock(info);
    SetDlgItemTextW(page, IDC_ABOUT_VERSION, AboutText(info).c_str());
    SetDlgItemTextW(page, IDC_ABOUT_ADDRESS, kWebAddress);
    const int size = ScaleForDpi(kAboutIconSize, WindowDpi(session.program.services.dpi, page));
    HICON icon = static_cast<HICON>(
        LoadImageW(session.program.instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, 0));
    // The page owns the icon: the static only shows it and never destroys it.
    SendMessageW(IconControl(page), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    return TRUE;
} // the version block is released with info

INT_PTR OnDestroy(HWND page) {
    HICON icon = reinterpret_cast<HICON>(SendMessageW(IconControl(page), STM_SETICON, 0, 0));
    if (icon)
        DestroyIcon(icon);
    return TRUE;
}

} // namespace

void ReadVersionBlock(VersionInfo& info, const std::wstring& path) {
    info = VersionInfo{};
    DWORD handle = 0;
    info.blockSize = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (info.blockSize == 0)
        return;
    info.block.assign(info.blockSize + 1, 0);
    if (!GetFileVersionInfoW(path.c_str(), 0, info.blockSize, info.block.data()))
        return;
    void* value = nullptr;
    info.hasTranslation =
        VerQueryValueW(info.block.data(), L"\\VarFileInfo\\Translation", &value, &info.valueLength) &&
        value && info.valueLength >= 2 * sizeof(WORD);
    if (info.hasTranslation) {
        const WORD* pair = static_cast<const WORD*>(value);
        swprintf(info.translationKey, 32, L"%04x%04x", pair[0], pair[1]);
    }
}

void ReadVersionBlock(VersionInfo& info) {
    ReadVersionBlock(info, ExecutablePath());
}

const wchar_t* VersionString(VersionInfo& info, const wchar_t* name) {
    if (!info.hasTranslation || info.block.empty())
        return nullptr;
    const std::wstring subBlock = std::wstring(L"\\StringFileInfo\\") + info.translationKey + L"\\" + name;
    void* value = nullptr;
    if (!VerQueryValueW(info.block.data(), subBlock.c_str(), &value, &info.valueLength) || !value)
        return nullptr;
    return static_cast<const wchar_t*>(value);
}

std::wstring AboutText(VersionInfo& info) {
    auto text = [&info](const wchar_t* name) {
        const wchar_t* value = VersionString(info, name);
        return std::wstring(value ? value : L"");
    };
    return text(L"ProductName") + L"  " + text(L"FileVersion") + L"\n\n" + text(L"LegalCopyright");
}

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(*KeepSession(page, lParam), page);
    case WM_DESTROY:
        return OnDestroy(page);
    default:
        return FALSE;
    }
}

} // namespace mw
