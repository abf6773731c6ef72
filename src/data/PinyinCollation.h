#pragma once

#include <QString>

struct sqlite3;

// Registers the collation PINYIN on a connection: Chinese text in pinyin order (ICU's zh
// collation), Latin letters before Chinese, so "Order by X collate PINYIN" reads naturally.
void registerPinyinCollation(sqlite3 *db);

// The same order for sorting loaded rows: <0, 0 or >0.
int comparePinyin(const QString &a, const QString &b);
