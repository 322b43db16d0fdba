// Placeholder until the item dialogs land: every dialog is cancelled.
#include "editor/window/QtItemDialogs.h"

#include "editor/ItemDialogs.h"

namespace {

class TCancelledDialogs : public TItemDialogs {
public:
    bool NewCaption(TTextDialogData&) override { return false; }
    bool NewText(TTextDialogData&) override { return false; }
    bool NewImage(TImageDialogData&) override { return false; }
    bool LineProperties(TLineDialogData&, bool) override { return false; }
    bool ModifyCaption(TTextDialogData&) override { return false; }
    bool ModifyText(TTextDialogData&) override { return false; }
    bool ModifyImage(TImageDialogData&) override { return false; }
    bool ModifyFrame(TFrameDialogData&) override { return false; }
};

} // namespace

std::unique_ptr<TItemDialogs> MakeItemDialogs(TForms&, TEditorServices&) {
    return std::make_unique<TCancelledDialogs>();
}
