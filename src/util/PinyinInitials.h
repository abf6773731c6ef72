#pragma once

#include <QChar>
#include <QString>

// The upper-case initial of the pinyin reading of a GB2312 level-1 character, given by its
// two GBK bytes as lead × 256 + trail; a space for any other code (punctuation, full-width
// forms, level-2 characters).
QChar pinyinInitial(quint16 code);

// Short codes made from names: ASCII kept as it is, every double-byte character of the
// text's GBK form replaced by its pinyinInitial. 北京ab gives BJab.
QString pinyinInitials(const QString &text);
