#pragma once

#include <string>
#include <vector>

#include "ui/menu_model.h"
#include "ui/system_tray.h"

// Records what the tray logic asks of the desktop.
class RecordingTrayHost final : public TrayHost {
public:
    bool accept = true;
    std::vector<std::string> log;
    std::vector<std::string>* journal = nullptr;
    std::vector<int> commands;
    const MenuPopup* popup = nullptr;
    int defaultCommand = 0;

    bool AddIcon(int iconId, std::string_view tip) override {
        Log("add " + std::to_string(iconId) + " " + std::string(tip));
        return accept;
    }
    void RemoveIcon() override { Log("remove"); }
    bool ReplaceIcon(int iconId) override {
        Log("replace " + std::to_string(iconId));
        return true;
    }
    void SetForeground() override { Log("foreground"); }
    void TrackPopupMenu(const MenuPopup& p, int command) override {
        popup = &p;
        defaultCommand = command;
        Log("menu");
    }
    void SendCommand(int command) override {
        commands.push_back(command);
        Log("command " + std::to_string(command));
    }

private:
    void Log(std::string entry) {
        if (journal) journal->push_back(entry);
        log.push_back(std::move(entry));
    }
};
