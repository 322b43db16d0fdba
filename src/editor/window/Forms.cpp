#include "editor/window/Forms.h"

#include "dialogs/AboutDlg.h"
#include "dialogs/AlapDlg.h"
#include "dialogs/CaptionPropertiesDlg.h"
#include "dialogs/FramePropertiesDlg.h"
#include "dialogs/ImagePositionDlg.h"
#include "dialogs/NavigatorDlg.h"
#include "dialogs/NewCaptionDlg.h"
#include "dialogs/NewImageDlg.h"
#include "dialogs/NewLineDlg.h"
#include "dialogs/NewTextDlg.h"
#include "dialogs/TextPropertiesDlg.h"
#include "editor/window/EditorServices.h"
#include "editor/window/EditorWindow.h"

TForms::TForms() = default;

TForms::~TForms() {
    // Dialogs go first, the main window last.
    while (!Owned.empty()) Owned.pop_back();
}

std::vector<QWidget*> TForms::InOrder() const {
    std::vector<QWidget*> forms;
    for (const auto& form : Owned) forms.push_back(form.get());
    return forms;
}

template <class F, class... Args>
F* TForms::Create(Args&&... args) {
    auto form = std::make_unique<F>(std::forward<Args>(args)...);
    F* raw = form.get();
    Owned.push_back(std::move(form));
    return raw;
}

void CreateForms(TForms& f, TEditorServices& services) {
    TFontDialogs& fonts = services.Fonts;
    TMessageBoxes& messages = services.Messages;
    f.NyomtatoOldalDlg = f.Create<TNyomtatoOldalDlg>(services, f);
    f.NyomtatoKepModositasDlg = f.Create<TNyomtatoKepModositasDlg>(messages);
    f.NyomtatoSorokModositasDlg = f.Create<TNyomtatoSorokModositasDlg>(fonts, messages);
    f.NyomtatoSzovegModositasDlg = f.Create<TNyomtatoSzovegModositasDlg>(fonts, messages);
    f.AlapDlg = f.Create<TAlapDlg>(messages);
    f.PrinterNavigatorDlg = f.Create<TPrinterNavigatorDlg>(services.Screen, f.NyomtatoOldalDlg);
    f.UjNyomtatoVonalDlg = f.Create<TUjNyomtatoVonalDlg>(services.Colors, messages);
    f.UjNyomtatoSzovegDlg = f.Create<TUjNyomtatoSzovegDlg>(fonts, messages);
    f.UjNyomtatoSorokDlg = f.Create<TUjNyomtatoSorokDlg>(fonts, messages);
    f.UjNyomtatoKepDlg = f.Create<TUjNyomtatoKepDlg>(services.Files, messages, services.Screen);
    f.NyomtatoKeretModositasDlg =
        f.Create<TNyomtatoKeretModositasDlg>(services.Colors, fonts, messages);
    f.AboutDlg = f.Create<TAboutDlg>();
}
