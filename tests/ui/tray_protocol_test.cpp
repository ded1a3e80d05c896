#include "ui/tray_protocol.h"

#include <gtest/gtest.h>

#include "ui/system_tray.h"

namespace {

TEST(TrayProtocolTest, ADBusHostWinsOverAnX11TrayAndAWatcherWithoutHostCountsAsNone) {
    struct Case {
        bool watcher, host, xembed;
        TrayProtocol expected;
    };
    const Case cases[] = {
        {false, false, false, TrayProtocol::None},
        {true, false, false, TrayProtocol::None},
        {false, true, false, TrayProtocol::None},
        {false, false, true, TrayProtocol::XEmbed},
        {true, false, true, TrayProtocol::XEmbed},
        {true, true, false, TrayProtocol::StatusNotifier},
        {true, true, true, TrayProtocol::StatusNotifier},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseTrayProtocol({c.watcher, c.host, c.xembed, ""}), c.expected)
            << c.watcher << c.host << c.xembed;
    }
}

TEST(TrayProtocolTest, ASingleClickOpensOnADBusHostAndOnlyADoubleClickOnAnX11Tray) {
    struct Case {
        TrayProtocol protocol;
        TrayClick click;
        std::uint32_t message;
    };
    const Case cases[] = {
        {TrayProtocol::XEmbed, TrayClick::Single, CSystemTray::kLButtonUp},
        {TrayProtocol::XEmbed, TrayClick::Double, CSystemTray::kLButtonDblClk},
        {TrayProtocol::XEmbed, TrayClick::Context, CSystemTray::kRButtonUp},
        {TrayProtocol::StatusNotifier, TrayClick::Single, CSystemTray::kLButtonDblClk},
        {TrayProtocol::StatusNotifier, TrayClick::Double, CSystemTray::kLButtonDblClk},
        {TrayProtocol::StatusNotifier, TrayClick::Context, CSystemTray::kRButtonUp},
        {TrayProtocol::None, TrayClick::Single, CSystemTray::kLButtonUp},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TrayClickMessage(c.protocol, c.click), c.message)
            << static_cast<int>(c.protocol) << " " << static_cast<int>(c.click);
    }
}

}  // namespace
