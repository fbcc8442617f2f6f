#include "support/shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/unique_handle.h"

namespace mw::test {

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target) {
    ComInit com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void())))
        return false;
    if (FAILED(link->SetPath(target.c_str())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())))
        return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

} // namespace mw::test
