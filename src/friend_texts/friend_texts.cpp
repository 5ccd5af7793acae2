#include "friend_texts/friend_texts.h"

namespace tesva::friend_texts {

namespace {

std::string Port(std::string text, int port, std::string_view rest) {
  return text.append(std::to_string(port)).append(rest);
}

}  // namespace

std::string AddressLine(std::string_view address, std::string_view reachLabel) {
  std::string line(address);
  if (!reachLabel.empty()) line.append(" (").append(reachLabel).append(")");
  return line;
}

std::string PortInUse(int port) {
  return Port("Port ", port, " kullanımda; başka bir port seçin.");
}

std::string PortNotListened(int port, std::string_view why) {
  return Port("Port ", port, " dinlenemedi: ").append(why);
}

std::string Listening(int port) {
  return Port("Port ", port, " dinleniyor; arkadaşınız bekleniyor…");
}

std::string WaitingAgain(std::string_view why) {
  return std::string(why).append(" Yeniden bekleniyor…");
}

std::string FoundGame(std::string_view name, std::string_view address, int port) {
  return Port(std::string(name).append(" — ").append(address).append(":"), port, "");
}

std::string ConnectingTo(std::string_view host, int port) {
  return Port(std::string(host).append(":"), port, " adresine bağlanılıyor…");
}

std::string NoAnswerWithin(int seconds) {
  return std::to_string(seconds) + " saniye içinde yanıt gelmedi.";
}

std::string ConnectFailed(std::string_view why) {
  return std::string("Bağlanılamadı: ").append(why);
}

std::string NoHandshakeWithin(int seconds) {
  return "Karşı taraf " + std::to_string(seconds) + " saniye içinde yanıt vermedi.";
}

std::string OfferSent(std::string_view friendName) {
  return std::string("Yeni oyun öneriniz ")
      .append(friendName)
      .append(" adlı oyuncuya gönderildi; yanıtı bekleniyor.");
}

std::string OfferRefused(std::string_view friendName) {
  return std::string(friendName).append(" yeni oyunu istemedi; bu oyun sürüyor.");
}

std::string OfferCame(std::string_view friendName, bool gameOver) {
  std::string text = std::string(friendName).append(" yeni bir oyun öneriyor.");
  // Accepting mid-game gives up the game under way.
  if (!gameOver) text += " Kabul ederseniz bu oyun bırakılır ve yenisi başlar.";
  return text;
}

}  // namespace tesva::friend_texts
