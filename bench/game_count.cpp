// tesva-game-count [GAMES] [LEVEL]: plays GAMES complete games (100; level 1,
// the amateur, or 2, the professional) exactly as the benchmark's
// CompleteGames does, from the same seed, and prints their final scores'
// checksum. Its use is counting instructions, which a busy machine does not
// disturb:
//   valgrind --tool=callgrind --toggle-collect='tesva::PlayGames*'
//     build/bin/tesva-game-count 200 1
// then the total over 200 is the instructions of one game.
#include <cstdio>
#include <cstdlib>

#include "play_to_the_end.h"

namespace tesva {

// Out of line, so that callgrind can count it alone.
[[gnu::noinline]] long PlayGames(Game& g, int games) {
  long checksum = 0;
  for (int i = 0; i < games; ++i) {
    PlayToTheEnd(g);
    checksum += g.Player1_Score * 1000L + g.Player2_Score;
    mnuYeni_Click(g);  // a finished game starts the next without asking
  }
  return checksum;
}

}  // namespace tesva

int main(int argc, char** argv) {
  using namespace tesva;
  int games = argc > 1 ? std::atoi(argv[1]) : 100;
  int level = argc > 2 ? std::atoi(argv[2]) : 1;
  if (games < 1 || (level != 1 && level != 2)) {
    std::fprintf(stderr, "usage: tesva-game-count [GAMES >= 1] [LEVEL 1 or 2]\n");
    return 2;
  }
  BenchTable table(level);
  std::printf("games %d checksum %ld\n", games, PlayGames(table.g, games));
}
