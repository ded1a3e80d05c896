// drovane: the main window, its tray icon and the sweep, one running copy per executable name.
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QUrl>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/qt/quit_on_signal.h"
#include "app/qt/single_instance.h"
#include "app/window_options.h"
#include "base/qt/qt_prompt.h"
#include "base/qt/qt_shell.h"
#include "res/embedded_resources.h"
#include "settings/qt/file_registry.h"
#include "settings/qt/qt_logon_entry.h"
#include "settings/registry_settings.h"
#include "tone/audio_tone_sink.h"
#include "tone/linux/linux_sound_output.h"
#include "tone/tone_player.h"
#include "toolkit/qt/accessible_line_edit.h"
#include "ui/about_box.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/qt_main_window.h"
#include "ui/qt/qt_tray_host.h"
#include "ui/qt/resource_pictures.h"
#include "ui/qt/ui_translation.h"
#include "ui/repeller_dialog.h"
#include "ui/system_tray.h"

namespace {

constexpr int kActivateTimeoutMs = 2000;

// A cursor resource: its picture, with the hot spot ("x y") kept beside it.
std::optional<QCursor> LoadCursor(const ResourceSource& resources, int id) {
    const QPixmap picture = LoadPicture(resources, "CURSOR", id, 1);
    if (picture.isNull()) return std::nullopt;
    const auto spot = resources.Find("HOTSPOT", id);
    const QStringList xy = QString::fromLatin1(reinterpret_cast<const char*>(spot.data()),
                                               static_cast<qsizetype>(spot.size()))
                               .simplified()
                               .split(' ');
    if (xy.size() != 2) return QCursor(picture);
    return QCursor(picture, xy[0].toInt(), xy[1].toInt());
}

// A folder of the program's data, installed in share/drovane beside bin/ (the build tree is laid
// out the same way).
QString DataFolder(const QString& name) {
    return QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../share/drovane/" + name));
}

// The address of a page: the one configured at build time, else the program's own page.
std::string PageAddress(std::string_view configured) {
    if (!configured.empty()) return std::string(configured);
    return QUrl::fromLocalFile(DataFolder("page") + "/index.html").toString().toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts: these need no display.
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    switch (ParseWindowArguments(args)) {
        case WindowCommand::Help:
            std::fputs(WindowUsage().c_str(), stdout);
            return 0;
        case WindowCommand::Version:
            std::printf("drovane %s\n", DROVANE_VERSION);
            return 0;
        case WindowCommand::Run:
            break;
    }
    QApplication app(argc, argv);
    // The program lives on in the tray with no window shown; only Exit and Escape end it.
    app.setQuitOnLastWindowClosed(false);
    InstallAccessibleLineEdits(app);
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QCoreApplication::setApplicationName(name);
    // The launcher's name: Wayland's app id and X11's class hints, by which shells find the
    // program's icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral(DROVANE_APP_ID));

    QString why;
    const QString folder = SingleInstance::PrivateFolder(name, &why);
    std::optional<SingleInstance> single;
    if (folder.isEmpty()) {
        qWarning("drovane: no private folder for the one-copy lock (%s): this copy runs on its own",
                 qPrintable(why));
    } else if (single.emplace(name, folder); !single->Acquire()) {
        if (single->HeldByAnother()) {
            if (single->ActivateRunningCopy(kActivateTimeoutMs,
                                            qEnvironmentVariable("XDG_ACTIVATION_TOKEN"))) {
                return 0;
            }
            // It may still be starting: this copy gives way all the same.
            qWarning("drovane: another copy is running but did not answer: this one ends");
            return 1;
        }
        qWarning("drovane: the one-copy lock cannot be made in %s: this copy runs on its own",
                 qPrintable(folder));
        single.reset();
    }

    if (!InstallTranslation(app, DataFolder("translations"))) {
        qWarning("drovane: the translation for the system's language cannot be loaded: English");
    }
    QuitOnSignal quitOnSignal;
    QApplication::setFont(DialogFont());

    AudioToneSink sink(OpenLinuxSoundOutput);
    EmbeddedResources resources;
    QtPrompt prompt(name);
    FileRegistry registry(FileRegistry::DefaultPath());
    QtLogonEntry autostart(QtLogonEntry::DefaultPath());
    CRegistrySettings settings(registry, autostart, prompt,
                               QCoreApplication::applicationFilePath().toStdString());
    CTonePlayer player(sink, prompt, resources);

    QtShell shell;
    const qreal ratio = app.devicePixelRatio();
    WindowArt art{LoadIcon(resources, ids::kDialogIcon),
                  LoadPicture(resources, "BITMAP", ids::kSpeakerBitmap, ratio),
                  LoadPicture(resources, "BITMAP", CAboutDialog::kPicture, ratio),
                  [&](int id) { return LoadCursor(resources, id); }, &resources};
    QtMainWindow* running = nullptr;  // the window, while it runs
    CSystemTray tray;
    QtTrayHost trayHost(
        tray, [&](int id) { return LoadIcon(resources, id); },
        [&](int command) {
            if (running) running->Logic().OnCommand(command);
        },
        [&](int command) {
            return running ? running->Logic().OnUpdateCommand(command) : std::optional<bool>();
        },
        [&] {
            if (running && running->isVisible()) running->BringToFront();
        });

    QtMainWindow window(
        std::move(art), shell, PageAddress(DROVANE_MAKER_PAGE), [&](DialogView& view) {
            return std::make_unique<CRepellerDialog>(view, player, settings, prompt, tray, trayHost,
                                                     shell, PageAddress(DROVANE_PRODUCT_PAGE));
        });
    prompt.SetOwner(&window);
    window.OnTrayQuery([&] { return trayHost.Available(); });
    window.OnCommanded([&] { trayHost.RefreshMenu(); });
    running = &window;
    window.OnMarked([&] {
        // Without the socket, later starts still find the lock and end; they only cannot raise
        // this window.
        if (single && !single->Listen([&](const QString& token) { window.Raise(token); })) {
            qWarning("drovane: later starts cannot reach this copy at %s: they end unanswered",
                     qPrintable(single->SocketPath()));
        }
    });
    window.Logic().OnInitDialog();
    trayHost.RefreshMenu();
    int result = 0;
    if (!quitOnSignal.Requested()) {
        window.show();
        result = app.exec();
    }
    running = nullptr;
    return result;
}
