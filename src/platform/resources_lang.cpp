#include "platform/resources_lang.h"

#include "platform/log.h"
#include "resource.h"

#include <string>

namespace mw {

namespace {

LANGID OtherLanguage(LANGID language) {
    return language == kLangIdJapanese ? kLangIdEnglish : kLangIdJapanese;
}

void LogMissing(const wchar_t* what, UINT id) {
    const std::wstring text = L"Mistlewick: " + std::wstring(what) + L" " + std::to_wstring(id) +
                              L" is missing from the resources\n";
    OutputDebugStringW(text.c_str());
}

// The string `id` of the table block in exactly `language` (or neutral); false when the block or
// the string is missing. A block holds 16 strings, each a length and that many units, no
// terminator; an absent string has length 0.
bool ReadTableString(HMODULE module, UINT id, LANGID language, std::wstring& out) {
    HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!block)
        return false;
    HGLOBAL loaded = LoadResource(module, block);
    const auto* data = static_cast<const WCHAR*>(loaded ? LockResource(loaded) : nullptr);
    if (!data)
        return false;
    const DWORD size = SizeofResource(module, block) / sizeof(WCHAR);
    DWORD at = 0;
    for (UINT entry = 0; entry < id % 16; ++entry) {
        if (at >= size)
            return false;
        at += 1 + data[at];
    }
    if (at >= size || data[at] == 0 || at + 1 + data[at] > size)
        return false;
    out.assign(data + at + 1, data[at]);
    return true;
}

const DLGTEMPLATE* DialogTemplate(LANGID language, HINSTANCE instance, int templateId) {
    HRSRC found = FindResourceInLanguage(instance, RT_DIALOG, MAKEINTRESOURCEW(templateId), language);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* dialog = static_cast<const DLGTEMPLATE*>(loaded ? LockResource(loaded) : nullptr);
    if (!dialog)
        LogMissing(L"dialog", static_cast<UINT>(templateId));
    return dialog;
}

} // namespace

LANGID ResourceLanguageFor(int setting, LANGID displayLanguage) {
    switch (setting) {
    case kLanguageJapanese:
        return kLangIdJapanese;
    case kLanguageEnglish:
        return kLangIdEnglish;
    default:
        return PRIMARYLANGID(displayLanguage) == LANG_JAPANESE ? kLangIdJapanese : kLangIdEnglish;
    }
}

LANGID ResourceLanguage(int setting) {
    return ResourceLanguageFor(setting, GetUserDefaultUILanguage());
}

HMODULE ResourceModule() {
    return GetModuleHandleW(nullptr);
}

HRSRC FindResourceInLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language) {
    if (HRSRC found = FindResourceExW(module, type, name, language))
        return found;
    if (HRSRC found = FindResourceExW(module, type, name, OtherLanguage(language)))
        return found;
    return FindResourceW(module, name, type);
}

std::wstring LoadTextExactly(UINT id, LANGID language) {
    std::wstring text;
    ReadTableString(ResourceModule(), id, language, text);
    return text;
}

std::wstring LoadTextIn(UINT id, LANGID language) {
    std::wstring text;
    if (ReadTableString(ResourceModule(), id, language, text) ||
        ReadTableString(ResourceModule(), id, OtherLanguage(language), text)) {
        return text;
    }
    LogMissing(L"string", id);
    return text;
}

std::wstring LoadText(LANGID language, UINT id) {
    return LoadTextIn(id, language);
}

std::wstring FormatPattern(const std::wstring& pattern, std::initializer_list<std::wstring> args) {
    std::wstring out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        if (c == L'%' && next == L'%') {
            out += L'%';
            ++i;
        } else if (c == L'%' && next >= L'1' && next <= L'9' &&
                   static_cast<size_t>(next - L'1') < args.size()) {
            out += *(args.begin() + (next - L'1'));
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::wstring FormatText(LANGID language, UINT id, std::initializer_list<std::wstring> args) {
    return FormatPattern(LoadText(language, id), args);
}

INT_PTR DialogBoxInLanguage(LANGID language, HINSTANCE instance, int templateId, HWND parent, DLGPROC proc,
                            LPARAM param) {
    const DLGTEMPLATE* dialog = DialogTemplate(language, instance, templateId);
    return dialog ? DialogBoxIndirectParamW(instance, dialog, parent, proc, param) : -1;
}

HWND CreateDialogInLanguage(LANGID language, HINSTANCE instance, int templateId, HWND parent, DLGPROC proc,
                            LPARAM param) {
    const DLGTEMPLATE* dialog = DialogTemplate(language, instance, templateId);
    return dialog ? CreateDialogIndirectParamW(instance, dialog, parent, proc, param) : nullptr;
}

HMENU LoadMenuInLanguage(LANGID language, HINSTANCE instance, int menuId) {
    HRSRC found = FindResourceInLanguage(instance, RT_MENU, MAKEINTRESOURCEW(menuId), language);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* menu = loaded ? LockResource(loaded) : nullptr;
    if (!menu) {
        LogMissing(L"menu", static_cast<UINT>(menuId));
        return nullptr;
    }
    return LoadMenuIndirectW(menu);
}

void ShowErrorBox(HWND owner, const std::wstring& text) {
    Log(L"error box: %ls", text.c_str());
    // The caption is the program's name, the same in every language.
    MessageBoxW(owner, text.c_str(), LoadText(ResourceLanguage(kLanguageAuto), IDS_APP_NAME).c_str(),
                MB_OK | MB_ICONERROR);
}

} // namespace mw
