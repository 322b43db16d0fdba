// The item dialogs behind the interface the item commands use: each call fills the form's
// controls where the editor fills them, runs the form through the modal-run seam and, after
// Ok, reads the controls back into the data.
#include "editor/window/QtItemDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "controls/GraphObjectComboBox.h"
#include "dialogs/CaptionPropertiesDlg.h"
#include "dialogs/FramePropertiesDlg.h"
#include "dialogs/ImagePositionDlg.h"
#include "dialogs/Memo.h"
#include "dialogs/NewCaptionDlg.h"
#include "dialogs/NewImageDlg.h"
#include "dialogs/NewLineDlg.h"
#include "dialogs/NewTextDlg.h"
#include "dialogs/TextPropertiesDlg.h"
#include "editor/ItemDialogs.h"
#include "editor/window/EditorServices.h"
#include "editor/window/Forms.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtText.h"

namespace {

// Position edits hold plain digits; they cross as UTF-8 and the command parses them.
std::string FieldText(const QLineEdit& edit) { return edit.text().toStdString(); }
void SetField(QLineEdit& edit, const std::string& text) {
    edit.setText(QString::fromStdString(text));
}

// What the text dialogs have in common when they are read back.
void ReadTextDialog(const TTextItemDlg& dialog, const QLineEdit& x, const QLineEdit& y,
                    TTextDialogData& data) {
    data.X = FieldText(x);
    data.Y = FieldText(y);
    data.FillBackground = dialog.cbKitoltes->isChecked();
    data.Font = dialog.FontDialog.Font;
}

void FillTextDialog(TTextItemDlg& dialog, QLineEdit& x, QLineEdit& y, const TTextDialogData& data) {
    SetField(x, data.X);
    SetField(y, data.Y);
    dialog.cbKitoltes->setChecked(data.FillBackground);
    dialog.FontDialog.Font = data.Font;
    dialog.RefreshFontLabels();
}

class TQtItemDialogs : public TItemDialogs {
public:
    TQtItemDialogs(TForms& forms, TEditorServices& services) : Forms(forms), Services(services) {}

    bool NewCaption(TTextDialogData& data) override {
        TUjNyomtatoSzovegDlg& d = *Forms.UjNyomtatoSzovegDlg;
        if (!Run(d)) return false;
        data.Text = ToCp1250(d.edSzoveg->text());
        data.ByMouse = d.rbEgerrel->isChecked();
        ReadTextDialog(d, *d.edX, *d.edY, data);
        return true;
    }

    bool NewText(TTextDialogData& data) override {
        TUjNyomtatoSorokDlg& d = *Forms.UjNyomtatoSorokDlg;
        if (!Run(d)) return false;
        data.Text = d.memoSzoveg->Text();
        data.LineCount = d.memoSzoveg->LineCount();
        data.ByMouse = d.rbEgerrel->isChecked();
        ReadTextDialog(d, *d.edX, *d.edY, data);
        return true;
    }

    bool NewImage(TImageDialogData& data) override {
        TUjNyomtatoKepDlg& d = *Forms.UjNyomtatoKepDlg;
        const bool confirmed = Run(d) && d.HasPicture();
        if (confirmed) {
            data.Left = FieldText(*d.edBal);
            data.Top = FieldText(*d.edFelso);
            data.Width = FieldText(*d.edSzelesseg);
            data.Height = FieldText(*d.edMagassag);
            data.ByMouse = d.rbEgerrel->isChecked();
            data.FileName = d.PictureFileName();
            data.Picture = d.SharedPicture();
        }
        d.ResetPicture();
        return confirmed;
    }

    bool LineProperties(TLineDialogData& data, bool fill) override {
        TUjNyomtatoVonalDlg& d = *Forms.UjNyomtatoVonalDlg;
        d.SetMmPerPrinterPixel(data.MmPerPrinterPixel);
        if (fill) {
            d.cmbSzin->SetColor(data.Color);
            d.cmbStilus->SetPenStyle(static_cast<TPenStyle>(data.PenStyle));
            d.tbVastagsag->setValue(data.Width);
        }
        if (!Run(d)) return false;
        data.Color = d.cmbSzin->Color();
        data.Width = d.tbVastagsag->value();
        data.PenStyle = static_cast<uint8_t>(d.cmbStilus->PenStyle());
        return true;
    }

