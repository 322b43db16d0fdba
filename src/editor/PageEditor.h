// The editor's document and state without any window, by concern: the document (items,
// settings, compass, history), the view (sheet, zoom, scroll, navigator), the interaction
// (the mouse state machine, the selection) and what the window shows. The editor window
// shows what this decides and forwards its events here, so tests drive the editor without a
// window.
#pragma once

#include <optional>
#include <string>

#include "editor/InteractionState.h"
#include "editor/PageDocument.h"
#include "editor/PageViewState.h"
#include "editor/WindowState.h"
#include "platform/Outcome.h"

class TPrinter;
struct TDocumentData;
class TScreen;

class TPageEditor : public TPageDocument,
                    public TPageViewState,
                    public TInteractionState,
                    public TWindowState {
public:
    // Reads the printer's sheet, empties the document and lays the page out anew (start-up
    // and after printer set-up). Undoing it brings the items back onto the new sheet.
    void ResetPage(TPrinter& printer);
    // Places the sheet on the page picture and the navigator, keeps the zoom and scrolls back
    // to the origin.
    void LayOut();
    // Sets the zoom bar (clamped to its range) and zooms the sheet about its top-left corner.
    void SetZoomPosition(int position);
    void SetScroll(int x, int y);
    // Escape: abandons a line or polygon being entered and returns to idle. True when points
    // were discarded (the page must be repainted).
    bool CancelEntry(TScreen& screen);
    // A new page (a load, printer set-up) ends a line or polygon being entered: its points
    // belonged to the page it replaces.
    void AbandonEntry();
    // Captions that show the page scale read "1 : " + scaleText and are measured again.
    void UpdateScaleCaptions(const std::string& scaleText, TPrinter& printer);
    // The repeat timer fired: it stops and the menu comes back.
    void RepeatTimerFired();

    // Writes the document (with its compass, when it has one) to path, replacing the file only when
    // all of it was written. The message for the user on failure.
    TOutcome SaveDocument(const std::string& path) const;
    // Reads the document at path and, only when all of it was read, installs its page
    // settings, items and (when the file has one) compass; the page keeps the current
    // printer's size. On failure nothing changes and the message for the user is returned.
    // Undoing it brings the previous page back.
    TOutcome LoadDocument(const std::string& path);
    // Installs a document already read (the second half of LoadDocument), as one step.
    void InstallDocument(TDocumentData doc);
};
