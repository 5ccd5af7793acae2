// Checks the "Data" folder made by tesva-data: every picture and sound the game loads.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <cstdlib>
#include <optional>
#include <set>
#include <vector>

namespace {

QString DataPath(const QString& name) {
  return QStringLiteral(TESVA_DATA_DIR "/") + name;
}

TEST(DataPictures, AllFiftyFourArePngAtTwiceTheCardPlaceAndNoTwoAlike) {
  QStringList names = {"Back", "Back2"};
  for (const char* suit : {"K", "D", "S", "M"}) {
    for (int rank = 1; rank <= 13; ++rank) names << suit + QString::number(rank);
  }
  std::set<QByteArray> seen;
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    QImageReader reader(DataPath(name + ".grf"));
    EXPECT_EQ(reader.format(), "png");
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.size(), QSize(128, 208));
    seen.emplace(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
  }
  EXPECT_EQ(seen.size(), 54u);
}

struct Wave {
  int rate = 0;
  std::vector<qint16> samples;
};

// Reads 16-bit mono PCM; anything else, or a header that disagrees with the file, gives nothing.
std::optional<Wave> ReadWave(const QString& name) {
  QFile file(DataPath(name));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  auto at16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
  auto at32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
  if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE" ||
      at32(4) != quint32(bytes.size() - 8))
    return std::nullopt;
  Wave wave;
  bool pcm = false;
  for (qsizetype at = 12; at + 8 <= bytes.size();) {
    const qsizetype size = at32(at + 4), body = at + 8;
    if (body + size > bytes.size()) return std::nullopt;
    if (bytes.mid(at, 4) == "fmt " && size >= 16) {
      wave.rate = int(at32(body + 4));
      pcm = at16(body) == 1 && at16(body + 2) == 1 && at16(body + 14) == 16 &&
            at32(body + 8) == quint32(wave.rate) * 2;
    } else if (bytes.mid(at, 4) == "data") {
      for (qsizetype i = body; i + 1 < body + size; i += 2) wave.samples.push_back(qint16(at16(i)));
    }
    at = body + size + (size & 1);
  }
  if (!pcm || (wave.rate != 22050 && wave.rate != 44100)) return std::nullopt;
  return wave;
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
    const auto wave = ReadWave(sound.name);
    ASSERT_TRUE(wave && !wave->samples.empty()) << "not a 16-bit mono PCM RIFF/WAVE file";
    const double seconds = double(wave->samples.size()) / wave->rate;
    EXPECT_GE(seconds, sound.shortest);
    EXPECT_LE(seconds, sound.longest);
    int peak = 0;
    for (qint16 sample : wave->samples) peak = std::max(peak, std::abs(int(sample)));
    EXPECT_GT(peak, 8000) << "too quiet";
    // Starting or stopping away from zero would click.
    EXPECT_LT(std::abs(wave->samples.front()), 300);
    EXPECT_LT(std::abs(wave->samples.back()), 300);
  }
}

}  // namespace
