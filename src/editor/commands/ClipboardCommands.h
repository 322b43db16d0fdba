// Copy, cut, paste and duplicate of the selected items. The clipboard holds them in the
// program's own format: a magic word, then the seven item lists exactly as a document stores
// them (pictures included), frame references naming items of the copy; beside it a PNG of
// the items for other programs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/ItemLists.h"

class TPageEditor;
struct TCoreServices;
struct TClipboardImage;

inline constexpr char kItemsMimeType[] = "application/x-folioscriptor-items";
inline constexpr char kItemsMagic[] = "FolioscriptorItems"; // stored with its zero byte
inline constexpr char kPasteCaption[] = "Paste";

std::vector<uint8_t> EncodeItems(const TPageItems& items);
// The items of clipboard bytes; std::runtime_error with the reason when they are damaged.
TPageItems DecodeItems(std::span<const uint8_t> bytes);
// The selected items with the members of selected frames, as lists of their own whose frame
// references name items of the copy.
TPageItems CopyOfSelection(const TPageEditor& e);

// Adds the items: 5 mm right of and below where they were, or with their top-left corner at
// the pointer when it is over the sheet and atPointer is set, moved as a whole into the
// printable area. Pasted items other than frames that are not in a pasted frame join a
// frame of the page as new items do. The pasted items become the selection; one step. False for no
// items.
bool PasteItems(TPageEditor& e, TPageItems clip, bool atPointer);

// Makes an image item of another program's picture through the picture import (JPEG stays
// a JPEG picture; PNG and the rest through the services' picture reader), sized from its
// pixels at its stated resolution (96 dpi when it states none) and shrunk into the printable
// area keeping its proportions; at the pointer when it is over the sheet, else at the
// printable area's top left corner. Selected, one step, told on the info line. A picture
// that cannot be read is refused with a message and changes nothing.
bool PastePicture(TPageEditor& e, TCoreServices& s, const TClipboardImage& image);

bool CopySelection(TPageEditor& e, TCoreServices& s);
bool CutSelection(TPageEditor& e, TCoreServices& s);
// The clipboard's items, or else its picture (PastePicture). Damaged clipboard items are
// refused with a message and change nothing.
bool PasteClipboard(TPageEditor& e, TCoreServices& s);
bool DuplicateSelection(TPageEditor& e);
