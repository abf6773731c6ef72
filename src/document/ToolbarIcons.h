#pragma once

#include <QIcon>

// Small line drawings for the editor's toolbar, drawn at run time so they stay sharp at any
// scale and need no icon theme on the desktop.
namespace toolbaricons {

enum class Kind { AlignLeft, AlignCenter, AlignRight, Justify, IndentLess, IndentMore, Save, TextColor };
QIcon icon(Kind kind);

} // namespace toolbaricons
