// Checks the "Data" folder made by tesva-data: every picture and sound the game loads.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <vector>

namespace {

const QString kDataDir = QStringLiteral(TESVA_DATA_DIR);
const QStringList kSuits = {"K", "D", "S", "M"};

QString dataPath(const QString& name) {
  return kDataDir + '/' + name;
}

QStringList pictureNames() {
  QStringList names = {"Back", "Back2"};
  for (const QString& suit : kSuits)
    for (int rank = 1; rank <= 13; ++rank) names << suit + QString::number(rank);
  return names;
}

QImage picture(const QString& name) {
  return QImage(dataPath(name + ".grf"), "PNG").convertToFormat(QImage::Format_ARGB32);
}

bool isRed(QRgb pixel) {
  return qAlpha(pixel) > 200 && qRed(pixel) > 160 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

int redPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += isRed(image.pixel(x, y));
  return count;
}

TEST(DataPictures, ArePngAtTwiceTheCardPlace) {
  for (const QString& name : pictureNames()) {
    QImageReader reader(dataPath(name + ".grf"));
    EXPECT_EQ(reader.format(), "png") << name.toStdString();
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << name.toStdString() << ": "
                                 << reader.errorString().toStdString();
    EXPECT_EQ(image.size(), QSize(128, 208)) << name.toStdString();
  }
}

TEST(DataPictures, NoTwoAlike) {
  std::set<QByteArray> seen;
  for (const QString& name : pictureNames()) {
    const QImage image = picture(name);
    seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
  }
  EXPECT_EQ(seen.size(), 54u);
}

// Kupa and Karo are the red suits, Sinek and Maça the black. The court figures are coloured
// in every suit, so only the pip cards tell.
TEST(DataPictures, PipCardsShowTheirSuitColour) {
  for (const QString& suit : kSuits) {
    const bool red = suit == "K" || suit == "D";
    for (int rank = 1; rank <= 10; ++rank) {
      const QString name = suit + QString::number(rank);
      const int count = redPixels(picture(name));
      EXPECT_EQ(red, count > 100) << name.toStdString() << " has " << count << " red pixels";
    }
  }
}

QRgb meanColour(const QImage& image) {
  double r = 0, g = 0, b = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      r += qRed(p) * qAlpha(p), g += qGreen(p) * qAlpha(p), b += qBlue(p) * qAlpha(p);
    }
  const double n = 255.0 * image.width() * image.height();
  return qRgb(int(r / n), int(g / n), int(b / n));
}

TEST(DataPictures, ColouredBackIsRedStandardBackIsBlue) {
  const QRgb coloured = meanColour(picture("Back"));
  const QRgb standard = meanColour(picture("Back2"));
  EXPECT_GT(qRed(coloured), qBlue(coloured) + 40);
  EXPECT_GT(qBlue(standard), qRed(standard) + 40);
}

struct Wave {
  int rate = 0;
  std::vector<std::int16_t> samples;
  double seconds() const { return double(samples.size()) / rate; }
};

std::uint32_t littleEndian(const QByteArray& bytes, qsizetype at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(bytes[at + i]);
  return value;
}

// Reads 16-bit mono PCM; anything else, or a header that disagrees with the file, gives nothing.
std::optional<Wave> readWave(const QString& name) {
  QFile file(dataPath(name));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE" ||
      littleEndian(bytes, 4, 4) != std::uint32_t(bytes.size() - 8))
    return std::nullopt;
  Wave wave;
  bool pcm = false;
  for (qsizetype at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const qsizetype size = littleEndian(bytes, at + 4, 4), body = at + 8;
    if (body + size > bytes.size()) return std::nullopt;
    if (id == "fmt ") {
      pcm = size >= 16 && littleEndian(bytes, body, 2) == 1 &&
            littleEndian(bytes, body + 2, 2) == 1 && littleEndian(bytes, body + 14, 2) == 16;
      wave.rate = int(littleEndian(bytes, body + 4, 4));
      pcm = pcm && littleEndian(bytes, body + 8, 4) == std::uint32_t(wave.rate) * 2;
    } else if (id == "data") {
      for (qsizetype i = body; i + 1 < body + size; i += 2)
        wave.samples.push_back(std::int16_t(littleEndian(bytes, i, 2)));
    }
    at = body + size + (size & 1);
  }
  if (!pcm || (wave.rate != 22050 && wave.rate != 44100)) return std::nullopt;
  return wave;
}

int peak(const std::vector<std::int16_t>& samples) {
  int loudest = 0;
  for (std::int16_t s : samples) loudest = std::max(loudest, std::abs(int(s)));
  return loudest;
}

TEST(DataSounds, ArePcmWavesOfTheirLengthAndAudible) {
  const struct {
    const char* name;
    double shortest, longest;
  } sounds[] = {{"Card.voi", 0.03, 0.15},
                {"Tesva.voi", 0.3, 0.8},
                {"Laugh.voi", 0.7, 1.5},
                {"Lose.voi", 0.7, 1.5},
                {"With.voi", 0.3, 1.2}};
  for (const auto& sound : sounds) {
    SCOPED_TRACE(sound.name);
    const auto wave = readWave(sound.name);
    ASSERT_TRUE(wave) << "not a 16-bit mono PCM RIFF/WAVE file";
    EXPECT_GE(wave->seconds(), sound.shortest);
    EXPECT_LE(wave->seconds(), sound.longest);
    EXPECT_GT(peak(wave->samples), 8000);
    // Starting or stopping away from zero would click.
    EXPECT_LT(std::abs(wave->samples.front()), 300);
    EXPECT_LT(std::abs(wave->samples.back()), 300);
  }
}

// Zero crossings per second: a rough pitch, enough to tell up from down.
double crossingRate(const Wave& wave, double from, double to) {
  const auto first = std::size_t(from * wave.samples.size());
  const auto last = std::size_t(to * wave.samples.size());
  int crossings = 0;
  for (std::size_t i = first + 1; i < last; ++i)
    crossings += (wave.samples[i - 1] < 0) != (wave.samples[i] < 0);
  return crossings / (double(last - first) / wave.rate);
}

double endToStartPitch(const char* name) {
  const auto wave = readWave(name);
  if (!wave) return 0.0;
  return crossingRate(*wave, 0.75, 1.0) / crossingRate(*wave, 0.0, 0.25);
}

TEST(DataSounds, WinRisesLossFallsDrawStaysLevel) {
  EXPECT_GT(endToStartPitch("Laugh.voi"), 1.3);
  EXPECT_LT(endToStartPitch("Lose.voi"), 0.8);
  EXPECT_NEAR(endToStartPitch("With.voi"), 1.0, 0.15);
}

}  // namespace
