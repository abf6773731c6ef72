#pragma once

// The desk tools of the settings page's group "系统功能调用".

// Start the desktop's own calculator and text editor; a desktop without one is told so.
void callCalculator();
void callTextEditor();
// The web translator and the web map.
void openTranslator();
void openMap();
// Asks first; Yes powers the computer off.
void shutDownComputerAsked();
