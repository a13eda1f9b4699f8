#pragma once
// Help Topics of the editor's menus: the suite's own HTML help
// ("Editor.html" beside the program) in the help window.

// Shows the help file (the program folder followed by HelpFile) in the help
// window, opened over the main window or brought to the front. A missing
// file says "Help file not found." and opens nothing.
void ShowHelpTopics();
