// The record, the kept game and the hint in the window, with their files in
// a folder each test makes (never the user's own): a game closed mid-hand
// comes back whole, damaged files are set aside with one line on standard
// error, a folder that cannot be written to loses nothing but the keeping,
// a write killed at any moment leaves a whole file, the statistics dialog
// and its "Sıfırla", the hint's mark.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <random>

#include "engine/engine.h"
#include "platform/memory.h"
#include "record/kept_game.h"
#include "window/game_window/game_window.h"
#include "window/record/record_files.h"
#include "window/record/record_keeper.h"
#include "window/record/statistics_dialog.h"

#include "support/seeded.h"
#include "window/window_fixture.h"

namespace {

using window_testing::PlayFirstPlayableCard;

using tesva::record::KeptGame;

class KeptWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    // Not the first run; the computer answers at once.
    for (auto [key, value] : {std::pair{tesva::kKeyLevel, "2"},
                              {tesva::kKeyDelay, "10"},
                              {tesva::kKeyHumanName, "Ayşe"},
                              {tesva::kKeyComputerName, "Can"},
                              {tesva::kKeyHands, "2"}}) {
      store.Write(tesva::kStoreApp, tesva::kStoreSection, key, value);
    }
  }
  QString Path(const char* name) const { return QDir(folder.path()).filePath(name); }
  void Open(const QString& where) {
    window.reset();
    files = std::make_unique<RecordFiles>(where);
    window = std::make_unique<GameWindow>(tesva::Platform{store, sound, random, dialogs, host},
                                          files.get());
    window->show();
  }
  void Close() {
    window.reset();
    files.reset();  // writes what is pending
  }
  const tesva::Game& game() const { return window->Game(); }
  // The human plays its first playable card; the computer's answer is waited for.
  void Move() { PlayFirstPlayableCard(*window); }
  QStringList Folder() const {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
  }

  QTemporaryDir folder;
  tesva::MemoryStore store;
  tesva::RecordingSound sound;
  tesva::ScriptedRandom random{5};
  tesva::ScriptedDialogs dialogs;
  tesva::MemoryHost host{TESVA_PROGRAM_FOLDER};
  std::unique_ptr<RecordFiles> files;
  std::unique_ptr<GameWindow> window;
};

// With no files yet the game starts as ever, from the same random stream,
// and nothing is written before the first event; closed mid-hand, it comes
// back whole.
TEST_F(KeptWindow, AGameClosedMidHandComesBackWhole) {
  tesva::MemoryPlatform plain(5);
  for (auto key : {tesva::kKeyLevel, tesva::kKeyDelay, tesva::kKeyHumanName,
                   tesva::kKeyComputerName, tesva::kKeyHands}) {
    plain.store.Write(tesva::kStoreApp, tesva::kStoreSection, key,
                      store.Read(tesva::kStoreApp, tesva::kStoreSection, key));
  }
  tesva::Game expected(plain.services());
  tesva::Form_Load(expected);
  Open(folder.path());
  EXPECT_TRUE(game() == expected);
  EXPECT_TRUE(Folder().isEmpty()) << Folder().join(' ').toStdString();
  for (int i = 0; i < 7; ++i) Move();
  ASSERT_GT(game().Seen.plays.size(), 0u);
  const tesva::Game before = game();
  const auto tally = window->Keeper().Tally();
  Close();
  ASSERT_TRUE(QFile::exists(Path(kKeptGameFile)));

  Open(folder.path());
  EXPECT_TRUE(game() == before);
  EXPECT_EQ(window->Keeper().Tally(), tally);
  // And it plays on.
  Move();
  EXPECT_NE(game().Seen.plays, before.Seen.plays);
}

