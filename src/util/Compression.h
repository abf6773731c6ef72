#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Qt's compressed form, as qCompress writes and qUncompress reads it: the inflated size as four
// big-endian bytes, then a zlib stream at level 6. Those two set zlib's state up anew at every
// call, a quarter of a megabyte that the allocator hands back to the system and then maps and
// zeroes again; for a body of a few kilobytes that cost far more than the compressing. These
// keep one state per thread and only reset it.
namespace compression {

QByteArray compressed(QByteArrayView data);
// Empty for an empty stream and for damaged data, as qUncompress gives.
QByteArray uncompressed(QByteArrayView data);

} // namespace compression
