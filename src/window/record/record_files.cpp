#include "window/record/record_files.h"

#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdio>

namespace {

using tesva::record::KeptGame;
using tesva::record::Record;
using tesva::record::Refusal;

void Say(const QString& line) {
  std::fprintf(stderr, "tesva: %s\n", line.toLocal8Bit().constData());
}

}  // namespace

bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    *error = file.errorString();
    return false;
  }
  auto size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size || !file.flush()) {
    *error = file.errorString();
    file.cancelWriting();
    return false;
  }
  // On the disk before the new file takes the name: a power cut right after
  // the rename must not find an empty file under it.
  if (::fsync(file.handle()) != 0) {
    *error = QStringLiteral("the data could not be flushed to the disk");
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    *error = file.errorString();
    return false;
  }
  return true;
}

RecordFiles::RecordFiles(QString folder) : folder_(std::move(folder)) {}

RecordFiles::~RecordFiles() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

QString RecordFiles::UserFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString RecordFiles::PathOf(const char* name) const {
  return QDir(folder_).filePath(QString::fromLatin1(name));
}

void RecordFiles::SetAside(const char* name, const std::string& reason) {
  QString path = PathOf(name);
  QString aside = path + QStringLiteral(".bozuk-") +
                  QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  // The link itself is renamed, never what it points to.
  bool moved = QDir().rename(path, aside);
  Say(QStringLiteral("%1 is not used (%2); %3")
          .arg(path, QString::fromStdString(reason),
               moved ? QStringLiteral("moved aside as ") + QFileInfo(aside).fileName()
                     : QStringLiteral("it could not be moved aside")));
}

std::optional<std::string> RecordFiles::ReadSmallFile(const char* name, std::size_t most) {
  QString path = PathOf(name);
  QFileInfo info(path);
  if (!info.exists() && !info.isSymLink()) return std::nullopt;
  // A link could lead anywhere, a pipe would never end: only a plain file
  // in the folder is read.
  if (info.isSymLink() || !info.isFile()) {
    SetAside(name, info.isSymLink() ? "a link" : "not a plain file");
    return std::nullopt;
  }
  if (static_cast<std::size_t>(info.size()) > most) {
    SetAside(name, "larger than it can be");
    return std::nullopt;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    Say(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
    return std::nullopt;
  }
  // Read no further than a good file can be, whatever it has grown to.
  QByteArray bytes = file.read(static_cast<qint64>(most) + 1);
  if (static_cast<std::size_t>(bytes.size()) > most) {
    SetAside(name, "larger than it can be");
    return std::nullopt;
  }
  return bytes.toStdString();
}

std::optional<KeptGame> RecordFiles::ReadKeptGame() {
  auto bytes = ReadSmallFile(kKeptGameFile, tesva::record::kMaxKeptGameBytes);
  if (!bytes) return std::nullopt;
  auto read = tesva::record::ReadKeptGame(*bytes);
  if (auto* refusal = std::get_if<Refusal>(&read)) {
    SetAside(kKeptGameFile, refusal->reason);
    return std::nullopt;
  }
  return std::get<KeptGame>(std::move(read));
}

Record RecordFiles::ReadRecord() {
  auto bytes = ReadSmallFile(kRecordFile, tesva::record::kMaxRecordBytes);
  if (!bytes) return {};
  auto read = tesva::record::ReadRecord(*bytes);
  if (auto* refusal = std::get_if<Refusal>(&read)) {
    SetAside(kRecordFile, refusal->reason);
    return {};
  }
  return std::get<Record>(std::move(read));
}

void RecordFiles::Start() {
  if (!thread_.joinable()) thread_ = std::thread([this] { Work(); });
}

void RecordFiles::Keep(const KeptGame& kept) {
  {
    std::lock_guard lock(mutex_);
    keptJob_ = KeptJob::kWrite;
    kept_ = kept;
    Start();
  }
  wake_.notify_one();
}

void RecordFiles::Forget() {
  {
    std::lock_guard lock(mutex_);
    keptJob_ = KeptJob::kRemove;
    Start();
  }
  wake_.notify_one();
}

void RecordFiles::SaveRecord(const Record& record) {
  {
    std::lock_guard lock(mutex_);
    record_ = record;
    Start();
  }
  wake_.notify_one();
}

void RecordFiles::Flush() {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return !busy_ && keptJob_ == KeptJob::kNone && !record_; });
}

void RecordFiles::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || keptJob_ != KeptJob::kNone || record_; });
    if (keptJob_ == KeptJob::kNone && !record_) break;  // stopping, and all written
    KeptJob job = std::exchange(keptJob_, KeptJob::kNone);
    KeptGame kept = job == KeptJob::kWrite ? kept_ : KeptGame{};
    std::optional<Record> record = std::exchange(record_, std::nullopt);
    busy_ = true;
    lock.unlock();
    if (job == KeptJob::kWrite) WriteKept(kept);
    if (job == KeptJob::kRemove) QFile::remove(PathOf(kKeptGameFile));
    if (record) WriteRecord(*record);
    lock.lock();
    busy_ = false;
    done_.notify_all();
  }
  busy_ = false;
  done_.notify_all();
}

void RecordFiles::CannotWrite(const QString& what) {
  if (toldCannotWrite_) return;
  toldCannotWrite_ = true;
  Say(QStringLiteral("%1; the game plays on without keeping it").arg(what));
}

void RecordFiles::WriteKept(const KeptGame& kept) {
  auto bytes = tesva::record::WriteKeptGame(kept);
  if (auto* refusal = std::get_if<Refusal>(&bytes)) {
    // A game that no kept game may hold (a name edited by hand into the
    // options, too long or not UTF-8): the older kept game must not
    // come back in its place.
    if (!keptUnkeepable_) {
      keptUnkeepable_ = true;
      Say(QStringLiteral("the game cannot be kept: %1")
              .arg(QString::fromStdString(refusal->reason)));
    }
    QFile::remove(PathOf(kKeptGameFile));
    return;
  }
  keptUnkeepable_ = false;
  const auto& text = std::get<std::string>(bytes);
  QString error;
  if (!QDir().mkpath(folder_) || !WriteFileAtomically(PathOf(kKeptGameFile), text, &error)) {
    CannotWrite(QStringLiteral("cannot keep the game in %1: %2")
                    .arg(folder_, error.isEmpty() ? QStringLiteral("no folder") : error));
    return;
  }
  lastKeptBytes_ = text.size();
}

void RecordFiles::WriteRecord(const Record& record) {
  QString error;
  if (!QDir().mkpath(folder_) ||
      !WriteFileAtomically(PathOf(kRecordFile), tesva::record::WriteRecord(record), &error)) {
    CannotWrite(QStringLiteral("cannot keep the record in %1: %2")
                    .arg(folder_, error.isEmpty() ? QStringLiteral("no folder") : error));
  }
}
