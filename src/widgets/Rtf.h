#pragma once

#include <QByteArray>

class QTextDocument;

// RTF, for "输出为Word文件" and for previewing RTF files: word processors open what
// writeRtf gives with its formatting (fonts, sizes, bold/italic/underline, colours,
// alignment, indents, line spacing, page breaks, tables with merged cells, pictures).
QByteArray writeRtf(const QTextDocument &document);
// Reads text, fonts, sizes, bold/italic/underline, colours, alignment, paragraphs and tables
// into the document (replacing its content). Anything it cannot read gives an empty document
// and false, never a crash.
bool readRtf(const QByteArray &rtf, QTextDocument &document);
