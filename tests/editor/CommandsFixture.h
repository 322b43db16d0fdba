// A page for item command tests: a 210 x 297 mm sheet shown at two picture pixels per mm,
// printable from (5, 6) to (200, 287) mm, printer pixels of 0.25 mm, and scripted dialogs.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "document/ItemLists.h"
#include "editor/ItemCommands.h"
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
        E.PageRect = TRect{0, 0, 420, 594};
    }

    // A left press on the millimetre point (x, y): the picture pixel at its top-left corner.
    bool Press(int32_t x, int32_t y) { return PressInTool(E, Core, 2 * x, 2 * y); }
    // A right press: it ends whatever tool runs.
    void RightPress() {
        if (E.Mode != mdIdle) EndTool(E, Core);
    }
    void New(TNewItemEntry entry) {
        E.NewItemKind = entry;
        NewItem(E, Core);
    }

    static std::unique_ptr<TNyomtatoKeret> Frame(TRect r) {
        auto f = std::make_unique<TNyomtatoKeret>();
        f->Rect = r;
        return f;
    }
    template <class Item>
    static std::unique_ptr<Item> Box(TRect r) {
        auto item = std::make_unique<Item>();
        item->Rect = r;
        return item;
    }
    template <class Item>
    static std::unique_ptr<Item> Points(std::initializer_list<TPoint> points) {
        auto item = std::make_unique<Item>();
        for (TPoint p : points) item->AddPoint(p.X, p.Y);
        return item;
    }

    TPageEditor E;
    TScriptedCore S;
    TCoreServices Core = S.Services();
    TScriptedItemDialogs& Dialogs = S.Dialogs;
};
