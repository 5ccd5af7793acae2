// The computer's turn. Both levels capture alike: the first card in hand
// order that is a jack or matches the top card. They differ only in the card
// they give away when nothing captures: the amateur lays a random card, the
// professional never gives away a jack it can keep and, reading the
// played-cards tracker, leads its first card when every rank it holds has
// been seen twice. Neither looks at the human's cards or at the deck.
#pragma once

#include "engine/game_state.h"

namespace tesva {

inline constexpr std::string_view kAmateur = "1";
inline constexpr std::string_view kProfessional = "2";

// Timer1's tick: one computer move per start of the timer.
void Timer1_Timer(Game& g);
// The amateur's move.
void Cpu_Yonetim(Game& g);
// The professional's move.
void Cpu_YonetimPro(Game& g);

// Which card (position 1 to N in the computer's hand) each level gives away.
int AmateurDiscard(Game& g);
int ProfessionalDiscard(Game& g);

}  // namespace tesva
