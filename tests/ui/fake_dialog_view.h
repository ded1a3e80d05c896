#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/dialog_layout.h"
#include "ui/dialog_view.h"

// A window in memory: keeps what the dialog sets and logs every call that changes the window.
class FakeDialogView final : public DialogView {
public:
    std::map<int, std::string> texts;
    std::map<int, int> checks;
    std::map<int, bool> visible;
    std::map<int, Rect> rects;
    Size size{331, 342};
    // What 400 x 800 dialog units take in the window's font.
    Size reference = layout::kNinePointReference;
    Rect region{};
    int focus = 0;
    WindowShow shown = WindowShow::Normal;
    bool trayAvailable = true;
    bool destroyed = false;
    std::vector<std::string> log;
    // Also receives every entry, when set: lets a test see the order across fakes.
    std::vector<std::string>* journal = nullptr;

    std::string GetItemText(int id) override { return texts[id]; }
    void SetItemText(int id, std::string_view text) override {
        texts[id] = std::string(text);
        Log("text " + std::to_string(id) + "=" + std::string(text));
    }
    int GetCheck(int id) override { return checks[id]; }
    void SetCheck(int id, int state) override {
        checks[id] = state;
        Log("check " + std::to_string(id) + "=" + std::to_string(state));
    }
    void ShowItem(int id, bool show) override {
        visible[id] = show;
        Log("show " + std::to_string(id) + "=" + (show ? "1" : "0"));
    }
    void FocusItem(int id) override {
        focus = id;
        Log("focus " + std::to_string(id));
    }
    Rect GetItemRect(int id) override { return rects[id]; }
    Size MapDialogUnits(Size units) override {
        return {layout::HorizontalPixels(units.width, reference.width),
                layout::VerticalPixels(units.height, reference.height)};
    }
    Size GetWindowSize() override { return size; }
    void SetWindowSize(Size s) override {
        size = s;
        Log("size " + std::to_string(s.width) + "x" + std::to_string(s.height));
    }
    void SetWindowRegion(const Rect& r) override {
        region = r;
        Log("region " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
            std::to_string(r.right) + "," + std::to_string(r.bottom));
    }
    void ShowWindow(WindowShow how) override {
        shown = how;
        Log(how == WindowShow::Hide     ? "window hide"
            : how == WindowShow::Normal ? "window normal"
                                        : "window minimize");
    }
    void BringToFront() override { Log("front"); }
    void SetIcons() override { Log("icons"); }
    void MarkRunningCopy() override { Log("mark"); }
    void DestroyWindow() override {
        destroyed = true;
        Log("destroy");
    }
    bool IsTrayAvailable() override { return trayAvailable; }
    void AppendSystemMenuItem(int command, std::string_view text) override {
        Log("system menu " + std::to_string(command) + "=" + std::string(text));
    }
    void ShowAboutBox() override { Log("about"); }
    bool LoadBanner(int id, std::string_view type) override {
        Log("load banner " + std::string(type) + " " + std::to_string(id));
        return bannerLoads;
    }
    void StartBanner() override { Log("start banner"); }
    void Announce(std::string_view message) override { announced.emplace_back(message); }

    bool bannerLoads = true;
    std::vector<std::string> announced;  // what a screen reader was told

private:
    void Log(std::string entry) {
        if (journal) journal->push_back(entry);
        log.push_back(std::move(entry));
    }
};