TEST_F(KeptWindow, DamagedFilesAreSetAsideWithOneLine) {
  struct Damage {
    const char* what;
    std::function<void(const QString& path)> make;
  };
  auto bytes = [](const QByteArray& written) {
    return [written](const QString& p) {
      QFile f(p);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(written);
    };
  };
  const Damage damages[] = {
      {"not JSON", bytes("{\"format\":\"tesva-kept-game\",\"vers")},
      {"larger than it can be", bytes(QByteArray(tesva::record::kMaxKeptGameBytes + 10, ' '))},
      {"not a plain file", [](const QString& p) { ASSERT_TRUE(QDir().mkdir(p)); }},
      {"a link",
       [](const QString& p) { ASSERT_TRUE(QFile::link(QStringLiteral("/etc/passwd"), p)); }},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    for (const QString& entry : Folder()) {
      QFileInfo info(QDir(folder.path()).filePath(entry));
      if (info.isDir() && !info.isSymLink()) {
        QDir(info.filePath()).removeRecursively();
      } else {
        QFile::remove(info.filePath());
      }
    }
    damage.make(Path(kKeptGameFile));
    tesva::CapturedStderr errors;
    Open(folder.path());
    auto lines = window_testing::Lines(errors);
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].contains(damage.what)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("moved aside as oyun.json.bozuk-")) << lines[0].toStdString();
    EXPECT_EQ(game().HandNo, 1);
    EXPECT_EQ(game().Seen.plays.size(), 0u);
    auto aside =
        QDir(folder.path())
            .entryList({QStringLiteral("oyun.json.bozuk-*")}, QDir::AllEntries | QDir::System);
    EXPECT_EQ(aside.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(Path(kKeptGameFile)));
    // The game plays and is kept anew.
    Move();
    Close();
    EXPECT_TRUE(QFileInfo(Path(kKeptGameFile)).isFile());
  }
  // The link's target was never touched.
  EXPECT_TRUE(QFileInfo(QStringLiteral("/etc/passwd")).size() > 0);
}

TEST_F(KeptWindow, AFolderThatCannotBeWrittenLosesOnlyTheKeeping) {
  // A data folder under a plain file cannot be made, not even by root.
  QFile blocker(Path("blocker"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  tesva::CapturedStderr errors;
  Open(Path("blocker") + QStringLiteral("/tesva"));
  for (int i = 0; i < 6; ++i) Move();
  const tesva::Game played = game();
  Close();
  auto lines = window_testing::Lines(errors);
  ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
  EXPECT_TRUE(lines[0].contains("cannot keep the game")) << lines[0].toStdString();
  EXPECT_GE(played.Seen.plays.size(), 6u);
}

TEST_F(KeptWindow, AFinishedGameIsCountedAndNoLongerKept) {
  store.Write(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyHands, "1");
  Open(folder.path());
  for (int i = 0; i < 40 && game().HandNo != 0; ++i) {
    if (game().Timer2.enabled) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer2.enabled; }, 5000));
    } else {
      Move();
    }
  }
  ASSERT_EQ(game().HandNo, 0);
  files->Flush();
  EXPECT_FALSE(QFile::exists(Path(kKeptGameFile)));
  const auto& heading = window->Keeper().Record().headings.at("profesyonel");
  EXPECT_EQ(heading.finished, 1);

  // The statistics dialog shows it; "Sıfırla" asks, and Yes clears it.
  window->Keeper().StatisticsAction()->trigger();
  StatisticsDialog* dialog = window->Keeper().Statistics();
  ASSERT_TRUE(dialog && dialog->isVisible());
  QTableWidget* table = dialog->Table();
  EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Profesyonel");
  EXPECT_EQ(table->verticalHeaderItem(0)->text(), "Biten oyun");
  EXPECT_EQ(table->item(0, 1)->text(), "1");
  EXPECT_EQ(table->item(0, 3)->text(), "1");
  window_testing::AnswerTheBox({}, window_testing::Reply::kClickYes);
  dialog->ResetButton()->click();
  EXPECT_EQ(table->item(0, 1)->text(), "0");
  EXPECT_TRUE(window->Keeper().Record().headings.empty());
  Close();
  RecordFiles again(folder.path());
  EXPECT_TRUE(again.ReadRecord().headings.empty());
}

