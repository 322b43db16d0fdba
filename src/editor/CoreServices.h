// The outside services the editor core uses: the screen cursor, the printer (for measuring
// text), message boxes, the colour dialog, the item dialogs, the clipboard and the reader of
// picture formats without a codec of our own. The window passes the real ones; tests pass
// scripted ones.
#pragma once

class TScreen;
class TPrinter;
class TMessageBoxes;
class TColorDialogs;
class TItemDialogs;
class TClipboard;
class TPictureReader;

struct TCoreServices {
    TScreen& Screen;
    TPrinter& Printer;
    TMessageBoxes& Messages;
    TColorDialogs& Colors; // ColorDialogNegyszog: rectangles and polygons
    TItemDialogs& Dialogs;
    TClipboard* Clipboard = nullptr;    // none: copy and paste do nothing
    TPictureReader* Pictures = nullptr; // none: only bitmap and JPEG pictures are read
};
