// flat-look-bench: what the flat look costs to paint on the Qt canvas. One pop-up of the File
// menu's size (its seven items, each painted off screen and copied as the menu style does, then
// the window's frame and its shadow from a snapshot of the screen), the same menu painted as a
// widget (Qt's menu machinery around our style; offscreen it has no shadow), and one button.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>

#include "base/qt/qt_text.h"
#include "toolkit/menu_wnd_xp.h"
#include "toolkit/menu_xp.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_menu_access.h"
#include "toolkit/qt/qt_menu_xp.h"
#include "toolkit/qt/qt_menu_xp_style.h"
#include "toolkit/qt/qt_surface.h"
#include "toolkit/qt/qt_system_colors.h"
#include "toolkit/qt/qt_xp_button.h"
#include "toolkit/xp_button.h"
#include "ui/dialog_ids.h"
#include "ui/menu_model.h"

namespace {

// The File menu of the menu bar, converted as it is when it opens.
std::unique_ptr<QtMenuXP> FileMenu() {
    auto menu = std::make_unique<QtMenuXP>();
    for (const MenuItem& item : FindMenu(ids::kMenuBar)[0].items) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else {
            menu->addAction(FromUtf8(item.text))->setData(item.command);
        }
    }
    emit menu->aboutToShow();
    return menu;
}

void PaintFileMenu(benchmark::State& state) {
    const std::unique_ptr<QtMenuXP> menu = FileMenu();
    const QSize size = menu->sizeHint() + QSize(4, 4);  // with the shadow's room
    const SystemColors colors = QtSystemColors();
    QtMenuAccess menus;
    QImage window(size, QImage::Format_RGB32);
    QImage behind(size, QImage::Format_RGB32);
    behind.fill(QColor(200, 190, 170));
    QtSurface snapshot(behind);
    CMenuWndXP frame(true);
    for (auto _ : state) {
        QPainter painter(&window);
        int top = 0;
        for (const QAction* action : menu->actions()) {
            const Size item = CMenuXP::MeasureItem(QtMenuAccess::ItemData(action));
            DrawItemRecord record;
            record.itemID = QtMenuAccess::Command(action);
            record.menu = QtMenuAccess::Handle(menu.get());
            record.rcItem = {0, top, size.width() - 10, top + item.height};
            record.itemData = QtMenuAccess::ItemData(action);
            QImage buffer(record.rcItem.Width(), record.rcItem.Height(), QImage::Format_RGB32);
            {
                QPainter bufferPainter(&buffer);
                bufferPainter.translate(0, -top);
                QtCanvas canvas(bufferPainter);
                if (!CMenuXP::DrawItem(record, menus, canvas, colors)) {
                    state.SkipWithError("a menu item painted nothing");
                }
            }
            painter.drawImage(QtMenuXPStyle::kFrame, QtMenuXPStyle::kFrame + top, buffer);
            top += item.height;
        }
        QtCanvas canvas(painter);
        frame.OnPrint(canvas, &snapshot, {0, 0, size.width(), size.height()}, true, colors);
    }
    state.SetLabel(std::to_string(size.width()) + " x " + std::to_string(size.height()));
}

void PaintFileMenuWidget(benchmark::State& state) {
    const std::unique_ptr<QtMenuXP> menu = FileMenu();
    menu->resize(menu->sizeHint());
    QImage window(menu->size(), QImage::Format_RGB32);
    for (auto _ : state) menu->render(&window);
    state.SetLabel(std::to_string(menu->width()) + " x " + std::to_string(menu->height()));
}

// The window's Start button, 71 x 21: plain (state 0) or with the mouse on it and the focus (1).
void PaintButton(benchmark::State& state) {
    QImage image(71, 21, QImage::Format_RGB32);
    CXPButton button;
    if (state.range(0)) {
        button.OnMouseMove([] { return true; });
        button.OnMouseHover();
    }
    const unsigned flags = state.range(0) ? 0x10u : 0u;
    for (auto _ : state) {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        button.DrawItem(canvas, {0, 0, 71, 21}, flags, "시작");
    }
}

void PaintButtonWidget(benchmark::State& state) {
    QtXPButton button(QString::fromUtf8("시작"));
    button.resize(71, 21);
    QImage image(71, 21, QImage::Format_RGB32);
    for (auto _ : state) button.render(&image);
}

}  // namespace

BENCHMARK(PaintFileMenu)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(PaintFileMenuWidget)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(PaintButton)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(PaintButtonWidget)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont font("NanumGothic");
    font.setPixelSize(12);
    font.setStretch(90);
    QApplication::setFont(font);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
