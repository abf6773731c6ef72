#include "app/AppFont.h"

#include <QApplication>
#include <QFont>

void applyChineseFont()
{
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("sans-serif")});
    QApplication::setFont(font);
}
