// The repeat menu of the page picture: the five most recent distinct item commands, oldest
// first, offered again on a right click while no tool runs.
#pragma once

#include <array>
#include <string>

// The commands the menu can repeat.
enum class TRepeatCommand {
    NewCaption,
    NewText,
    NewImage,
    NewFrame,
    NewLine,
    NewRectangle,
    NewPolygon,
    DeleteTool,
    ModifyTool,
    NewHeightsLegend,
    NewDistanceIndicator,
};

struct TRepeatEntry {
    std::string Caption; // UTF-8
    TRepeatCommand Command = TRepeatCommand::NewCaption;
    bool Visible = false;
};

class TRepeatMenu {
public:
    static constexpr int Size = 5;
    std::array<TRepeatEntry, Size> Entries;

    // Remembers a command: nothing changes when one of the leading visible entries already
    // holds it; a full menu drops its oldest entry; otherwise the next entry takes it.
    void Remember(const std::string& caption, TRepeatCommand command);
    // The number of leading visible entries.
    int VisibleCount() const;
};
