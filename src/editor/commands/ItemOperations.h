// The changes of the document that the item commands make, each one operation with its frame
// bookkeeping: appending an item, changing one in place, removing one, and changing the page
// settings or the compass. Each is one step of the undo history ("new caption", "deleted
// frame", "modified line", or the name ModifyPage is given).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TPageEditor;
class TNyomtatoSzoveg;
class TNyomtatoSorok;
class TNyomtatoKep;
class TNyomtatoKeret;
class TNyomtatoVonal;
class TNyomtatoPoligon;
struct TNyomtatoNegyszog;

// Appends the item to the list of its kind and attaches it to the last frame containing its
// anchor (the top-left corner, or the first point of a line or polygon); a new frame is never
// its own member. Returns the item's index.
int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoSzoveg> caption);
int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoSorok> text);
int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoKep> image);
int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoKeret> frame);
int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoNegyszog> rectangle);
int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoVonal> line);
int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoPoligon> polygon);

// Changes item (kind, index) in place: change edits the item (the caller reaches it through
// e.Items). Frame memberships stay as they are; a frame's members do not move. False (and
// change not run) when there is no such item.
bool ModifyItem(TPageEditor& e, int32_t kind, int32_t index, const std::function<void()>& change);

// Removes item (kind, index): every frame reference to it goes and references to later items
// of its kind move down by one. A removed frame's members stay on the page. False when there
// is no such item.
bool RemoveItem(TPageEditor& e, int32_t kind, int32_t index);

// Changes the page settings or the compass (heights legend, distance indicator, compass
// deleted): change edits e.Settings or e.Compass. what names the step in the history.
void ModifyPage(TPageEditor& e, std::string what, const std::function<void()>& change);
