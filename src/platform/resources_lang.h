// Texts, dialogs and menus in the language the user reads. The resources carry a Japanese and an
// English copy of everything; the language is chosen here, explicitly, and never left to the
// thread's UI language (Wine ignores SetThreadUILanguage, so that switch would work on Windows
// only). Every lookup falls back to the other language when the chosen one lacks a resource.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace mw {

// The values of the preference "Language". Anything else counts as automatic.
constexpr int kLanguageAuto = 0;
constexpr int kLanguageJapanese = 1;
constexpr int kLanguageEnglish = 2;

constexpr LANGID kLangIdJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);  // 0x0411
constexpr LANGID kLangIdEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US); // 0x0409

// The resource language for a setting: Japanese or English as asked; automatic gives Japanese
// when the display language is Japanese (any sublanguage) and English otherwise.
LANGID ResourceLanguageFor(int setting, LANGID displayLanguage);

// The language of the resources for a setting (the preference "Language"): the setting resolved
// against the user's display language (GetUserDefaultUILanguage; Wine takes it per process from
// LC_ALL). Every text, dialog and menu below is loaded in a language the caller passes.
LANGID ResourceLanguage(int setting);

// The module that holds the resources: the executable.
HMODULE ResourceModule();

// The resource of the type and id in `language`, else in the other of the two languages, else in
// whatever language the module has it; null when it is absent altogether.
HRSRC FindResourceInLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language);

// The string `id` of the string table in exactly `language`; empty when that table lacks it.
std::wstring LoadTextExactly(UINT id, LANGID language);
// The string `id` of the string table in `language` (the other language when this one has no
// such string); empty when neither has it.
std::wstring LoadTextIn(UINT id, LANGID language);
// The same in ResourceLanguage().
std::wstring LoadText(LANGID language, UINT id);

// Replaces %1..%9 in `pattern` with the arguments in that order and %% with %; a placeholder
// without an argument is left as it is. Inserted text is not scanned again.
std::wstring FormatPattern(const std::wstring& pattern, std::initializer_list<std::wstring> args);
// LoadText(id) with its placeholders filled.
std::wstring FormatText(LANGID language, UINT id, std::initializer_list<std::wstring> args);

// The program's one error box: the text under the caption "Mistlewick" with the error icon, owned
// by `owner` (may be null). The text goes to the log as well.
void ShowErrorBox(HWND owner, const std::wstring& text);

// The dialog and menu calls with the template taken in ResourceLanguage(). They fail like their
// namesakes when the template is missing (-1, null).
INT_PTR DialogBoxInLanguage(LANGID language, HINSTANCE instance, int templateId, HWND parent, DLGPROC proc,
                            LPARAM param);
HWND CreateDialogInLanguage(LANGID language, HINSTANCE instance, int templateId, HWND parent, DLGPROC proc,
                            LPARAM param);
HMENU LoadMenuInLanguage(LANGID language, HINSTANCE instance, int menuId);

} // namespace mw
