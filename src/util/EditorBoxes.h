#pragma once

class QWidget;

// Puts every one-line box of a filled editor back to its text's start: a long address or
// name would otherwise show only its end when the editor opens.
void showStartOfBoxes(QWidget *editor);
