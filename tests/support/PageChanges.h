// Changes to an editor's page for tests that need a page with unsaved work: each is one step
// of the history, as the item commands make them.
#pragma once

#include <memory>

#include "document/ItemLists.h"
#include "editor/ChangeStep.h"
#include "editor/PageEditor.h"

// Adds a caption reading text, as the step "new caption".
inline void AddCaptionStep(TPageEditor& e, const char* text) {
    const TChangeStep step(e, "new caption");
    auto c = std::make_unique<TNyomtatoSzoveg>();
    c->Text = text;
    c->Rect = {10, 20, 30, 25};
    e.Items.Captions.Add(std::move(c));
}
