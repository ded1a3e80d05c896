// The resource script against the program's own tables: the dialog templates control by control,
// the menus item by item, and the artwork and data byte for byte from res/.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "base/win32/win32_resources.h"
#include "toolkit/win32/scaled_bitmap.h"
#include "ui/about_box.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/menu_model.h"
#include "ui/repeller_dialog.h"
#include "ui/ui_text.h"
#include "ui/win32/language_resources.h"

namespace {

// One control of an extended dialog template.
struct TemplateItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    WORD classAtom = 0;  // 0x80 button, 0x81 edit, 0x82 static
    std::wstring text;
    WORD textResource = 0;  // a picture's resource id instead of a text
};

struct Template {
    DWORD style = 0;
    DWORD exStyle = 0;
    int cx = 0, cy = 0;
    WORD menu = 0;
    std::wstring caption;
    WORD pointSize = 0;
    BYTE charset = 0;
    std::wstring font;
    std::vector<TemplateItem> items;
};

// Reads a DLGTEMPLATEEX as the resource compiler lays it out.
class Reader {
public:
    explicit Reader(const BYTE* p) : m_p(p), m_start(p) {}
    WORD Word() {
        WORD w;
        std::memcpy(&w, m_p, 2);
        m_p += 2;
        return w;
    }
    DWORD Dword() { return Word() | (static_cast<DWORD>(Word()) << 16); }
    short Short() { return static_cast<short>(Word()); }
    // A string, or an ordinal (returned in `ordinal`).
    std::wstring SzOrOrd(WORD* ordinal = nullptr) {
        if (ordinal) *ordinal = 0;
        WORD first = Word();
        if (first == 0xFFFF) {
            const WORD value = Word();
            if (ordinal) *ordinal = value;
            return {};
        }
        std::wstring s;
        while (first != 0) {
            s += static_cast<wchar_t>(first);
            first = Word();
        }
        return s;
    }
    void AlignDword() {
        while ((m_p - m_start) % 4) ++m_p;
    }
    void Skip(std::size_t n) { m_p += n; }

private:
    const BYTE* m_p;
    const BYTE* m_start;
};

// Dialog template `id` in `language`, or as the loader picks it without one.
Template LoadTemplate(int id, LANGID language = 0) {
    HRSRC found =
        language ? FindResourceExW(nullptr, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), language)
                 : FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    EXPECT_NE(found, nullptr) << "dialog " << id;
    Template t;
    if (!found) return t;
    Reader r(static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))));
    EXPECT_EQ(r.Word(), 1);
    EXPECT_EQ(r.Word(), 0xFFFF) << "an extended template";
    r.Dword();  // help id
    t.exStyle = r.Dword();
    t.style = r.Dword();
    const WORD count = r.Word();
    r.Short();
    r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    r.SzOrOrd(&t.menu);
    r.SzOrOrd();  // class
    t.caption = r.SzOrOrd();
    t.pointSize = r.Word();
    r.Word();  // weight
    const WORD italicCharset = r.Word();
    t.charset = HIBYTE(italicCharset);
    t.font = r.SzOrOrd();
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        TemplateItem item;
        r.Dword();  // help id
        item.exStyle = r.Dword();
        item.style = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = r.Dword();
        // A class by name (CONTROL statements) counts as its atom.
        const std::wstring className = r.SzOrOrd(&item.classAtom);
        if (_wcsicmp(className.c_str(), L"Button") == 0) item.classAtom = 0x80;
        if (_wcsicmp(className.c_str(), L"Edit") == 0) item.classAtom = 0x81;
        if (_wcsicmp(className.c_str(), L"Static") == 0) item.classAtom = 0x82;
        item.text = r.SzOrOrd(&item.textResource);
        r.Skip(r.Word());
        t.items.push_back(item);
    }
    return t;
}

