#include "window/sound/qt_sound.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() = default;

bool LooksLikeWave(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QByteArray head = file.read(12);
  return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

bool QtSoundPlayer::Playable(const QString& path) {
  auto known = playable_.find(path);
  if (known == playable_.end()) known = playable_.emplace(path, LooksLikeWave(path)).first;
  return known->second;
}

QSoundEffect* QtSoundPlayer::EffectFor(const QString& path) {
  auto& effect = effects_[path];
  if (!effect) {
    effect = std::make_unique<QSoundEffect>();
    // By the file's path, not its ending: the game's sounds end in ".voi".
    effect->setSource(QUrl::fromLocalFile(path));
  }
  return effect.get();
}

void QtSoundPlayer::Play(const std::string& path) {
  QString file = QString::fromStdString(path);
  // A file that cannot be played leaves the sound that is playing alone;
  // Qt would take it and cut the last sound off for nothing.
  if (!Playable(file)) return;
  QSoundEffect* effect = EffectFor(file);
  if (current_) current_->stop();
  current_ = effect;
  effect->play();
}

namespace {

// Whether the machine has somewhere to play sound. Qt's audio back end
// explains a missing output in lines of its own, and each sound effect
// would repeat that it has no device; the game says it once instead.
bool HasAudioOutput() {
  QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  bool found = !QMediaDevices::defaultAudioOutput().isNull();
  qInstallMessageHandler(previous);
  return found;
}

}  // namespace

tesva::SoundPlayer* TesvaCreateSoundPlayer() {
  if (!HasAudioOutput()) {
    qWarning("tesva: no audio output found; the game plays without sound");
    return nullptr;
  }
  return new QtSoundPlayer;
}
