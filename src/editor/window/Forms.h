// The program's twelve forms, created once at start-up in a fixed order (the editor window
// first, as the main window) and kept until the program ends.
#pragma once

#include <memory>
#include <vector>

class QWidget;
class TNyomtatoOldalDlg;
class TNyomtatoKepModositasDlg;
class TNyomtatoSorokModositasDlg;
class TNyomtatoSzovegModositasDlg;
class TAlapDlg;
class TPrinterNavigatorDlg;
class TUjNyomtatoVonalDlg;
class TUjNyomtatoSzovegDlg;
class TUjNyomtatoSorokDlg;
class TUjNyomtatoKepDlg;
class TNyomtatoKeretModositasDlg;
class TAboutDlg;
struct TEditorServices;

struct TForms {
    TForms();
    ~TForms();
    TForms(const TForms&) = delete;
    TForms& operator=(const TForms&) = delete;

    TNyomtatoOldalDlg* NyomtatoOldalDlg = nullptr;
    TNyomtatoKepModositasDlg* NyomtatoKepModositasDlg = nullptr;
    TNyomtatoSorokModositasDlg* NyomtatoSorokModositasDlg = nullptr;
    TNyomtatoSzovegModositasDlg* NyomtatoSzovegModositasDlg = nullptr;
    TAlapDlg* AlapDlg = nullptr;
    TPrinterNavigatorDlg* PrinterNavigatorDlg = nullptr;
    TUjNyomtatoVonalDlg* UjNyomtatoVonalDlg = nullptr;
    TUjNyomtatoSzovegDlg* UjNyomtatoSzovegDlg = nullptr;
    TUjNyomtatoSorokDlg* UjNyomtatoSorokDlg = nullptr;
    TUjNyomtatoKepDlg* UjNyomtatoKepDlg = nullptr;
    TNyomtatoKeretModositasDlg* NyomtatoKeretModositasDlg = nullptr;
    TAboutDlg* AboutDlg = nullptr;

    // Every form in creation order; the first is the main window.
    std::vector<QWidget*> InOrder() const;
    QWidget* MainForm() const { return Owned.empty() ? nullptr : Owned.front().get(); }

private:
    std::vector<std::unique_ptr<QWidget>> Owned;
    template <class F, class... Args>
    F* Create(Args&&... args);
    friend void CreateForms(TForms&, TEditorServices&);
};

// Creates the twelve forms in their order. The editor window reaches the others through
// the TForms it is given, once they exist.
void CreateForms(TForms& forms, TEditorServices& services);
