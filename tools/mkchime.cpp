// Build tool: writes the reminder window's alert sound, a short rising three-note chime, as a
// 44.1 kHz 16-bit mono PCM RIFF/WAVE file.
//
//   mkchime <out.wav>
//
// The reminder plays the file in a loop, so the chime starts and ends in silence: a loop of
// it never clicks, and the quiet tail spaces the repeats.

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kLengthSeconds = 1.2;
constexpr double kPeak = 0.45;          // of full scale: a clear chime, far from clipping
constexpr double kAttackSeconds = 0.006;
constexpr double kFadeOutSeconds = 0.08;

struct Note {
    double start;     // seconds
    double frequency; // Hz
    double decay;     // seconds for the fundamental to fall to 1/e
};

// C6, E6, G6: the last note rings on.
constexpr Note kNotes[] = {{0.00, 1046.50, 0.22}, {0.16, 1318.51, 0.22}, {0.32, 1567.98, 0.30}};

// Multiples of the fundamental and their loudness. The slightly stretched top partial gives
// the metallic shimmer of a struck bar.
struct Partial {
    double ratio;
    double level;
};
constexpr Partial kPartials[] = {{1.0, 1.0}, {2.0, 0.32}, {3.0, 0.10}, {4.16, 0.05}};

double noteSample(const Note &note, double t)
{
    if (t < 0)
        return 0;
    // A raised-cosine attack: a note that starts at full level clicks.
    const double attack = t < kAttackSeconds ? 0.5 - 0.5 * std::cos(std::numbers::pi * t / kAttackSeconds) : 1.0;
    double sum = 0;
    for (const Partial &partial : kPartials) {
        // Higher partials die away sooner, so each note mellows as it rings.
        const double decay = note.decay / std::sqrt(partial.ratio);
        sum += partial.level * std::exp(-t / decay)
               * std::sin(2 * std::numbers::pi * note.frequency * partial.ratio * t);
    }
    return attack * sum;
}

std::vector<double> renderChime()
{
    const int count = int(kLengthSeconds * kSampleRate);
    const int fadeOut = int(kFadeOutSeconds * kSampleRate);
    std::vector<double> samples(size_t(count), 0.0);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kSampleRate;
        for (const Note &note : kNotes)
            samples[size_t(i)] += noteSample(note, t - note.start);
        if (i >= count - fadeOut)
            samples[size_t(i)] *= double(count - 1 - i) / fadeOut;
    }
    double loudest = 0;
    for (double sample : samples)
        loudest = std::max(loudest, std::abs(sample));
    for (double &sample : samples)
        sample *= kPeak / loudest;
    return samples;
}

template <typename T>
void append(QByteArray &bytes, T value)
{
    const T little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&little), sizeof little);
}

QByteArray waveFile(const std::vector<double> &samples)
{
    constexpr quint16 channels = 1;
    constexpr quint16 bitsPerSample = 16;
    constexpr quint16 blockAlign = channels * bitsPerSample / 8;
    const quint32 dataSize = quint32(samples.size()) * blockAlign;

    QByteArray bytes;
    bytes.reserve(int(44 + dataSize));
    bytes.append("RIFF");
    append<quint32>(bytes, 36 + dataSize);
    bytes.append("WAVE");
    bytes.append("fmt ");
    append<quint32>(bytes, 16);
    append<quint16>(bytes, 1); // PCM
    append<quint16>(bytes, channels);
    append<quint32>(bytes, kSampleRate);
    append<quint32>(bytes, kSampleRate * blockAlign);
    append<quint16>(bytes, blockAlign);
    append<quint16>(bytes, bitsPerSample);
    bytes.append("data");
    append<quint32>(bytes, dataSize);
    for (double sample : samples)
        append<qint16>(bytes, qint16(std::lround(sample * 32767)));
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkchime <out.wav>\n");
        return 2;
    }
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(waveFile(renderChime())) < 0 || !file.commit()) {
        std::fprintf(stderr, "mkchime: %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
