// The two files of the player's data folder: the game being played
// ("oyun.json") and the record of past games ("istatistik.json"), in Qt's
// AppDataLocation (~/.local/share/tesva on Linux).
//
// Writing happens on a thread of its own, so that a move never waits for
// the disk: the window hands over a copy of the game and returns at once;
// the thread writes the latest copy it was given (one handed over while it
// writes replaces the one still waiting) through QSaveFile, with the data
// flushed to the disk before the new file takes the old one's name, so a
// crash at any moment leaves the old file or the new one, whole.
//
// Reading happens at start-up, on the window's thread: a file that is not a
// plain file (a folder, a link), is larger than such a file can be, or does
// not pass every check is moved aside under its name followed by ".bozuk-"
// and the time, with one line on standard error, and the game starts as if
// it had not been there.
#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "record/kept_game.h"
#include "record/record.h"

inline constexpr const char* kKeptGameFile = "oyun.json";
inline constexpr const char* kRecordFile = "istatistik.json";

// Writes `bytes` to `path` so that the file holds either what it held before
// or all of `bytes`, never a part. False with `error` set on failure.
bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error);

class RecordFiles {
 public:
  // Files in `folder`, made when first written.
  explicit RecordFiles(QString folder);
  // Writes what was handed over and not yet written, then stops the thread.
  ~RecordFiles();
  RecordFiles(const RecordFiles&) = delete;
  RecordFiles& operator=(const RecordFiles&) = delete;

  // The folder of the user's data: Qt's AppDataLocation.
  static QString UserFolder();
  const QString& Folder() const { return folder_; }

  // The kept game, checked whole; none when there is none or it was set aside.
  std::optional<tesva::record::KeptGame> ReadKeptGame();
  // The record; an empty one when there is none or it was set aside.
  tesva::record::Record ReadRecord();

  // Hand over to the writing thread; each returns at once.
  void Keep(const tesva::record::KeptGame& kept);
  void Forget();  // the game ended or was replaced: no game is kept
  void SaveRecord(const tesva::record::Record& record);

  // Waits until everything handed over is on the disk.
  void Flush();
  // The size of the last kept game written, in bytes.
  std::size_t LastKeptBytes() const { return lastKeptBytes_; }

 private:
  enum class KeptJob { kNone, kWrite, kRemove };
  QString PathOf(const char* name) const;
  // The file's bytes, or none after setting a bad file aside.
  std::optional<std::string> ReadSmallFile(const char* name, std::size_t most);
  void SetAside(const char* name, const std::string& reason);
  void Start();
  void Work();
  void WriteKept(const tesva::record::KeptGame& kept);
  void WriteRecord(const tesva::record::Record& record);
  void CannotWrite(const QString& what);

  QString folder_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  KeptJob keptJob_ = KeptJob::kNone;
  tesva::record::KeptGame kept_;
  std::optional<tesva::record::Record> record_;
  bool busy_ = false;
  bool stop_ = false;
  std::thread thread_;  // started at the first write, not at start-up
  std::atomic<std::size_t> lastKeptBytes_{0};
  bool toldCannotWrite_ = false;  // the writing thread's own
  bool keptUnkeepable_ = false;   // the writing thread's own
};