    bool ModifyCaption(TTextDialogData& data) override {
        TNyomtatoSzovegModositasDlg& d = *Forms.NyomtatoSzovegModositasDlg;
        d.edSzoveg->setText(FromCp1250(data.Text));
        d.edSzoveg->setEnabled(data.TextEditable);
        FillTextDialog(d, *d.edBal, *d.edFelso, data);
        if (!Run(d)) return false;
        data.Text = ToCp1250(d.edSzoveg->text());
        ReadTextDialog(d, *d.edBal, *d.edFelso, data);
        return true;
    }

    bool ModifyText(TTextDialogData& data) override {
        TNyomtatoSorokModositasDlg& d = *Forms.NyomtatoSorokModositasDlg;
        d.memoSzoveg->SetText(data.Text);
        FillTextDialog(d, *d.edX, *d.edY, data);
        if (!Run(d)) return false;
        data.Text = d.memoSzoveg->Text();
        data.LineCount = d.memoSzoveg->LineCount();
        ReadTextDialog(d, *d.edX, *d.edY, data);
        return true;
    }

    bool ModifyImage(TImageDialogData& data) override {
        TNyomtatoKepModositasDlg& d = *Forms.NyomtatoKepModositasDlg;
        SetField(*d.edBal, data.Left);
        SetField(*d.edFelso, data.Top);
        SetField(*d.edSzelesseg, data.Width);
        SetField(*d.edMagassag, data.Height);
        d.AttachPicture(data.PictureWidth, data.PictureHeight);
        const bool confirmed = Run(d);
        d.DetachPicture();
        if (!confirmed) return false;
        data.Left = FieldText(*d.edBal);
        data.Top = FieldText(*d.edFelso);
        data.Width = FieldText(*d.edSzelesseg);
        data.Height = FieldText(*d.edMagassag);
        return true;
    }

    bool ModifyFrame(TFrameDialogData& data) override {
        TNyomtatoKeretModositasDlg& d = *Forms.NyomtatoKeretModositasDlg;
        d.edBal->setText(QString::number(data.Rect.Left));
        d.edFelso->setText(QString::number(data.Rect.Top));
        d.edJobb->setText(QString::number(data.Rect.Right));
        d.edAlso->setText(QString::number(data.Rect.Bottom));
        d.PrintableArea = {data.Area.Left, data.Area.Top, data.Area.Right, data.Area.Bottom};
        d.cmbKeretszin->SetColor(data.BorderColor);
        d.cmbBelsoszin->SetColor(data.FillColor);
        d.cbArnyek->setChecked(data.Shadow);
        d.cmbMinta->SetBrushStyle(static_cast<TBrushStyle>(data.FillStyle));
        d.edSzoveg->setText(FromCp1250(data.Title));
        d.cmbSzoveghely->setCurrentIndex(data.TitleAlignment);
        d.FontDialog.Font = data.TitleFont;
        if (!Run(d)) return false;
        // The dialog takes Ok only for a box that passes; anything else counts as cancelled.
        const auto box = d.EnteredBox();
        if (!box) return false;
        data.Rect = *box;
        data.BorderColor = d.cmbKeretszin->Color();
        data.FillColor = d.cmbBelsoszin->Color();
        data.Shadow = d.cbArnyek->isChecked();
        data.FillStyle = static_cast<uint8_t>(d.cmbMinta->BrushStyle());
        data.Title = ToCp1250(d.edSzoveg->text());
        // An alignment the list does not offer (a damaged document) stays as it was.
        if (d.cmbSzoveghely->currentIndex() >= 0) {
            data.TitleAlignment = d.cmbSzoveghely->currentIndex();
        }
        data.TitleFont = d.FontDialog.Font;
        return true;
    }

private:
    bool Run(QDialog& dialog) { return Services.Modal.Run(dialog) == QDialog::Accepted; }

    TForms& Forms;
    TEditorServices& Services;
};

} // namespace

std::unique_ptr<TItemDialogs> MakeItemDialogs(TForms& forms, TEditorServices& services) {
    return std::make_unique<TQtItemDialogs>(forms, services);
}