TEST_F(KeptWindow, TheHintMarksAPlayableCardAndGoesWithTheMove) {
  Open(folder.path());
  QSignalSpy shown(&window->Keeper(), &RecordKeeper::hintShown);
  const tesva::Game before = game();
  QTest::keyClick(window.get(), Qt::Key_H);
  ASSERT_TRUE(shown.wait(5000));
  int slot = window->Keeper().HintSlot();
  EXPECT_EQ(shown.at(0).at(0).toInt(), slot);
  ASSERT_GE(slot, 1);
  EXPECT_TRUE(game().Player1_Kart(slot).enabled);
  EXPECT_TRUE(game() == before);  // the hint changed nothing of the game
  EXPECT_TRUE(window->Keeper().Tally().hintUsed);
  auto* frame = window->findChild<QWidget*>(QStringLiteral("HintFrame"));
  ASSERT_TRUE(frame && frame->isVisible());
  // The next move takes the mark away; while the computer is to move, the
  // command finds no card to mark.
  QTest::keyClick(window.get(), static_cast<Qt::Key>(Qt::Key_0 + slot));
  EXPECT_FALSE(frame->isVisible());
  EXPECT_EQ(window->Keeper().HintSlot(), 0);
  if (game().Timer1.enabled) {
    window->Keeper().HintAction()->trigger();
    EXPECT_FALSE(shown.wait(200));
    EXPECT_EQ(window->Keeper().HintSlot(), 0);
  }
  // The game that used a hint is kept as such.
  Close();
  RecordFiles again(folder.path());
  auto kept = again.ReadKeptGame();
  ASSERT_TRUE(kept);
  EXPECT_TRUE(kept->tally.hintUsed);
}

// A writer killed at a random moment, again and again: the file always
// holds one of the two games whole.
TEST_F(KeptWindow, AWriteKilledAtAnyMomentLeavesAWholeFile) {
  tesva::MemoryPlatform io(3);
  tesva::Game g(io.services());
  tesva::Form_Load(g);
  tesva::record::GameTally tally;
  tesva::record::FollowGame(g, tally);
  auto first = std::get<std::string>(tesva::record::WriteKeptGame(tesva::record::KeepOf(g, tally)));
  tesva::Player1_Kart_Click(g, 1);
  tesva::record::FollowGame(g, tally);
  auto second =
      std::get<std::string>(tesva::record::WriteKeptGame(tesva::record::KeepOf(g, tally)));
  ASSERT_NE(first, second);
  QString path = Path(kKeptGameFile);
  QString error;
  ASSERT_TRUE(WriteFileAtomically(path, first, &error)) << error.toStdString();

  for (auto [name, text] : {std::pair{"a", &first}, {"b", &second}}) {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text->data(), static_cast<qint64>(text->size()));
  }
  // The writer says each write done: the kill comes after a drawn number of
  // them, anywhere in the next, however fast the machine writes.
  auto rng = tesva::Seeded(17);
  int rounds = 0, bothSeen = 0;
  for (; rounds < 60; ++rounds) {
    QProcess writer;
    writer.start(QStringLiteral(TESVA_WRITE_LOOP), {path, Path("a"), Path("b")});
    ASSERT_TRUE(writer.waitForStarted());
    const int writes = 1 + static_cast<int>(rng() % 3);
    for (int done = 0; done < writes;) {
      ASSERT_TRUE(writer.canReadLine() || writer.waitForReadyRead(10000))
          << "round " << rounds << ": no write " << done + 1;
      while (writer.canReadLine()) done += writer.readLine() == "written\n";
    }
    ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
    writer.waitForFinished();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "round " << rounds;
    QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes == QByteArray::fromStdString(first) ||
                bytes == QByteArray::fromStdString(second))
        << "round " << rounds << ": " << bytes.size() << " bytes";
    auto read = tesva::record::ReadKeptGame(bytes.toStdString());
    ASSERT_TRUE(std::holds_alternative<KeptGame>(read));
    bothSeen += bytes == QByteArray::fromStdString(second);
  }
  EXPECT_GT(bothSeen, 0);
  EXPECT_LT(bothSeen, rounds);
}

}  // namespace
