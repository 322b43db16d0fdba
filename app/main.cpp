// Folioscriptor: start-up. Creates the application object and the twelve forms in order
// (the editor window first, as the main window) and runs the message loop.
#include "editor/window/EditorServices.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "platform/qt/Application.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtScreen.h"

int main(int argc, char** argv) {
    TApplication app(argc, argv);

    TQtScreen screen;
    TQtMessageBoxes messages;
    TQtFileDialogs files;
    TQtColorDialogs colors;
    TQtFontDialogs fonts;
    TModalRunner modal;
    // The system's default printer, or the built-in PDF printer where there is none.
    TQtPrinter printer(TQtPrinter::TChoice::SystemDefault, &files);
    TEditorServices services{screen, messages, files, colors, fonts, modal, printer};

    TForms forms;
    CreateForms(forms, services);
    messages.SetParent(forms.MainForm());
    files.SetParent(forms.MainForm());

    forms.MainForm()->show();
    return app.exec();
}
