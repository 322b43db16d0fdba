// The colour, pen-style and brush-style picker: a drop-down list whose entries show a colour
// swatch, a line sample or a filled sample beside their name. A panel hosting the list, which
// fills it; the custom colour entry asks the colour dialog for its colour.
#pragma once

#include <functional>
#include <QWidget>

#include "controls/GraphObjectChoice.h"

class QComboBox;
class QPainter;
class TGraphObjectInnerCombo;

class TGraphObjectComboBox : public QWidget {
public:
    // Height of one entry of the list, in pixels.
    static constexpr int ItemHeight = 16;

    // A new picker is 145 x 21 pixels, in colour style with English names and black chosen.
    explicit TGraphObjectComboBox(TColorDialogs& colorDialogs, QWidget* parent = nullptr);
    ~TGraphObjectComboBox() override;

    TGraphObjectComboStyle Style() const { return Choice.Style(); }
    void SetStyle(TGraphObjectComboStyle style);
    TGraphObjectComboLanguage Language() const { return Choice.Language(); }
    void SetLanguage(TGraphObjectComboLanguage language);
    TColor Color() const { return Choice.Color(); }
    void SetColor(TColor color);
    TPenStyle PenStyle() const { return Choice.PenStyle(); }
    void SetPenStyle(TPenStyle style);
    TBrushStyle BrushStyle() const { return Choice.BrushStyle(); }
    void SetBrushStyle(TBrushStyle style);
    TColor CustomColor() const { return Choice.CustomColor(); }
    int ItemIndex() const { return Choice.ItemIndex(); }

    // The inner list (its entries carry their names as text, for keyboard search).
    QComboBox* Inner() const;

    // After every choice the user makes, also when the custom colour dialog was cancelled.
    std::function<void()> OnClick;
    // When the list opens.
    std::function<void()> OnDropDown;

    // Draws entry index into r: the list's entries and the closed box's field alike.
    void PaintItem(QPainter& painter, int index, const QRect& r, bool selected,
                   int itemHeight) const;
    // The width an entry needs to show its sample and whole name.
    int ItemWidth(int index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refill();
    void ShowSelection();
    void UserChose(int index);

    TGraphObjectChoice Choice;
    TGraphObjectInnerCombo* Combo;
};
