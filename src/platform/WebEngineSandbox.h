#pragma once

namespace platform {

// Chromium inside Qt WebEngine will not start its sandbox for the administrator, and that
// takes the whole program down the first time a web page is shown. Run as root (a fresh
// machine set up as root, a test machine), web pages run without the sandbox instead.
// Call before the first web page is created.
void allowWebPagesForAdministrator();

} // namespace platform
