#include "util/Compression.h"

#include <QtEndian>

#include <zlib.h>

#include <limits>

namespace compression {

namespace {

constexpr int kLevel = 6;
constexpr qsizetype kHeaderSize = 4;

class Deflater
{
public:
    Deflater() { m_ready = deflateInit(&m_stream, kLevel) == Z_OK; }
    ~Deflater()
    {
        if (m_ready)
            deflateEnd(&m_stream);
    }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    QByteArray run(QByteArrayView data)
    {
        if (data.isEmpty())
            return QByteArray(kHeaderSize, '\0');
        if (!m_ready || data.size() > std::numeric_limits<uInt>::max() - 1024 || deflateReset(&m_stream) != Z_OK)
            return {};
        QByteArray out(kHeaderSize + qsizetype(deflateBound(&m_stream, uLong(data.size()))), Qt::Uninitialized);
        qToBigEndian(quint32(data.size()), out.data());
        m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
        m_stream.avail_in = uInt(data.size());
        m_stream.next_out = reinterpret_cast<Bytef *>(out.data() + kHeaderSize);
        m_stream.avail_out = uInt(out.size() - kHeaderSize);
        if (deflate(&m_stream, Z_FINISH) != Z_STREAM_END)
            return {};
        out.truncate(kHeaderSize + qsizetype(m_stream.total_out));
        return out;
    }

private:
    z_stream m_stream{};
    bool m_ready = false;
};

class Inflater
{
public:
    Inflater() { m_ready = inflateInit(&m_stream) == Z_OK; }
    ~Inflater()
    {
        if (m_ready)
            inflateEnd(&m_stream);
    }
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;

    QByteArray run(QByteArrayView data)
    {
        if (!m_ready || data.size() <= kHeaderSize || data.size() > std::numeric_limits<uInt>::max()
            || inflateReset(&m_stream) != Z_OK)
            return {};
        const quint32 size = qFromBigEndian<quint32>(data.data());
        // zlib never shrinks data by more than about 1 : 1032, so a larger stated size is damage
        // and is not allocated.
        if (size == 0 || quint64(size) > quint64(data.size()) * 1040)
            return {};
        QByteArray out(qsizetype(size), Qt::Uninitialized);
        m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data() + kHeaderSize));
        m_stream.avail_in = uInt(data.size() - kHeaderSize);
        m_stream.next_out = reinterpret_cast<Bytef *>(out.data());
        m_stream.avail_out = uInt(out.size());
        // Exactly the stated size, and the stream's end right there with nothing after it.
        if (inflate(&m_stream, Z_FINISH) != Z_STREAM_END || m_stream.total_out != size || m_stream.avail_in != 0)
            return {};
        return out;
    }

private:
    z_stream m_stream{};
    bool m_ready = false;
};

} // namespace

QByteArray compressed(QByteArrayView data)
{
    thread_local Deflater deflater;
    return deflater.run(data);
}

QByteArray uncompressed(QByteArrayView data)
{
    thread_local Inflater inflater;
    return inflater.run(data);
}

} // namespace compression
