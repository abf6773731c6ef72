#pragma once

class QDialog;

namespace platform {

// Runs `dialog` modal to the window it was opened from (its parent, or else the active
// window), never to the whole program: a reminder that pops up meanwhile must still answer
// its clicks. Every `Show…` function and every dialog of the prompter opens through here;
// a new dialog does the same instead of calling exec() itself.
int execModal(QDialog &dialog);

} // namespace platform
