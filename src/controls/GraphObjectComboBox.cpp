#include "controls/GraphObjectComboBox.h"

#include <algorithm>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "controls/GraphObjectItemPainter.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtFont.h"

// The list inside the panel: the closed box draws its current entry like the list does.
class TGraphObjectInnerCombo : public QComboBox {
public:
    TGraphObjectInnerCombo(TGraphObjectComboBox& owner) : QComboBox(&owner), Owner(owner) {}

    void showPopup() override {
        if (Owner.OnDropDown) Owner.OnDropDown();
        QComboBox::showPopup();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        if (currentIndex() < 0) return;
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        Owner.PaintItem(painter, currentIndex(), field, hasFocus(), field.height());
    }

private:
    TGraphObjectComboBox& Owner;
};

namespace {

class TItemDelegate : public QStyledItemDelegate {
public:
    TItemDelegate(TGraphObjectComboBox& owner) : QStyledItemDelegate(&owner), Owner(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        Owner.PaintItem(*painter, index.row(), option.rect, option.state & QStyle::State_Selected,
                        TGraphObjectComboBox::ItemHeight);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        return QSize(Owner.ItemWidth(index.row()), TGraphObjectComboBox::ItemHeight);
    }

private:
    TGraphObjectComboBox& Owner;
};

TColor FromQColor(const QColor& c) {
    return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
               static_cast<uint8_t>(c.blue()));
}

// Where an entry's name starts, by style.
int NameLeft(TGraphObjectComboStyle style) {
    switch (style) {
    case TGraphObjectComboStyle::gocsPenStyle: return 64;
    case TGraphObjectComboStyle::gocsBrushStyle: return 36;
    default: return 24;
    }
}

} // namespace

TGraphObjectComboBox::TGraphObjectComboBox(TColorDialogs& colorDialogs, QWidget* parent)
    : QWidget(parent), Choice(colorDialogs), Combo(new TGraphObjectInnerCombo(*this)) {
    Combo->setItemDelegate(new TItemDelegate(*this));
    Combo->setMaxVisibleItems(kCustomColorIndex + 1);
    // Focus given to the panel (by a label's mnemonic, say) goes to the list.
    setFocusPolicy(Combo->focusPolicy());
    setFocusProxy(Combo);
    connect(Combo, &QComboBox::activated, this, [this](int index) { UserChose(index); });
    resize(145, 21);
    Combo->setGeometry(0, 0, 145, 21);
    Refill();
}

TGraphObjectComboBox::~TGraphObjectComboBox() = default;

QComboBox* TGraphObjectComboBox::Inner() const { return Combo; }

void TGraphObjectComboBox::SetStyle(TGraphObjectComboStyle style) {
    Choice.SetStyle(style);
    Refill();
}

void TGraphObjectComboBox::SetLanguage(TGraphObjectComboLanguage language) {
    Choice.SetLanguage(language);
    Refill();
}

void TGraphObjectComboBox::SetColor(TColor color) {
    Choice.SetColor(color);
    ShowSelection();
}

void TGraphObjectComboBox::SetPenStyle(TPenStyle style) {
    Choice.SetPenStyle(style);
    ShowSelection();
}

void TGraphObjectComboBox::SetBrushStyle(TBrushStyle style) {
    Choice.SetBrushStyle(style);
    ShowSelection();
}

void TGraphObjectComboBox::Refill() {
    Combo->clear();
    for (int i = 0; i < Choice.ItemCount(); ++i) {
        const auto name = GraphObjectItemName(Choice.Style(), Choice.Language(), i);
        Combo->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    // The open list is as wide as its widest entry, though the closed box may be narrower.
    int widest = 0;
    for (int i = 0; i < Choice.ItemCount(); ++i) widest = std::max(widest, ItemWidth(i));
    Combo->view()->setMinimumWidth(widest);
    ShowSelection();
}

void TGraphObjectComboBox::ShowSelection() {
    Combo->setCurrentIndex(Choice.ItemIndex());
    Combo->update();
    if (Combo->view()) Combo->view()->viewport()->update();
}

void TGraphObjectComboBox::UserChose(int index) {
    Choice.Select(index);
    ShowSelection();
    if (OnClick) OnClick();
}

void TGraphObjectComboBox::PaintItem(QPainter& painter, int index, const QRect& r, bool selected,
                                     int itemHeight) const {
    painter.save();
    {
        TQtCanvas canvas(painter);
        canvas.Font = FromQFont(Combo->font(), clBlack);
        const QPalette& palette = Combo->palette();
        TGraphObjectItemLook look;
        look.Selected = selected;
        look.Highlight = FromQColor(palette.color(QPalette::Highlight));
        look.HighlightText = FromQColor(palette.color(QPalette::HighlightedText));
        look.ItemHeight = itemHeight;
        DrawGraphObjectItem(canvas, Choice, index,
                            TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}, look);
    }
    painter.restore();
}

int TGraphObjectComboBox::ItemWidth(int index) const {
    const auto name = GraphObjectItemName(Choice.Style(), Choice.Language(), index);
    const QFontMetrics metrics(ToQFont(FromQFont(Combo->font(), clBlack)));
    return NameLeft(Choice.Style()) +
           metrics.horizontalAdvance(
               QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))) +
           6;
}

void TGraphObjectComboBox::resizeEvent(QResizeEvent* event) {
    Combo->setGeometry(0, 0, width(), height());
    QWidget::resizeEvent(event);
}
