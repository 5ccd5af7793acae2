// The game's sounds through Qt Multimedia. This part lives in a library of
// its own, libtesva-sound, that the program loads only when the first
// sound is due: Qt Multimedia brings some twenty more libraries (PulseAudio,
// codecs, Kerberos) that would otherwise slow every start of the game and
// take memory that a game played without sound never needs.
#pragma once

#include <QString>
#include <map>
#include <memory>

#include "platform/platform.h"

class QSoundEffect;

// Plays sound files one at a time: a new sound cuts off the last, and a
// file that is missing or holds no WAV data is passed over in silence.
class QtSoundPlayer : public tesva::SoundPlayer {
 public:
  QtSoundPlayer();
  ~QtSoundPlayer() override;

  void Play(const std::string& path) override;

  // The sound started last, or null when none has been.
  const QSoundEffect* Current() const { return current_; }

 private:
  QSoundEffect* EffectFor(const QString& path);
  bool Playable(const QString& path);

  std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
  std::map<QString, bool> playable_;  // by path, once looked at
  QSoundEffect* current_ = nullptr;
};

// A WAV file: a RIFF container of WAVE data, judged by its first bytes.
bool LooksLikeWave(const QString& path);

// What the program looks up in the library: a player for the machine's
// audio output, or null where there is none, after one line on standard
// error that says so.
extern "C" tesva::SoundPlayer* TesvaCreateSoundPlayer();
