// drovane: the main window, its tray icon and the sweep, one running copy per executable name.
#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "app/qt/quit_on_signal.h"
#include "app/qt/single_instance.h"
#include "base/qt/message_box_prompt.h"
#include "res/embedded_resources.h"
#include "settings/qt/autostart_entry.h"
#include "settings/qt/file_registry.h"
#include "settings/registry_settings.h"
#include "tone/linux/audio_tone_sink.h"
#include "tone/tone_player.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/qt/qt_tray_host.h"
#include "ui/qt/repeller_window.h"
#include "ui/repeller_dialog.h"
#include "ui/system_tray.h"

namespace {

constexpr int kActivateTimeoutMs = 2000;

QPixmap LoadPicture(const ResourceSource& resources, std::string_view type, int id) {
    const auto bytes = resources.Find(type, id);
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()),
                       "PNG");
    return QPixmap::fromImage(image);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The program lives on in the tray with no window shown; only Exit and Escape end it.
    app.setQuitOnLastWindowClosed(false);
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QCoreApplication::setApplicationName(name);

    SingleInstance single(name, SingleInstance::RuntimeDirectory());
    if (!single.Acquire()) {
        single.ActivateRunningCopy(kActivateTimeoutMs);
        return 0;
    }

    QuitOnSignal quitOnSignal;
    QFont font("NanumGothic");
    font.setPixelSize(layout::kFontPixelHeight);
    QApplication::setFont(font);

    AudioToneSink sink;
    EmbeddedResources resources;
    MessageBoxPrompt prompt(name);
    FileRegistry registry(FileRegistry::DefaultPath());
    AutostartEntry autostart(AutostartEntry::DefaultPath());
    CRegistrySettings settings(registry, autostart, prompt,
                               QCoreApplication::applicationFilePath().toStdString());
    CTonePlayer player(sink, prompt, resources);

    RepellerWindow window(QIcon(LoadPicture(resources, "ICON", ids::kDialogIcon)),
                          LoadPicture(resources, "BITMAP", ids::kSpeakerBitmap));
    prompt.SetOwner(&window);

    CRepellerDialog* logic = nullptr;
    CSystemTray tray;
    QtTrayHost trayHost(
        tray, [&](int id) { return QIcon(LoadPicture(resources, "ICON", id)); },
        [&](int command) {
            if (logic) logic->OnCommand(command);
        },
        [&](int command) {
            return logic ? logic->OnUpdateCommand(command) : std::optional<bool>();
        },
        [&] {
            if (window.isVisible()) window.BringToFront();
        });

    CRepellerDialog dialog(window, player, settings, prompt, tray, trayHost);
    logic = &dialog;
    window.SetLogic(&dialog);
    window.OnMarked([&] { single.Listen([&] { window.Raise(); }); });
    dialog.OnInitDialog();
    int result = 0;
    if (!quitOnSignal.Requested()) {
        window.show();
        result = app.exec();
    }
    window.SetLogic(nullptr);
    logic = nullptr;
    return result;
}
