#include "system/file_icon.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <climits>
#include <cstring>
#include <cwchar>

#include "platform/unique_handle.h"

namespace mw {

namespace {

constexpr int TargetBufferLength = 260;
// Registry values are read into 260 bytes: 129 characters and the terminator.
constexpr DWORD RegistryValueBytes = 260;

bool IsBlank(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// The default (unnamed) value of HKEY_CLASSES_ROOT\<subKey> as text. A value that does not fit
// the buffer is refused instead of being cut short.
bool ReadClassesRootDefault(const std::wstring& subKey, std::wstring& value) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return false;
    BYTE buffer[RegistryValueBytes] = {};
    DWORD bytes = RegistryValueBytes;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return false;
    if (bytes > RegistryValueBytes)
        return false;
    value = TextFromRegistryData(buffer, bytes);
    return true;
}

// The target of a shortcut, or empty when the shortcut cannot be read or points at nothing on
// disk. The component system is initialised only for the duration of the call.
std::wstring ShortcutTarget(const wchar_t* path) {
    ComInit com;
    std::wstring target;
    {
        ComPtr<IShellLinkW> link;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    link.put_void()))) {
            return target;
        }
        ComPtr<IPersistFile> file;
        if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())))
            return target;
        if (FAILED(file->Load(path, STGM_READ)))
            return target;
        target = ShortcutPath(*link.get());
    } // both interfaces are released before the component system is uninitialised
    return target;
}

// Folders and files without an extension: wherever the shell says their icon lives.
HICON ShellLocationIcon(const wchar_t* target, int size) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(target, 0, &info, sizeof(info), SHGFI_ICONLOCATION))
        return nullptr;
    info.szDisplayName[MAX_PATH - 1] = L'\0';
    if (info.szDisplayName[0] == L'\0')
        return nullptr;
    return ExtractOneIcon(info.szDisplayName, info.iIcon, size);
}

// Documents: extension -> file type -> the type's "DefaultIcon" value "file,index", whose file
// part is written the way the shell writes it (quoted, with environment references).
HICON DocumentTypeIcon(const std::wstring& extension, int size) {
    std::wstring typeName;
    if (!ReadClassesRootDefault(extension, typeName) || typeName.empty())
        return nullptr;
    std::wstring location;
    if (!ReadClassesRootDefault(typeName + L"\\DefaultIcon", location))
        return nullptr;
    std::wstring file;
    int index = 0;
    if (!SplitIconLocation(location, file, index))
        return nullptr;
    return ExtractOneIcon(IconFileOfLocation(file).c_str(), index, size);
}

} // namespace

std::wstring ShortcutPath(IShellLinkW& link) {
    // A target that cannot be found this way keeps the path stored in the shortcut.
    link.Resolve(nullptr, kShortcutResolveFlags);
    wchar_t buffer[TargetBufferLength] = {};
    if (link.GetPath(buffer, TargetBufferLength, nullptr, 0) != S_OK)
        return std::wstring();
    buffer[TargetBufferLength - 1] = L'\0';
    return buffer;
}

std::wstring ShortcutTargetPath(const wchar_t* path) {
    return ShortcutTarget(path);
}

std::wstring TextFromRegistryData(const BYTE* data, DWORD bytes) {
    if (!data)
        return std::wstring();
    const size_t units = bytes / sizeof(wchar_t);
    std::wstring text(units, L'\0');
    std::memcpy(text.data(), data, units * sizeof(wchar_t)); // the data need not be aligned
    const size_t zero = text.find(L'\0');
    if (zero != std::wstring::npos)
        text.resize(zero);
    return text;
}

std::wstring PathExtension(const wchar_t* path) {
    if (!path)
        return std::wstring();
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    }
    const wchar_t* dot = std::wcsrchr(name, L'.');
    return dot ? std::wstring(dot) : std::wstring();
}

int ParseIconIndex(const wchar_t* text) {
    if (!text)
        return 0;
    while (IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == L'+' || *text == L'-')
        negative = *text++ == L'-';
    long long value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        value = value * 10 + (*text - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

bool SplitIconLocation(const std::wstring& value, std::wstring& file, int& index) {
    for (size_t i = value.size(); i-- > 1;) {
        if (value[i] == L',') {
            file = value.substr(0, i);
            index = ParseIconIndex(value.c_str() + i + 1);
            return true;
        }
    }
    return false;
}

std::wstring IconFileOfLocation(const std::wstring& file) {
    std::wstring unquoted;
    unquoted.reserve(file.size());
    for (wchar_t c : file) {
        if (c != L'"')
            unquoted += c;
    }
    size_t first = 0;
    while (first < unquoted.size() && IsBlank(unquoted[first]))
        ++first;
    size_t last = unquoted.size();
    while (last > first && IsBlank(unquoted[last - 1]))
        --last;
    unquoted = unquoted.substr(first, last - first);
    if (unquoted.find(L'%') == std::wstring::npos)
        return unquoted;
    const DWORD needed = ExpandEnvironmentStringsW(unquoted.c_str(), nullptr, 0);
    if (needed == 0)
        return unquoted;
    std::wstring expanded(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(unquoted.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed)
        return unquoted;
    expanded.resize(written - 1); // the count includes the terminator
    return expanded;
}

HICON ExtractOneIcon(const wchar_t* file, int index, int size) {
    if (!file || !*file)
        return nullptr;
    HICON icon = nullptr;
    UINT id = 0;
    UINT extracted = PrivateExtractIconsW(file, index, size, size, &icon, &id, 1, 0);
    if (extracted == 0 || extracted == UINT_MAX) {
        if (icon)
            DestroyIcon(icon);
        return nullptr;
    }
    return icon;
}

HICON LauncherEntryIcon(const std::wstring& path, const std::wstring& iconFile, int iconIndex, int size) {
    if (!iconFile.empty())
        return ExtractOneIcon(iconFile.c_str(), iconIndex, size);
    return FileIcon(path.c_str(), size);
}

HICON FileIcon(const wchar_t* path, int size) {
    // Callers hold paths in 260-character buffers; anything longer cannot be a path we were given.
    // An empty path names nothing (the shell would answer with some folder's icon).
    if (!path || !*path || wcsnlen(path, MaxIconPathLength + 1) > static_cast<size_t>(MaxIconPathLength)) {
        return nullptr;
    }

    std::wstring target = path;
    std::wstring extension = PathExtension(path);
    if (lstrcmpiW(extension.c_str(), L".lnk") == 0) {
        target = ShortcutTarget(path);
        if (target.empty())
            return nullptr;
        extension = PathExtension(target.c_str());
    }

    if (extension.empty())
        return ShellLocationIcon(target.c_str(), size);
    if (lstrcmpiW(extension.c_str(), L".exe") == 0)
        return ExtractOneIcon(target.c_str(), 0, size);
    return DocumentTypeIcon(extension, size);
}

} // namespace mw
