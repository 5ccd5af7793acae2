#include "sounds.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

namespace datagen {
namespace {

using Signal = std::vector<double>;

struct Timbre {
  std::vector<std::pair<double, double>> partials;  // frequency ratio, gain
  double decay;                                     // seconds for the fundamental to fall to 1/e
};

struct Note {
  double start;  // seconds
  double frequency;
  double length;  // seconds
  double gain;
};

// Struck and bright: the slightly stretched upper partials give the chime its bell colour.
const Timbre kBell{{{1.0, 1.0}, {2.0, 0.45}, {3.0, 0.25}, {4.2, 0.15}, {5.4, 0.08}}, 0.22};
const Timbre kMallet{{{1.0, 1.0}, {2.0, 0.35}, {3.0, 0.12}}, 0.35};
const Timbre kSoft{{{1.0, 1.0}, {2.0, 0.2}}, 0.45};

int sampleCount(double seconds) {
  return static_cast<int>(std::lround(seconds * kSampleRate));
}

// Linear ramps at both ends so every sound starts and stops at zero: no clicks.
double edgeRamp(double t, double length, double attack, double release) {
  return std::clamp(std::min(t / attack, (length - t) / release), 0.0, 1.0);
}

double sine(double frequency, double t) {
  return std::sin(2.0 * std::numbers::pi * frequency * t);
}

void addNote(Signal& signal, const Note& note, const Timbre& timbre) {
  const auto first = static_cast<std::size_t>(sampleCount(note.start));
  const int count = sampleCount(note.length);
  signal.resize(std::max(signal.size(), first + count), 0.0);
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / kSampleRate;
    double sum = 0.0;
    // Higher partials die sooner, as on a struck bar.
    for (const auto& [ratio, gain] : timbre.partials)
      sum +=
          gain * std::exp(-t * std::sqrt(ratio) / timbre.decay) * sine(note.frequency * ratio, t);
    signal[first + i] += note.gain * edgeRamp(t, note.length, 0.005, 0.03) * sum;
  }
}

Signal play(const std::vector<Note>& notes, const Timbre& timbre) {
  Signal signal;
  for (const Note& note : notes) addNote(signal, note, timbre);
  return signal;
}

// A card slapped on the cloth: a burst of bright noise over a faint low thump.
Signal cardSnap() {
  constexpr double kLength = 0.06;
  std::minstd_rand noise(1987);  // fixed seed: every build makes the same file
  const double range = double(noise.max() - noise.min());
  Signal signal(sampleCount(kLength));
  double previous = 0.0;
  for (std::size_t i = 0; i < signal.size(); ++i) {
    const double t = double(i) / kSampleRate;
    const double white = 2.0 * double(noise() - noise.min()) / range - 1.0;
    const double hiss = white - previous;  // the first difference lifts the highs: a snap
    previous = white;
    const double body =
        0.8 * hiss * std::exp(-t / 0.008) + 0.5 * sine(150.0, t) * std::exp(-t / 0.02);
    signal[i] = body * edgeRamp(t, kLength, 0.001, 0.01);
  }
  return signal;
}

// A lone card taken: two quick bell notes, a fifth apart.
Signal tesvaChime() {
  return play({{0.0, 1318.5, 0.5, 0.6}, {0.07, 1975.5, 0.43, 0.5}}, kBell);
}

// The human won: a major arpeggio climbing to the octave.
Signal laugh() {
  return play({{0.0, 523.25, 0.3, 0.8},
               {0.18, 659.26, 0.3, 0.8},
               {0.36, 783.99, 0.3, 0.8},
               {0.54, 1046.5, 0.46, 1.0}},
              kMallet);
}

// The computer won: a minor figure sinking a fifth.
Signal lose() {
  return play({{0.0, 392.0, 0.35, 0.8}, {0.25, 311.13, 0.35, 0.8}, {0.5, 261.63, 0.5, 1.0}}, kSoft);
}

// A draw: the same note twice, going neither up nor down.
Signal draw() {
  return play({{0.0, 440.0, 0.3, 0.8}, {0.28, 440.0, 0.32, 0.8}}, kSoft);
}

// Every clip peaks at the same level, with headroom, whatever its note gains add up to.
std::vector<std::int16_t> toPcm(const Signal& signal) {
  double peak = 0.0;
  for (double v : signal) peak = std::max(peak, std::abs(v));
  const double scale = peak > 0.0 ? 0.8 * 32767.0 / peak : 0.0;
  std::vector<std::int16_t> pcm;
  pcm.reserve(signal.size());
  for (double v : signal) pcm.push_back(static_cast<std::int16_t>(std::lround(v * scale)));
  return pcm;
}

void appendLittleEndian(QByteArray& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xff));
}

// A RIFF/WAVE file holding 16-bit mono PCM at kSampleRate.
QByteArray encodeWav(const std::vector<std::int16_t>& samples) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  QByteArray out;
  out.reserve(44 + dataBytes);
  out.append("RIFF");
  appendLittleEndian(out, 36 + dataBytes, 4);
  out.append("WAVE");
  out.append("fmt ");
  appendLittleEndian(out, 16, 4);               // size of the format chunk
  appendLittleEndian(out, 1, 2);                // PCM
  appendLittleEndian(out, 1, 2);                // mono
  appendLittleEndian(out, kSampleRate, 4);      // samples per second
  appendLittleEndian(out, kSampleRate * 2, 4);  // bytes per second
  appendLittleEndian(out, 2, 2);                // bytes per sample frame
  appendLittleEndian(out, 16, 2);               // bits per sample
  out.append("data");
  appendLittleEndian(out, dataBytes, 4);
  for (std::int16_t sample : samples) appendLittleEndian(out, std::uint16_t(sample), 2);
  return out;
}

QString writeSound(const QDir& out, const QString& name, const Signal& signal) {
  QFile file(out.filePath(name));
  const QByteArray wav = encodeWav(toPcm(signal));
  if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size())
    return QStringLiteral("cannot write %1").arg(file.fileName());
  return {};
}

}  // namespace

QString writeSounds(const QString& outDir) {
  const QDir out(outDir);
  const std::pair<const char*, Signal> sounds[] = {{"Card.voi", cardSnap()},
                                                   {"Tesva.voi", tesvaChime()},
                                                   {"Laugh.voi", laugh()},
                                                   {"Lose.voi", lose()},
                                                   {"With.voi", draw()}};
  for (const auto& [name, signal] : sounds) {
    QString error = writeSound(out, QLatin1String(name), signal);
    if (!error.isEmpty()) return error;
  }
  return {};
}

}  // namespace datagen
