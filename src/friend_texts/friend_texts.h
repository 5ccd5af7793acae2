// What a table says while the player plays a friend: the menu, the host's
// and the guest's dialogs, the pairing code's dialog and the messages of a
// game under way. The link's own faults and the address hints come from
// src/net (faults.h, address_reach.h); these are the rest. A table only
// shows them, so every table says the same.
#pragma once

#include <string>
#include <string_view>

namespace tesva::friend_texts {

// --- The menu ----------------------------------------------------------------

// The menu after the game's own, and the title of every box it opens.
inline constexpr std::string_view kMenu = "Arkadaşla Oyna";
inline constexpr std::string_view kHostItem = "Oyun Aç…";
inline constexpr std::string_view kJoinItem = "Oyuna Katıl…";
inline constexpr std::string_view kLeaveItem = "Bağlantıyı Kes";
// The friend game is a library loaded at the menu's first use.
inline constexpr std::string_view kLibraryMissing =
    "Arkadaşla oynamak için gereken kitaplık (tesva-friend) yüklenemedi.";

// --- Both dialogs --------------------------------------------------------------

inline constexpr std::string_view kCancel = "İptal";
inline constexpr std::string_view kPortLabel = "Port:";
inline constexpr std::string_view kBadPort = "Port 1 ile 65535 arasında bir sayı olmalı.";
inline constexpr std::string_view kHandshaking = "Bağlantı kuruldu; el sıkışılıyor…";

// --- Hosting -----------------------------------------------------------------

inline constexpr std::string_view kHostTitle = "Oyun Aç";
inline constexpr std::string_view kListen = "Dinle";
inline constexpr std::string_view kTellAddresses = "Arkadaşınıza bu adreslerden birini söyleyin:";
// The list's last line: the address every machine has.
inline constexpr std::string_view kLoopbackLine = "127.0.0.1 (yalnız bu bilgisayar)";
// One of this machine's addresses, with what reaches it ("" for no label).
std::string AddressLine(std::string_view address, std::string_view reachLabel);
std::string PortInUse(int port);
// The port could not be listened on for another reason, in the system's words.
std::string PortNotListened(int port, std::string_view why);
std::string Listening(int port);
// The connection failed before the game began; the host listens again.
std::string WaitingAgain(std::string_view why);

// --- Joining -----------------------------------------------------------------

inline constexpr std::string_view kJoinTitle = "Oyuna Katıl";
inline constexpr std::string_view kConnect = "Bağlan";
inline constexpr std::string_view kAddressLabel = "Adres:";
inline constexpr std::string_view kGamesNearby = "Yerel ağda açılan oyunlar:";
inline constexpr std::string_view kNoAddress = "Bir adres ya da bilgisayar adı yazın.";
// A game announced on the local network: "Ayşe — 192.168.1.5:4711".
std::string FoundGame(std::string_view name, std::string_view address, int port);
std::string ConnectingTo(std::string_view host, int port);
std::string NoAnswerWithin(int seconds);
std::string ConnectFailed(std::string_view why);

// --- The pairing code ----------------------------------------------------------

inline constexpr std::string_view kPairingTitle = "Eşleşme kodu";
inline constexpr std::string_view kCodesSame = "Kodlar aynı";
inline constexpr std::string_view kRefuse = "Reddet";
inline constexpr std::string_view kCompareCodes =
    "Arkadaşınızın ekranında da bu kod görünmeli: kodları telefonda ya da yan yana "
    "karşılaştırın. Kod aynı değilse araya biri girmiş olabilir; o zaman \"Reddet\" ile "
    "bağlantıyı kesin.";

// --- The game under way ----------------------------------------------------------

// The other side never finished the handshake.
std::string NoHandshakeWithin(int seconds);
inline constexpr std::string_view kRejoinGaveUp =
    "İki dakika içinde yeniden bağlanılamadı; oyun bırakıldı.";
// A new game offered to the friend, refused by them, offered by them (the
// game under way is left if accepted, unless it is over).
std::string OfferSent(std::string_view friendName);
std::string OfferRefused(std::string_view friendName);
std::string OfferCame(std::string_view friendName, bool gameOver);
inline constexpr std::string_view kAccept = "Kabul Et";

}  // namespace tesva::friend_texts
