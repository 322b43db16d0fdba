// The program's item dialogs behind the interface the item commands use: each call fills the
// form's controls, runs it modally through the modal-run seam and reads the controls back.
#pragma once

#include <memory>

class TItemDialogs;
struct TEditorServices;
struct TForms;

// The forms are looked up at each call, so this can be made before the dialogs exist.
std::unique_ptr<TItemDialogs> MakeItemDialogs(TForms& forms, TEditorServices& services);
