#pragma once

#include <QByteArray>

class QTextDocument;

// RTF, for "输出为Word文件" and for previewing RTF files: word processors open what
// writeRtf gives with its formatting (fonts, sizes, bold/italic/underline, colours,
// alignment, indents, line spacing, page breaks, tables with merged cells, pictures).
// The output is 7-bit ASCII with the GBK code page declared; text outside ASCII goes as \uN.
// A table inside a table cell is written as that cell's paragraphs.
QByteArray writeRtf(const QTextDocument &document);
// Reads text, fonts, sizes, bold/italic/underline, colours, alignment, paragraphs and tables
// into the document (replacing its content). Anything it cannot read gives an empty document
// and false, never a crash.
// RTF cut short (a damaged or half-copied file) is read as far as it goes and gives true, as
// word processors show what they could read. Input that does not start as RTF, or that nests
// groups deeper than any word processor writes, gives an empty document and false. PNG and
// JPEG pictures are read; metafiles and other picture kinds are left out.
bool readRtf(const QByteArray &rtf, QTextDocument &document);
