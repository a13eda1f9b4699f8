// ZuEditor20: copy, paste and cut in the focused pane through the system clipboard.

#include "editctl/ZuEditor20.h"

#include "editctl/ZuSystemClipboard.h"

ZuErr ZuEditor20::Copy()
{
    ZuSystemClipboard clipboard;
    return FocusedView().CopySelection(clipboard);
}

ZuErr ZuEditor20::Paste()
{
    ZuSystemClipboard clipboard;
    return FocusedView().PasteData(clipboard);
}

ZuErr ZuEditor20::Cut()
{
    ZuSystemClipboard clipboard;
    return FocusedView().CutSelection(clipboard);
}
