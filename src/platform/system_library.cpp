#include "platform/system_library.h"

namespace mw {

std::wstring SystemLibraryPath(const wchar_t* name) {
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) {
        folder.resize(length);
        length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    }
    if (length == 0 || length >= folder.size())
        return std::wstring();
    folder.resize(length);
    if (folder.back() != L'\\')
        folder += L'\\';
    return folder + name;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    const std::wstring path = SystemLibraryPath(name);
    if (path.empty()) {
        OutputDebugStringW(L"Mistlewick: the system folder cannot be told\n");
        return nullptr;
    }
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) {
        const std::wstring text =
            L"Mistlewick: cannot load " + path + L" (error " + std::to_wstring(GetLastError()) + L")\n";
        OutputDebugStringW(text.c_str());
    }
    return module;
}

} // namespace mw
