#pragma once
// The wait pointer and DoEvents for long commands.

namespace platform {

// Shows (true) or clears (false) the wait pointer for the whole program,
// like setting the screen's mouse pointer: not counted, the last call wins.
void SetWaitCursor(bool on);
bool IsWaitCursor();

// Shows the wait pointer for a scope and puts back the state it found.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool previous_;
};

// Processes the pending events (paints, timers, user input).
void DoEvents();
// Processes the pending events but holds back user input (keys, mouse), so
// that a long command repaints without the user starting another one.
void DoEventsHoldingInput();

}  // namespace platform
