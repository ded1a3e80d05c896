#include "ui/win32/language_resources.h"

#include "base/win32/wide_text.h"
#include "ui/ui_text.h"

namespace {
// The resource types by number: the RT_ names follow the build's character set.
constexpr WORD kDialog = 5;
constexpr WORD kStringBlock = 6;
}  // namespace

LANGID UserResourceLanguage() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                     LOCALE_NAME_MAX_LENGTH, 0);
    return LanguageOf(Narrow(name)) == UiLanguage::Korean
               ? MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)
               : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

const DLGTEMPLATE* FindDialogTemplate(HINSTANCE instance, int id, LANGID language) {
    HRSRC found =
        FindResourceExW(instance, MAKEINTRESOURCEW(kDialog), MAKEINTRESOURCEW(id), language);
    if (!found) found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kDialog));
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
}

std::wstring LoadStringIn(HINSTANCE instance, int id, LANGID language) {
    // Strings live in blocks of 16, each a length in UTF-16 units followed by that many units.
    HRSRC found = FindResourceExW(instance, MAKEINTRESOURCEW(kStringBlock),
                                  MAKEINTRESOURCEW(id / 16 + 1), language);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* p = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!p) return {};
    const WCHAR* end = p + SizeofResource(instance, found) / sizeof(WCHAR);
    for (int i = 0; i < id % 16 && p < end; ++i) p += 1 + *p;
    if (p >= end || p + 1 + *p > end) return {};
    return std::wstring(p + 1, *p);
}
