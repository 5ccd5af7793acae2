#include "net/faults.h"

#include <array>
#include <utility>

namespace tesva::net {
namespace {

struct FaultText {
  Fault fault;
  std::string_view name;
  std::string_view text;
};

constexpr std::array<FaultText, 19> kTexts = {{
    {Fault::kLost, "kLost", "Bağlantı koptu."},
    {Fault::kSilent, "kSilent", "Karşı taraftan 20 saniyedir haber yok."},
    {Fault::kFlood, "kFlood", "Karşı taraf çok sık mesaj gönderiyor."},
    {Fault::kLeft, "kLeft", "Karşı taraf oyundan ayrıldı."},
    {Fault::kFrame, "kFrame", "Karşı taraf bozuk bir mesaj gönderdi"},
    {Fault::kTampered, "kTampered",
     "Bağlantıdan gelen bir mesaj değiştirilmiş, kaybolmuş ya da tekrarlanmış."},
    {Fault::kNotTesva, "kNotTesva", "Karşı taraftaki program Tesva değil."},
    {Fault::kVersion, "kVersion", "Karşı taraftaki program"},
    {Fault::kCommitment, "kCommitment",
     "Karşı tarafın anahtarı önceden bildirdiği anahtar değil; araya biri girmiş olabilir."},
    {Fault::kBadKey, "kBadKey", "Karşı tarafın anahtarı geçersiz."},
    {Fault::kBadMessage, "kBadMessage", "Karşı taraf bozuk bir mesaj gönderdi."},
    {Fault::kUnexpected, "kUnexpected", "Karşı taraf sırası olmayan bir mesaj gönderdi."},
    {Fault::kWrongHand, "kWrongHand", "Karşı taraf başka bir ele ait bir mesaj gönderdi."},
    {Fault::kOutOfTurn, "kOutOfTurn", "Karşı taraf sırası gelmeden kağıt oynadı."},
    {Fault::kNotHeld, "kNotHeld", "Karşı taraf elinde olmayan bir kağıt oynadı."},
    {Fault::kDeal, "kDeal", "Dağıtım denetimi başarısız"},
    {Fault::kNoReveal, "kNoReveal",
     "Karşı taraf anahtarını açmadan ayrıldı; bu elin kağıtları denetlenemedi."},
    {Fault::kResume, "kResume",
     "Yeniden bağlanan taraf bu oyunun oyuncusu olduğunu kanıtlayamadı."},
    {Fault::kMismatch, "kMismatch",
     "Bu elin sonucu iki programda farklı hesaplandı; oyun, iki ayrı skorla sürmemesi için "
     "burada bitirildi."},
}};

const FaultText& Entry(Fault fault) {
  for (const auto& entry : kTexts) {
    if (entry.fault == fault) return entry;
  }
  return kTexts[0];
}

}  // namespace

Failure MakeFailure(Fault fault, std::string_view detail) {
  std::string text(Entry(fault).text);
  switch (fault) {
    case Fault::kFrame:
    case Fault::kDeal:
      // "…: <what>." The detail names what was wrong.
      text += detail.empty() ? std::string(".") : ": " + std::string(detail) + ".";
      break;
    case Fault::kVersion:
      text += " " + std::string(detail);
      break;
    default:
      break;
  }
  return {fault, std::move(text)};
}

std::string_view FaultName(Fault fault) {
  return Entry(fault).name;
}

}  // namespace tesva::net
