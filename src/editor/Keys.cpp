#include "editor/Keys.h"

#include "editor/CoreServices.h"
#include "editor/PageEditor.h"

void KeyDown(TPageEditor& e, TCoreServices& s, int key) {
    if (key != VK_ESCAPE) return;
    // The info line keeps its text and the repeat menu stays detached until the next tool
    // ends; the page picture forgets the tool cursor it may have saved.
    if (e.CancelEntry(s.Screen)) e.RepaintRequested = true;
    e.ForgetPictureCursor = true;
}
