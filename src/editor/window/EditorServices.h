// The outside services the editor window uses, passed in so tests can script them.
#pragma once

class TScreen;
class TMessageBoxes;
class TFileDialogs;
class TColorDialogs;
class TFontDialogs;
class TModalRunner;
class TPrinter;

struct TEditorServices {
    TScreen& Screen;
    TMessageBoxes& Messages;
    TFileDialogs& Files;
    TColorDialogs& Colors;
    TFontDialogs& Fonts;
    TModalRunner& Modal;
    TPrinter& Printer;
};
