#pragma once

#include <windows.h>

#include <string>

// The resources of the language the user's interface speaks. The resource script holds the main
// window in Korean (1042) and English (1033); the program picks by the user's interface language
// itself rather than leave it to the loader, which Windows and Wine rank by different settings.

// Korean for a Korean interface, English for any other.
LANGID UserResourceLanguage();

// Dialog template `id` in `language`, else in the module's neutral or any other language; null
// when the module has none.
const DLGTEMPLATE* FindDialogTemplate(HINSTANCE instance, int id, LANGID language);

// String `id` of the module's string table in `language`; empty when it has none there.
std::wstring LoadStringIn(HINSTANCE instance, int id, LANGID language);