std::wstring W(std::string_view utf8) { return Widen(utf8); }

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string ResourceBytes(std::string_view type, int id) {
    const auto bytes = Win32Resources().Find(type, id);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

constexpr DWORD kShellFont = DS_SETFONT | DS_FIXEDSYS;

// The Korean of each English text, from the translation that Qt's translator loads.
std::map<std::string, std::string> KoreanTranslations() {
    const std::string ts = FileBytes(std::string(DROVANE_RES_DIR) + "/translations/drovane_ko.ts");
    const auto unescape = [](std::string text) {
        for (const auto& [entity, letter] :
             {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
            for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
                text.replace(at, std::strlen(entity), letter);
        }
        return text;
    };
    const auto element = [&](std::string_view name, std::size_t& at) -> std::optional<std::string> {
        const std::string open = "<" + std::string(name) + ">";
        const std::size_t start = ts.find(open, at);
        const std::size_t end = ts.find("</" + std::string(name) + ">", start);
        if (start == std::string::npos || end == std::string::npos) return std::nullopt;
        at = end;
        return unescape(ts.substr(start + open.size(), end - start - open.size()));
    };
    std::map<std::string, std::string> korean;
    std::size_t at = 0;
    while (const auto source = element("source", at)) {
        if (const auto translation = element("translation", at)) korean[*source] = *translation;
    }
    return korean;
}

bool HasHangul(std::string_view utf8) {
    for (wchar_t c : Widen(utf8)) {
        if (c >= 0xAC00 && c <= 0xD7A3) return true;
    }
    return false;
}

void ExpectControl(const layout::Control& c, const TemplateItem& item, const std::wstring& text) {
    SCOPED_TRACE("control " + std::to_string(c.id) + " '" + std::string(c.text) + "'");
    EXPECT_EQ(static_cast<int>(item.id), c.id == 0 ? -1 : c.id);
    EXPECT_EQ((std::vector<int>{item.x, item.y, item.cx, item.cy}),
              (std::vector<int>{c.x, c.y, c.width, c.height}));
    EXPECT_EQ((item.style & WS_VISIBLE) == 0, c.hidden);
    const DWORD kind = item.style & 0x0F;
    switch (c.kind) {
        case layout::Kind::PushButton:
            EXPECT_EQ(item.classAtom, 0x80);
            EXPECT_EQ(kind, c.isDefault ? static_cast<DWORD>(BS_DEFPUSHBUTTON)
                                        : static_cast<DWORD>(BS_PUSHBUTTON));
            EXPECT_EQ(item.text, text);
            break;
        case layout::Kind::Edit:
            EXPECT_EQ(item.classAtom, 0x81);
            EXPECT_EQ(item.style & (ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL),
                      static_cast<DWORD>(ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL));
            EXPECT_TRUE(item.exStyle & WS_EX_STATICEDGE);
            break;
        case layout::Kind::CheckBox:
            EXPECT_EQ(item.classAtom, 0x80);
            EXPECT_EQ(kind, static_cast<DWORD>(BS_AUTOCHECKBOX));
            EXPECT_TRUE(item.exStyle & WS_EX_TRANSPARENT);
            break;
        case layout::Kind::Label:
        case layout::Kind::Banner:
            EXPECT_EQ(item.classAtom, 0x82);
            EXPECT_EQ(item.style & (SS_TYPEMASK | SS_NOTIFY), static_cast<DWORD>(SS_LEFT))
                << "a plain left text that lets clicks through to the dialog";
            EXPECT_EQ(item.text, text);
            break;
        case layout::Kind::Bitmap:
            EXPECT_EQ(item.classAtom, 0x82);
            EXPECT_EQ(item.style & SS_TYPEMASK, static_cast<DWORD>(SS_BITMAP));
            break;
        case layout::Kind::GroupBox:
            EXPECT_EQ(item.classAtom, 0x80);
            EXPECT_EQ(kind, static_cast<DWORD>(BS_GROUPBOX));
            break;
    }
}

// The main window in English and in Korean: the same layout, the texts of each language, every
// text that follows the language translated for both platforms.
TEST(ResourceScriptTest, MainDialogTemplateIsTheProgramsLayoutInEachLanguage) {
    const auto korean = KoreanTranslations();
    for (const UiTextEntry& e : kUiTexts) {
        const auto found = korean.find(std::string(e.english));
        EXPECT_TRUE(found != korean.end() && HasHangul(found->second))
            << "no Korean for '" << e.english << "'";
    }
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    for (const LANGID language : {english, LANGID{MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)}}) {
        SCOPED_TRACE("language " + std::to_string(language));
        // The text in this language: a translated one in Korean, any other as it is.
        const auto in = [&](std::string_view text) {
            const auto found = korean.find(std::string(text));
            return W(language == english || found == korean.end() ? text : found->second);
        };
        const Template t = LoadTemplate(ids::kMainDialog, language);
        EXPECT_EQ(t.caption, in(layout::kCaption));
        EXPECT_EQ(t.cx, layout::kWidthDlu);
        EXPECT_EQ(t.cy, layout::kHeightDlu);
        EXPECT_EQ(t.menu, ids::kMenuBar);
        EXPECT_EQ(t.font, L"MS Shell Dlg");
        EXPECT_EQ(t.pointSize, 8);
        EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                              WS_MINIMIZEBOX | DS_MODALFRAME | kShellFont));
        EXPECT_EQ(t.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
        const auto controls = layout::Controls();
        ASSERT_EQ(t.items.size(), controls.size());
        for (std::size_t i = 0; i < controls.size(); ++i) {
            ExpectControl(controls[i], t.items[i], in(controls[i].text));
        }
        EXPECT_EQ(t.items[18].textResource, ids::kSpeakerBitmap);
        for (const UiTextEntry& e : kUiTexts) {
            if (e.stringId) {
                EXPECT_EQ(LoadStringIn(GetModuleHandleW(nullptr), e.stringId, language),
                          in(e.english));
            }
        }
    }
}

