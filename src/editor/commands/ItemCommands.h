// The item commands: New by the kind chosen in "New item:", the Delete and Modify tools, the
// presses of the placing and entry tools, and the repeat menu. Every change of the document
// goes through here, with frame references kept in step.
#pragma once

#include <cstdint>

#include "editor/RepeatMenu.h"

class TPageEditor;
class TNyomtatoSzoveg;
struct TCoreServices;

// The entries of "New item:" (e.NewItemKind), in the order the list shows them.
enum TNewItemEntry : int32_t {
    neCaption = 0,
    neText = 1,
    neImage = 2,
    neFrame = 3,
    neLine = 4,
    neRectangle = 5,
    nePolygon = 6,
};

// What the window may add to a new caption: a step before its dialog opens, and one when the
// caption holds its text (before its font and size are set).
class TNewCaptionHooks {
public:
    virtual ~TNewCaptionHooks() = default;
    virtual void BeforeNewCaption() = 0;
    virtual void NewCaptionCreated(TNyomtatoSzoveg& caption) = 0;
};

// "&New" for the kind selected in "New item:" (e.NewItemKind).
void NewItem(TPageEditor& e, TCoreServices& s, TNewCaptionHooks* hooks = nullptr);
// "&Delete" and "&Modify" arm their one-shot tools.
void StartDeleteTool(TPageEditor& e, TCoreServices& s);
void StartModifyTool(TPageEditor& e, TCoreServices& s);
// Runs a command of the repeat menu (a "new" command first selects its kind).
void RunRepeatCommand(TPageEditor& e, TCoreServices& s, TRepeatCommand command,
                      TNewCaptionHooks* hooks = nullptr);

// A left (or middle) press at view pixel (x, y) while a tool mode is active: 4, 5, 17, 18,
// 20, 21, 22, 23, 25, 26, 28. True when the mode was one of these (the press is used).
bool PressInTool(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y);

// Called by EndTool in modes 25 and 28: makes the line or polygon from the entered points
// (when there are any and its dialog is confirmed) and drops the point list.
void FinishLine(TPageEditor& e, TCoreServices& s);
void FinishPolygon(TPageEditor& e, TCoreServices& s);
