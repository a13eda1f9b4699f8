#pragma once
// Toolbar images drawn dark for a light button face (classic bitmap strips,
// the style's own standard images) all but vanish on a dark desktop palette.
// A toolbar kept this way then takes the style's light face, with disabled
// images made for that face, when more of its images read on it than on the
// dark one; on a light palette it is left exactly as it was. It follows
// later palette and style changes by itself.

class QToolBar;

namespace platform {

// Call once the toolbar holds its buttons, and again after it is rebuilt.
void KeepToolbarIconsVisible(QToolBar& toolbar);

}  // namespace platform
