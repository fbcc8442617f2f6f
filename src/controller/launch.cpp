#include "controller/launch.h"

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/log.h"
#include "platform/unique_handle.h"

namespace mw {

namespace {

// A BSTR that frees itself.
struct Bstr {
    BSTR value;
    explicit Bstr(const std::wstring& text)
        : value(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
};

VARIANT TextVariant(BSTR text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text;
    return v;
}

// The desktop folder view's shell object, as Explorer runs it.
bool DesktopShellDispatch(ComPtr<IShellDispatch2>& shell) {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.put_void())))
        return false;
    VARIANT location, root;
    VariantInit(&location);
    VariantInit(&root);
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    long desktopWindow = 0;
    ComPtr<IDispatch> found;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                              found.put()) != S_OK ||
        !found)
        return false;
    ComPtr<IServiceProvider> provider;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background, application;
    ComPtr<IShellFolderViewDual> folderView;
    return SUCCEEDED(found->QueryInterface(IID_IServiceProvider, provider.put_void())) &&
           SUCCEEDED(provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void())) &&
           SUCCEEDED(browser->QueryActiveShellView(view.put())) &&
           SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void())) &&
           SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.put_void())) &&
           SUCCEEDED(folderView->get_Application(application.put())) && application &&
           SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.put_void()));
}

} // namespace

namespace {

// Whether the process runs elevated; `unknown` when its token cannot be read.
bool TokenOfProcessIsElevated(HANDLE process, bool unknown) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw))
        return unknown;
    UniqueHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return unknown;
    return elevation.TokenIsElevated != 0;
}

// The desktop's shell runs at the user's normal level: only then does starting through it give
// a program less than our own rights. Without a shell, or with one as elevated as we are, the
// entry starts directly (and the shell's objects may not even answer).
bool ShellRunsBelowUs() {
    DWORD pid = 0;
    HWND shell = GetShellWindow();
    if (!shell || !GetWindowThreadProcessId(shell, &pid) || pid == 0)
        return false;
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process)
        return false;
    return !TokenOfProcessIsElevated(process.get(), true);
}

} // namespace

bool ProcessIsElevated() {
    return TokenOfProcessIsElevated(GetCurrentProcess(), false) && ShellRunsBelowUs();
}

bool LaunchDirectly(HWND owner, const LaunchRequest& request) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No error box from the shell here: the popup is still up and would wait behind it. A start
    // that fails is tried again once the popup is gone, where the shell may say why.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = request.path.c_str();
    info.lpParameters = request.parameters.c_str();
    info.lpDirectory = request.folder.c_str();
    info.nShow = SW_SHOWDEFAULT;
    if (!ShellExecuteExW(&info)) {
        LogError(L"Starting a launcher entry", GetLastError());
        return false;
    }
    // We hold the foreground: hand the right to take it to the program just started. A document
    // opened by a program that was already running comes without a process.
    if (info.hProcess) {
        UniqueHandle process(info.hProcess);
        AllowSetForegroundWindow(GetProcessId(process.get()));
    } else {
        AllowSetForegroundWindow(ASFW_ANY);
    }
    return true;
}

bool LaunchThroughDesktop(const LaunchRequest& request) {
    ComInit com;
    ComPtr<IShellDispatch2> shell;
    if (!DesktopShellDispatch(shell))
        return false;
    Bstr file(request.path), parameters(request.parameters), folder(request.folder), verb(L"open");
    VARIANT show;
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWDEFAULT;
    return SUCCEEDED(shell->ShellExecute(file.value, TextVariant(parameters.value), TextVariant(folder.value),
                                         TextVariant(verb.value), show));
}

void LaunchShowingErrors(HWND owner, const LaunchRequest& request) {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", request.path.c_str(),
                                                                request.parameters.c_str(),
                                                                request.folder.c_str(), SW_SHOWDEFAULT));
    if (result <= 32)
        Log(L"launcher entry could not be started (shell result %d)", static_cast<int>(result));
}

LaunchRoute LaunchProgram(HWND owner, const LaunchRequest& request, const LaunchApi& api) {
    const bool elevated = api.isElevated ? api.isElevated() : ProcessIsElevated();
    if (elevated) {
        if ((api.throughDesktop ? api.throughDesktop : LaunchThroughDesktop)(request))
            return LaunchRoute::Desktop;
        Log(L"The shell's desktop could not start the entry; it starts elevated like this program");
    }
    return (api.direct ? api.direct : LaunchDirectly)(owner, request) ? LaunchRoute::Direct
                                                                      : LaunchRoute::Failed;
}

} // namespace mw
