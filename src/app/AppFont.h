#pragma once

// Makes the simplified-Chinese shapes of Noto Sans CJK the application font. Without it a
// non-Chinese locale lets the font fallback pick the Japanese shapes of the same characters.
void applyChineseFont();