TEST(ResourceScriptTest, AboutTemplateIsTheAboutBoxLayout) {
    const Template t = LoadTemplate(CAboutDialog::kTemplate);
    EXPECT_EQ(t.caption, W(CAboutDialog::kCaption));
    EXPECT_EQ(t.cx, CAboutDialog::kWidthDlu);
    EXPECT_EQ(t.cy, CAboutDialog::kHeightDlu);
    EXPECT_EQ(t.menu, 0);
    EXPECT_EQ(t.font, L"MS Shell Dlg");
    EXPECT_EQ(t.style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | kShellFont));
    const auto controls = CAboutDialog::Controls();
    ASSERT_EQ(t.items.size(), controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const layout::Control& c = controls[i];
        const TemplateItem& item = t.items[i];
        SCOPED_TRACE("about control " + std::to_string(c.id));
        EXPECT_EQ(static_cast<int>(item.id), c.id == 0 ? -1 : c.id);
        EXPECT_EQ((std::vector<int>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<int>{c.x, c.y, c.width, c.height}));
        if (c.kind != layout::Kind::Bitmap) {
            EXPECT_EQ(item.text, W(c.text));
        }
    }
    EXPECT_EQ(t.items[0].textResource, CAboutDialog::kPicture);
    EXPECT_TRUE(t.items[1].style & SS_NOPREFIX) << "the version line";
    EXPECT_TRUE(t.items[1].exStyle & WS_EX_TRANSPARENT);
    EXPECT_EQ(t.items[3].style & 0x0F, static_cast<DWORD>(BS_DEFPUSHBUTTON)) << "OK";
}

void ExpectMenu(HMENU menu, const MenuPopup& popup) {
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(popup.items.size()));
    for (std::size_t i = 0; i < popup.items.size(); ++i) {
        const MenuItem& item = popup.items[i];
        SCOPED_TRACE("item " + std::to_string(i));
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        if (item.IsSeparator()) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
        } else {
            EXPECT_EQ(static_cast<int>(info.wID), item.command);
            EXPECT_EQ(std::wstring(text), W(item.text));
        }
    }
}

