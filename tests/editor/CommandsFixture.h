// A page for item command tests: a 210 x 297 mm sheet shown at two picture pixels per mm,
// printable from (5, 6) to (200, 287) mm, printer pixels of 0.25 mm, and scripted dialogs.
#pragma once

#include <gtest/gtest.h>

#include "document/ItemLists.h"
#include "editor/commands/ItemCommands.h"
#include "editor/PageEditor.h"
#include "editor/Tools.h"
#include "support/ScriptedItemDialogs.h"

class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() {
        TPrinterMetrics& m = E.Metrics;
        m.MmPerPixelX = m.MmPerPixelY = 0.25f;
        m.LeftMarginMm = 5;
        m.TopMarginMm = 6;
        m.RightEdgeMm = 200;
        m.BottomEdgeMm = 287;
        E.PageWidthMm = 210;
        E.PageHeightMm = 297;
        E.BasePageRect = TRect{0, 0, 420, 594};
    }

    // A left press on the millimetre (x, y); a right press ends the running tool.
    bool Press(int32_t x, int32_t y) { return PressInTool(E, Core, 2 * x, 2 * y); }
    void RightPress() { EndTool(E, Core); }
    void New(TNewItemEntry entry) {
        E.NewItemKind = entry;
        NewItem(E, Core);
    }
    void AddFrame(TRect r) { E.Items.Frames.Add(std::make_unique<TNyomtatoKeret>()).Rect = r; }
    std::vector<TKKItem> MembersOf(int frame) const {
        std::vector<TKKItem> out;
        const TKKLista& members = E.Items.Frames[frame].Members;
        for (int i = 0; i < members.Count(); ++i) out.push_back(members[i]);
        return out;
    }

    TPageEditor E;
    TScriptedCore S;
    TCoreServices Core = S.Services();
    TScriptedItemDialogs& Dialogs = S.Dialogs;
};
