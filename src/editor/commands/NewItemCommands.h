// New items of every kind: "&New" for the kind chosen in "New item:", the presses of the
// placing tools, and the end of line and polygon entry.
#pragma once

#include <cstdint>

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

// Presses in the tools of new items, at mm (mx, my).
void PlaceCaption(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my);
void PlaceText(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my);
void PlaceImage(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my);
void AddFrame(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my);
void AddRectangle(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my);

// Called by EndTool while a line or polygon is entered: makes it from the entered points
// (when there are any and its dialog is confirmed) and drops the point list.
void FinishLine(TPageEditor& e, TCoreServices& s);
void FinishPolygon(TPageEditor& e, TCoreServices& s);