TEST(ResourceScriptTest, MenusAreTheProgramsMenus) {
    for (int id : {ids::kMenuBar, ids::kTrayMenu}) {
        SCOPED_TRACE("menu " + std::to_string(id));
        HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(id));
        ASSERT_NE(menu, nullptr);
        const auto popups = FindMenu(id);
        ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(popups.size()));
        for (std::size_t p = 0; p < popups.size(); ++p) {
            wchar_t title[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(p), title, 64, MF_BYPOSITION);
            EXPECT_EQ(std::wstring(title), W(popups[p].title));
            ExpectMenu(GetSubMenu(menu, static_cast<int>(p)), popups[p]);
        }
        DestroyMenu(menu);
    }
}

TEST(ResourceScriptTest, SystemMenuTextMelodyAndBannerAreTheProgramsOwn) {
    wchar_t text[64] = {};
    LoadStringW(nullptr, CRepellerDialog::kSystemAboutTextId, text, 64);
    EXPECT_EQ(std::wstring(text), W(CRepellerDialog::kSystemAboutText));

    const std::string res = DROVANE_RES_DIR;
    EXPECT_EQ(ResourceBytes(kResourceTypeRcData, 139), FileBytes(res + "/test_melody.bin"));
    EXPECT_EQ(ResourceBytes(kResourceTypeGif, 168), FileBytes(res + "/banner.gif"));
    EXPECT_GT(ResourceBytes(kResourceTypeGif, 168).size(), 1000u);
    EXPECT_TRUE(Win32Resources().Find(kResourceTypeGif, 139).empty()) << "types are kept apart";
    EXPECT_TRUE(Win32Resources().Find(kResourceTypeRcData, 140).empty());
}

TEST(ResourceScriptTest, PicturesCursorAndIconsLoadAtTheirSizes) {
    for (int id : {ids::kDialogIcon, ids::kTrayIcon}) {
        for (int size : {16, 32}) {
            HICON icon = static_cast<HICON>(LoadImageW(
                GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << "icon " << id << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bitmap{};
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size) << "icon " << id << " has its own " << size << " px";
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
    HCURSOR hand =
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(CAboutDialog::kHandCursor));
    ASSERT_NE(hand, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_EQ(info.xHotspot, 7u) << "the fingertip";
    EXPECT_EQ(info.yHotspot, 1u);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    const struct {
        int id, width, height;
    } pictures[] = {{ids::kSpeakerBitmap, 16, 15}, {CAboutDialog::kPicture, 88, 76}};
    for (const auto& p : pictures) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(p.id), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(bitmap, nullptr) << "bitmap " << p.id;
        BITMAP info2{};
        GetObjectW(bitmap, sizeof info2, &info2);
        EXPECT_EQ(info2.bmWidth, p.width);
        EXPECT_EQ(info2.bmHeight, p.height);
        DeleteObject(bitmap);
        // The large version, as a denser window takes it: scaled to 1.5 times the plain size.
        const Win32Resources resources(GetModuleHandleW(nullptr));
        HBITMAP large =
            ScaledBitmap(resources.Find("BITMAP@2x", p.id), {p.width * 3 / 2, p.height * 3 / 2});
        ASSERT_NE(large, nullptr) << "large bitmap " << p.id;
        GetObjectW(large, sizeof info2, &info2);
        EXPECT_EQ(info2.bmWidth, p.width * 3 / 2);
        DeleteObject(large);
    }
    EXPECT_FALSE(Win32Resources(GetModuleHandleW(nullptr)).Find("GIF@2x", 168).empty());
}

TEST(ResourceScriptTest, ManifestAndVersion) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                           SizeofResource(nullptr, found));
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    // Drawn at each monitor's density, never stretched by Windows.
    EXPECT_NE(text.find(">PerMonitorV2, System</dpiAwareness>"), std::string::npos);
    EXPECT_EQ(text.find("gdiScaling"), std::string::npos);

    HRSRC version = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
    ASSERT_NE(version, nullptr);
    const auto* bytes = static_cast<const wchar_t*>(LockResource(LoadResource(nullptr, version)));
    const std::wstring block(bytes, SizeofResource(nullptr, version) / sizeof(wchar_t));
    EXPECT_NE(block.find(L"ProductName"), std::wstring::npos);
    EXPECT_NE(block.find(W(DROVANE_VERSION)), std::wstring::npos);
}

}  // namespace
