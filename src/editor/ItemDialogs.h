// The item dialogs as the item commands see them: each call shows one modal dialog, filled
// from the data where the command fills it, and on Ok hands the controls' values back in the
// same data. False means the dialog was cancelled (nothing is read back then).
//
// Numbers stay text here: the command parses the coordinate fields and refuses what is not
// a whole decimal number. Strings are code page 1250 bytes, as items hold them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Rect.h"

class TMemBitmap;

// New caption / new text / modify caption / text properties.
struct TTextDialogData {
    std::string Text;      // the edit's or memo's text (lines separated by CR LF)
    int32_t LineCount = 0; // texts: the memo's line count, read back
    std::string X;         // position edits as typed: edX/edY or edBal/edFelso
    std::string Y;
    bool ByMouse = true; // new dialogs: "Select with mouse" is checked
    bool FillBackground = false;
    TFont Font;               // the font dialog's font; its Height is read as mm
    bool TextEditable = true; // modify caption: false disables edSzoveg
};

// New image / image position.
struct TImageDialogData {
    std::string Left; // edBal, edFelso, edSzelesseg, edMagassag as typed
    std::string Top;
    std::string Width;
    std::string Height;
    bool ByMouse = true;  // new image: "Select with mouse" is checked
    std::string FileName; // new image: the chosen picture file (UTF-8 path)
    // New image: the picture the dialog read from it; without one the file is read again.
    std::shared_ptr<TMemBitmap> Picture;
    // Image position: the item's picture size in pixels, for the height rule (0 when none).
    int32_t PictureWidth = 0;
    int32_t PictureHeight = 0;
};

// The printer's printable area in mm, for the frame dialog's check.
struct TPrintableArea {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
};

// Frame properties (every field of a frame but its members).
struct TFrameDialogData {
    TRect Rect; // mm; the dialog refuses Ok until it holds a valid box inside Area
    TPrintableArea Area;
    TColor BorderColor = clBlack;
    TColor FillColor = clWhite;
    bool Shadow = true;
    uint8_t FillStyle = 0;
    std::string Title;
    int32_t TitleAlignment = 0;
    TFont TitleFont;
};

// The line dialog (new and modify).
struct TLineDialogData {
    TColor Color = clBlack;
    int32_t Width = 1;
    uint8_t PenStyle = 0;
    // What one pixel of width prints on the current printer, for the dialog to show.
    double MmPerPrinterPixel = 25.4 / 600;
};

class TItemDialogs {
public:
    virtual ~TItemDialogs() = default;

    // New dialogs keep their values from one use to the next and are not filled.
    virtual bool NewCaption(TTextDialogData& data) = 0;
    virtual bool NewText(TTextDialogData& data) = 0;
    // Shows the new-image dialog; on Ok data names the chosen picture. The dialog is reset
    // for its next use either way.
    virtual bool NewImage(TImageDialogData& data) = 0;
    // The line dialog as last used (new line); Modify passes fill = true to show data.
    virtual bool LineProperties(TLineDialogData& data, bool fill) = 0;

    // Modify dialogs are filled from data, shown, and read back into it.
    virtual bool ModifyCaption(TTextDialogData& data) = 0;
    virtual bool ModifyText(TTextDialogData& data) = 0;
    virtual bool ModifyImage(TImageDialogData& data) = 0;
    virtual bool ModifyFrame(TFrameDialogData& data) = 0;
};
