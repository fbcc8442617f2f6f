#include "options/startup_shortcut.h"

#include "model/program_state.h"
#include "platform/process_info.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "resource.h"

namespace mw {

namespace {

struct FindTraits {
    using type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
using UniqueFind = UniqueAny<FindTraits>;

} // namespace

std::wstring StartupFolder(const SystemServices& services) {
    if (!services.startupFolder.empty())
        return services.startupFolder;
    wchar_t folder[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return L"";
    return folder;
}

std::wstring StartupShortcutPath(const SystemServices& services) {
    return StartupFolder(services) + L"\\" + kShortcutFileName;
}

int StartupShortcutExists(const SystemServices& services) {
    const std::wstring folder = StartupFolder(services);
    if (folder.empty())
        return 0;
    WIN32_FIND_DATAW found{};
    UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search)
        return 0;
    do {
        if (lstrcmpiW(found.cFileName, kShortcutFileName) == 0)
            return 1;
    } while (FindNextFileW(search.get(), &found));
    return 0;
}

int CreateStartupShortcut(const SystemServices& services, LANGID language) {
    if (StartupShortcutExists(services))
        return 0;
    const std::wstring target = ExecutablePath();
    if (target.empty() || StartupFolder(services).empty())
        return 0;
    ComInit com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void()))) {
        return 0;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())))
        return 0;
    link->SetPath(target.c_str());
    link->SetDescription(LoadText(language, IDS_SHORTCUT_DESCRIPTION).c_str());
    const HRESULT saved = file->Save(StartupShortcutPath(services).c_str(), TRUE);
    // file and link are released here, before ComInit undoes the initialisation.
    return SUCCEEDED(saved) ? 1 : 0;
}

void DeleteStartupShortcut(const SystemServices& services) {
    if (StartupShortcutExists(services))
        DeleteFileW(StartupShortcutPath(services).c_str());
}

} // namespace mw
