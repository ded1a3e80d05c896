#include "toolkit/win32/labelled_accessible.h"

#include <string>

namespace {

// A label's text as a name: "&" marks the next letter as the mnemonic, "&&" is a plain "&".
std::wstring WithoutMnemonics(const std::wstring& text) {
    std::wstring name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && ++i == text.size()) break;
        name += text[i];
    }
    return name;
}

}  // namespace

std::optional<LRESULT> LabelledAccessible::Answer(HWND control, HWND label, WPARAM wParam,
                                                  LPARAM lParam) {
    return StandardAccessible::Answer(control, wParam, lParam,
                                      [control, label](IAccessible* standard) {
                                          return new LabelledAccessible(control, standard, label);
                                      });
}

LabelledAccessible::LabelledAccessible(HWND control, IAccessible* standard, HWND label)
    : StandardAccessible(control, standard), m_label(label) {}

HRESULT LabelledAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!IsSelf(child)) return StandardAccessible::get_accName(child, name);
    return AnswerText(WithoutMnemonics(WindowText(m_label)), name);
}
