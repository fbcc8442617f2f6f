#include "system/file_icon.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <climits>
#include <string>

#include "platform/unique_handle.h"
#include "support/icon_probe.h"
#include "support/shortcut.h"
#include "support/temp_dir.h"

namespace {

using namespace mw;
using mw::test::CreateShortcut;
using mw::test::IconBitmapSize;
using mw::test::SameIconPixels;
using mw::test::TempDir;

const wchar_t kNotepad[] = L"C:\\windows\\notepad.exe";
const wchar_t kRegedit[] = L"C:\\windows\\regedit.exe";
const wchar_t kShell32[] = L"C:\\windows\\system32\\shell32.dll";

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH] = {};
    GetSystemDirectoryW(buffer, MAX_PATH);
    return buffer;
}

// A shortcut whose target moved could put up the system's search dialog at start-up and rewrite
// the user's file; Wine shows neither, so the link records how it is resolved.
struct RecordingLink : IShellLinkW {
    HWND resolveWindow = reinterpret_cast<HWND>(1);
    DWORD resolveFlags = 0;
    int resolveCalls = 0;
    HRESULT STDMETHODCALLTYPE Resolve(HWND window, DWORD flags) override {
        resolveWindow = window;
        resolveFlags = flags;
        ++resolveCalls;
        return S_FALSE; // not found
    }
    HRESULT STDMETHODCALLTYPE GetPath(LPWSTR file, int length, WIN32_FIND_DATAW*, DWORD) override {
        return lstrcpynW(file, L"C:\\moved\\tool.exe", length) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetIDList(PIDLIST_ABSOLUTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDescription(LPWSTR, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDescription(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPWSTR, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetArguments(LPWSTR, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetArguments(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHotkey(WORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHotkey(WORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetShowCmd(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetShowCmd(int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIconLocation(LPWSTR, int, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCWSTR, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRelativePath(LPCWSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPath(LPCWSTR) override { return E_NOTIMPL; }
};

TEST(ShortcutPath, ResolvesWithoutWindowUpdateSearchOrTrackingAndKeepsTheStoredPath) {
    RecordingLink link;
    EXPECT_EQ(ShortcutPath(link), L"C:\\moved\\tool.exe");
    ASSERT_EQ(link.resolveCalls, 1);
    EXPECT_EQ(link.resolveWindow, nullptr);
    const DWORD required = static_cast<DWORD>(SLR_NO_UI) | SLR_NOUPDATE | SLR_NOSEARCH | SLR_NOTRACK;
    EXPECT_EQ(link.resolveFlags & 0xFFFF, required) << "and SLR_UPDATE, which rewrites the file, is off";
    const DWORD timeoutMs = link.resolveFlags >> 16;
    EXPECT_GT(timeoutMs, 0u) << "0 would mean the default of three seconds";
    EXPECT_LE(timeoutMs, 500u);
}

// A file type registered for the tests and removed again when they end. It goes to the current
// user's classes, which HKEY_CLASSES_ROOT shows on Windows; Wine 8 does not merge those in, so
// there the machine's classes of the test prefix take it. Values are written as raw bytes so
// tests can leave out the terminating zero.
class RegisteredType {
  public:
    RegisteredType(const wchar_t* extension, const wchar_t* typeName)
        : extension_(extension), typeName_(typeName) {
        SetDefault(extension_, typeName_, true);
    }
    ~RegisteredType() {
        for (const std::wstring& name : {extension_, typeName_}) {
            RegDeleteTreeW(Root(), (kClasses + name).c_str());
            RegDeleteKeyW(Root(), (kClasses + name).c_str());
        }
    }
    RegisteredType(const RegisteredType&) = delete;
    RegisteredType& operator=(const RegisteredType&) = delete;

    void SetDefaultIcon(const std::wstring& value, bool terminated = true) {
        SetDefault(typeName_ + L"\\DefaultIcon", value, terminated);
    }
    static void SetDefault(const std::wstring& subKey, const std::wstring& value, bool terminated) {
        UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(Root(), (kClasses + subKey).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  key.put(), nullptr),
                  ERROR_SUCCESS);
        DWORD bytes = static_cast<DWORD>((value.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
        ASSERT_EQ(RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 bytes),
                  ERROR_SUCCESS);
    }

  private:
    // Where a registration becomes visible under HKEY_CLASSES_ROOT, found out once.
    static HKEY Root() {
        static const HKEY root = [] {
            const std::wstring probe = kClasses + L".mwprobe" + std::to_wstring(GetCurrentProcessId());
            UniqueKey created;
            if (RegCreateKeyExW(HKEY_CURRENT_USER, probe.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                created.put(), nullptr) != ERROR_SUCCESS) {
                return HKEY_LOCAL_MACHINE;
            }
            created.reset();
            UniqueKey seen;
            bool merged = RegOpenKeyExW(HKEY_CLASSES_ROOT, probe.substr(kClasses.size()).c_str(), 0, KEY_READ,
                                        seen.put()) == ERROR_SUCCESS;
            seen.reset();
            RegDeleteKeyW(HKEY_CURRENT_USER, probe.c_str());
            return merged ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        }();
        return root;
    }

    static inline const std::wstring kClasses = L"Software\\Classes\\";
    std::wstring extension_;
    std::wstring typeName_;
};

// A path to an existing file, padded with ".\" segments to exactly `length` characters.
std::wstring PaddedPath(const std::wstring& folder, const std::wstring& fileName, size_t length) {
    std::wstring path = folder + L"\\";
    while (path.size() + 2 + fileName.size() <= length)
        path += L".\\";
    if (path.size() + fileName.size() < length)
        path.insert(path.size() - 1, L"\\"); // "\\" is still a separator
    return path + fileName;
}

// --- pure pieces --------------------------------------------------------------------------------

TEST(FileIconText, ExtensionIsTakenFromTheFileNameOnly) {
    EXPECT_EQ(PathExtension(L"C:\\Tools\\app.exe"), L".exe");
    EXPECT_EQ(PathExtension(L"C:\\a.b\\README"), L"") << "a dot in a folder name is no extension";
    EXPECT_EQ(PathExtension(L"C:/a.b/README"), L"");
    EXPECT_EQ(PathExtension(L"C:\\x\\archive.tar.gz"), L".gz");
    EXPECT_EQ(PathExtension(L"C:\\x\\.profile"), L".profile");
    EXPECT_EQ(PathExtension(L"C:\\x\\name."), L".");
    EXPECT_EQ(PathExtension(L"C:\\folder\\"), L"");
    EXPECT_EQ(PathExtension(L""), L"");
    EXPECT_EQ(PathExtension(nullptr), L"");
}

TEST(FileIconText, IconIndexReadsLikeADecimalInteger) {
    EXPECT_EQ(ParseIconIndex(L"3"), 3);
    EXPECT_EQ(ParseIconIndex(L"  \t12abc"), 12);
    EXPECT_EQ(ParseIconIndex(L"-149"), -149) << "negative indexes name resource ids and pass unchanged";
    EXPECT_EQ(ParseIconIndex(L" +7"), 7);
    EXPECT_EQ(ParseIconIndex(L""), 0);
    EXPECT_EQ(ParseIconIndex(L"x5"), 0);
    EXPECT_EQ(ParseIconIndex(L"- 5"), 0);
    EXPECT_EQ(ParseIconIndex(L"99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseIconIndex(L"-99999999999999999999"), INT_MIN);
}

TEST(FileIconText, LocationSplitsAtTheLastCommaAfterTheFirstCharacter) {
    std::wstring file;
    int index = 99;
    ASSERT_TRUE(SplitIconLocation(L"C:\\a,b\\icons.dll,2", file, index));
    EXPECT_EQ(file, L"C:\\a,b\\icons.dll");
    EXPECT_EQ(index, 2);
    ASSERT_TRUE(SplitIconLocation(L"\"C:\\x.dll\", -5", file, index));
    EXPECT_EQ(file, L"\"C:\\x.dll\"") << "quotes are kept as stored";
    EXPECT_EQ(index, -5);
    ASSERT_TRUE(SplitIconLocation(L"x.dll,", file, index));
    EXPECT_EQ(file, L"x.dll");
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(SplitIconLocation(L",5", file, index)) << "the icon file would be empty";
    EXPECT_FALSE(SplitIconLocation(L"C:\\x.dll", file, index));
    EXPECT_FALSE(SplitIconLocation(L"", file, index));
}

// --- programs ------------------------------------------------------------------------------------

TEST(FileIcon, ProgramGivesItsFirstIconAtTheRequestedSize) {
    for (int size : {16, 48}) {
        UniqueIcon icon(FileIcon(kNotepad, size));
        ASSERT_NE(icon.get(), nullptr) << size;
        EXPECT_EQ(IconBitmapSize(icon.get()).width, size);
        EXPECT_EQ(IconBitmapSize(icon.get()).height, size);
        UniqueIcon first(ExtractOneIcon(kNotepad, 0, size));
        EXPECT_TRUE(SameIconPixels(icon.get(), first.get(), size));
    }
    UniqueIcon notepad(FileIcon(kNotepad, 32));
    UniqueIcon regedit(FileIcon(kRegedit, 32));
    EXPECT_FALSE(SameIconPixels(notepad.get(), regedit.get(), 32)) << "each program shows its own icon";
}

TEST(FileIcon, ExtensionInCapitalsIsStillAProgram) {
    UniqueIcon upper(FileIcon(L"C:\\WINDOWS\\NOTEPAD.EXE", 32));
    UniqueIcon lower(FileIcon(kNotepad, 32));
    ASSERT_NE(upper.get(), nullptr);
    EXPECT_TRUE(SameIconPixels(upper.get(), lower.get(), 32));
}

TEST(FileIcon, MissingProgramOrOverlongPathGivesNoIcon) {
    EXPECT_EQ(FileIcon(L"C:\\windows\\no-such-program.exe", 32), nullptr);
    EXPECT_EQ(FileIcon(nullptr, 32), nullptr);
    EXPECT_EQ(FileIcon(L"", 32), nullptr);

    // The same program, named with 259 characters (fits) and with 260 and more (refused).
    const std::wstring fits = PaddedPath(L"C:\\windows", L"notepad.exe", 259);
    ASSERT_EQ(fits.size(), 259u);
    UniqueIcon icon(FileIcon(fits.c_str(), 32));
    EXPECT_NE(icon.get(), nullptr);
    const std::wstring tooLong = PaddedPath(L"C:\\windows", L"notepad.exe", 260);
    ASSERT_EQ(tooLong.size(), 260u);
    EXPECT_EQ(FileIcon(tooLong.c_str(), 32), nullptr);
    const std::wstring farTooLong = PaddedPath(L"C:\\windows", L"notepad.exe", 2000);
    EXPECT_EQ(FileIcon(farTooLong.c_str(), 32), nullptr);
}

// --- shortcuts and folders ---------------------------------------------------------------------

TEST(FileIcon, ShortcutToAProgramGivesTheProgramsIcon) {
    TempDir dir;
    const std::wstring link = dir.file(L"Registry editor.lnk");
    ASSERT_TRUE(CreateShortcut(link, kRegedit));
    for (int size : {16, 48}) {
        UniqueIcon viaLink(FileIcon(link.c_str(), size));
        UniqueIcon direct(FileIcon(kRegedit, size));
        ASSERT_NE(viaLink.get(), nullptr) << size;
        EXPECT_EQ(IconBitmapSize(viaLink.get()).width, size);
        EXPECT_TRUE(SameIconPixels(viaLink.get(), direct.get(), size));
    }
    // Extension in capitals is a shortcut all the same.
    const std::wstring upper = dir.file(L"NOTES.LNK");
    ASSERT_TRUE(CreateShortcut(upper, kNotepad));
    UniqueIcon viaUpper(FileIcon(upper.c_str(), 32));
    UniqueIcon notepad(FileIcon(kNotepad, 32));
    EXPECT_TRUE(SameIconPixels(viaUpper.get(), notepad.get(), 32));
}

TEST(FileIcon, FolderAndShortcutToItShowTheShellsFolderIcon) {
    TempDir dir;
    const std::wstring folder = dir.file(L"Projects.2024"); // the dot is in the folder's name
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring plainFolder = dir.file(L"Plain");
    ASSERT_TRUE(CreateDirectoryW(plainFolder.c_str(), nullptr));

    UniqueIcon icon(FileIcon(plainFolder.c_str(), 48));
    ASSERT_NE(icon.get(), nullptr);
    EXPECT_EQ(IconBitmapSize(icon.get()).width, 48);
    EXPECT_EQ(IconBitmapSize(icon.get()).height, 48);

    SHFILEINFOW info{};
    ASSERT_NE(SHGetFileInfoW(plainFolder.c_str(), 0, &info, sizeof info, SHGFI_ICONLOCATION), 0u);
    UniqueIcon atLocation(ExtractOneIcon(info.szDisplayName, info.iIcon, 48));
    EXPECT_TRUE(SameIconPixels(icon.get(), atLocation.get(), 48));
    UniqueIcon program(FileIcon(kNotepad, 48));
    EXPECT_FALSE(SameIconPixels(icon.get(), program.get(), 48));

    const std::wstring link = dir.file(L"Plain folder.lnk");
    ASSERT_TRUE(CreateShortcut(link, plainFolder));
    UniqueIcon viaLink(FileIcon(link.c_str(), 48));
    EXPECT_TRUE(SameIconPixels(viaLink.get(), icon.get(), 48));
}

TEST(FileIcon, FileWithoutExtensionAsksTheShell) {
    TempDir dir;
    const std::wstring file = dir.file(L"README");
    mw::test::WriteTextFile(file, L"hello", false);
    UniqueIcon icon(FileIcon(file.c_str(), 32));
    SHFILEINFOW info{};
    ASSERT_NE(SHGetFileInfoW(file.c_str(), 0, &info, sizeof info, SHGFI_ICONLOCATION), 0u);
    UniqueIcon atLocation(ExtractOneIcon(info.szDisplayName, info.iIcon, 32));
    ASSERT_NE(atLocation.get(), nullptr) << "the shell names an icon for plain files";
    ASSERT_NE(icon.get(), nullptr);
    EXPECT_EQ(IconBitmapSize(icon.get()).width, 32);
    EXPECT_TRUE(SameIconPixels(icon.get(), atLocation.get(), 32));
}

TEST(FileIcon, BrokenShortcutGivesNoIcon) {
    TempDir dir;
    const std::wstring link = dir.file(L"broken.lnk");
    mw::test::WriteTextFile(link, L"not a shortcut", false);
    EXPECT_EQ(FileIcon(link.c_str(), 32), nullptr);
    EXPECT_EQ(FileIcon(dir.file(L"missing.lnk").c_str(), 32), nullptr);
}

// --- documents of registered types -----------------------------------------------------------

class DocumentIcon : public testing::Test {
  protected:
    // Unique per process, so a crashed run never leaves something a later run trips over.
    std::wstring extension_ = L".mwdoc" + std::to_wstring(GetCurrentProcessId());
    std::wstring typeName_ = L"Mistlewick.TestDocument" + std::to_wstring(GetCurrentProcessId());
    std::wstring document_ = L"C:\\nowhere\\report" + extension_; // the document itself need not exist
};

TEST_F(DocumentIcon, DefaultIconNamesFileAndIndex) {
    RegisteredType type(extension_.c_str(), typeName_.c_str());
    type.SetDefaultIcon(SystemFolder() + L"\\shell32.dll,3");
    for (int size : {16, 48}) {
        UniqueIcon icon(FileIcon(document_.c_str(), size));
        ASSERT_NE(icon.get(), nullptr) << size;
        EXPECT_EQ(IconBitmapSize(icon.get()).width, size);
        EXPECT_EQ(IconBitmapSize(icon.get()).height, size);
        UniqueIcon third(ExtractOneIcon(kShell32, 3, size));
        UniqueIcon first(ExtractOneIcon(kShell32, 0, size));
        EXPECT_TRUE(SameIconPixels(icon.get(), third.get(), size));
        EXPECT_FALSE(SameIconPixels(icon.get(), first.get(), size)) << "the index is honoured";
    }
    // The extension compares without regard to case in the registry.
    std::wstring upper = document_;
    CharUpperW(upper.data());
    UniqueIcon icon(FileIcon(upper.c_str(), 32));
    EXPECT_NE(icon.get(), nullptr);
}

TEST_F(DocumentIcon, QuotedLocationWithSystemRootIsExpanded) {
    RegisteredType type(extension_.c_str(), typeName_.c_str());
    UniqueIcon third(ExtractOneIcon(kShell32, 3, 32));
    type.SetDefaultIcon(L"\"%SystemRoot%\\system32\\shell32.dll\",3");
    UniqueIcon icon(FileIcon(document_.c_str(), 32));
    EXPECT_TRUE(icon.get() && SameIconPixels(icon.get(), third.get(), 32));
}

TEST(FileIconText, IconFileOfLocationUnquotesAndExpands) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"MwIconRoot", L"C:\\Win"));
    const wchar_t* rows[][2] = {
        {L"C:\\x\\i.dll", L"C:\\x\\i.dll"},
        {L" \"C:\\a b\\c.dll\" ", L"C:\\a b\\c.dll"},
        {L"\"%MwIconRoot%\\a.dll\"", L"C:\\Win\\a.dll"},
        {L"%MwUnsetVariable%\\a.dll", L"%MwUnsetVariable%\\a.dll"}, // left as written
    };
    for (const auto& row : rows)
        EXPECT_EQ(IconFileOfLocation(row[0]), std::wstring(row[1]));
    SetEnvironmentVariableW(L"MwIconRoot", nullptr);
}

TEST_F(DocumentIcon, NegativeIndexNamesAResourceId) {
    RegisteredType type(extension_.c_str(), typeName_.c_str());
    // Blanks before the sign are skipped; -4 picks the icon group with resource id 4.
    type.SetDefaultIcon(std::wstring(kShell32) + L", -4");
    UniqueIcon icon(FileIcon(document_.c_str(), 32));
    UniqueIcon byId(ExtractOneIcon(kShell32, -4, 32));
    ASSERT_NE(byId.get(), nullptr);
    EXPECT_TRUE(SameIconPixels(icon.get(), byId.get(), 32));
}

TEST_F(DocumentIcon, UnusableValuesGiveNoIcon) {
    RegisteredType type(extension_.c_str(), typeName_.c_str());
    type.SetDefaultIcon(L"%MwNoSuchVariable%\\shell32.dll,3");
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr) << "a variable that is not set names no file";
    type.SetDefaultIcon(SystemFolder() + L"\\shell32.dll");
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr) << "no comma, no index";
    type.SetDefaultIcon(L"");
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr);
    type.SetDefaultIcon(SystemFolder() + L"\\no-such-icons.dll,0");
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr);
    type.SetDefaultIcon(SystemFolder() + L"\\shell32.dll,100000");
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr) << "no icon at that index";
}

TEST_F(DocumentIcon, TypeWithoutDefaultIconOrUnknownExtensionGivesNoIcon) {
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr) << "extension not registered";
    RegisteredType type(extension_.c_str(), typeName_.c_str());
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr) << "type without DefaultIcon";
}

// Registry values may come without a terminating zero. Whatever the registry hands back, the
// text stops at the end of the data actually read.
TEST(FileIconText, RegistryDataWithoutTerminatorEndsAtTheData) {
    // "abc" followed by bytes that are not zero: only the 6 bytes read count.
    const wchar_t raw[] = {L'a', L'b', L'c', L'X', L'Y', L'Z', 0};
    EXPECT_EQ(TextFromRegistryData(reinterpret_cast<const BYTE*>(raw), 6), L"abc");
    EXPECT_EQ(TextFromRegistryData(reinterpret_cast<const BYTE*>(raw), 7), L"abc")
        << "an odd byte is no unit";
    const wchar_t terminated[] = {L'a', 0, L'b', 0};
    EXPECT_EQ(TextFromRegistryData(reinterpret_cast<const BYTE*>(terminated), 8), L"a");
    EXPECT_EQ(TextFromRegistryData(reinterpret_cast<const BYTE*>(raw), 0), L"");
    EXPECT_EQ(TextFromRegistryData(nullptr, 10), L"");
    // A full 260-byte buffer without a zero anywhere gives all 130 units and nothing more.
    BYTE full[262];
    std::fill(full, full + 262, BYTE{'q'});
    EXPECT_EQ(TextFromRegistryData(full, 260), std::wstring(130, static_cast<wchar_t>(0x7171)));
}

TEST_F(DocumentIcon, ValuesWithoutTerminatorAndOversizedValues) {
    RegisteredType type(extension_.c_str(), typeName_.c_str());
    UniqueIcon third(ExtractOneIcon(kShell32, 3, 32));

    type.SetDefaultIcon(SystemFolder() + L"\\shell32.dll,3", /*terminated=*/false);
    UniqueIcon unterminated(FileIcon(document_.c_str(), 32));
    EXPECT_TRUE(SameIconPixels(unterminated.get(), third.get(), 32));

    const std::wstring location129 = PaddedPath(SystemFolder(), L"shell32.dll,3", 129);
    ASSERT_EQ(location129.size(), 129u);
    type.SetDefaultIcon(location129, /*terminated=*/true);
    UniqueIcon fits(FileIcon(document_.c_str(), 32));
    EXPECT_TRUE(SameIconPixels(fits.get(), third.get(), 32)) << "129 characters and the zero fill 260 bytes";

    const std::wstring location130 = PaddedPath(SystemFolder(), L"shell32.dll,3", 130);
    ASSERT_EQ(location130.size(), 130u);
    type.SetDefaultIcon(location130, /*terminated=*/true);
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr) << "262 bytes do not fit: refused, not truncated";
    const std::wstring location300 = PaddedPath(SystemFolder(), L"shell32.dll,3", 300);
    type.SetDefaultIcon(location300, /*terminated=*/true);
    EXPECT_EQ(FileIcon(document_.c_str(), 32), nullptr);

    // The file type name, stored without a terminator and as long as still fits.
    const std::wstring longType = typeName_ + std::wstring(129 - typeName_.size(), L'x');
    RegisteredType longNamed(extension_.c_str(), longType.c_str());
    RegisteredType::SetDefault(extension_, longType, false);
    RegisteredType::SetDefault(longType + L"\\DefaultIcon", SystemFolder() + L"\\shell32.dll,3", true);
    UniqueIcon viaLongType(FileIcon(document_.c_str(), 32));
    EXPECT_TRUE(SameIconPixels(viaLongType.get(), third.get(), 32));
}

} // namespace
