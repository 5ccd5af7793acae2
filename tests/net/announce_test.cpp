// The local announcement and the friend port option: what a host sends is
// read back as sent, and anything else a network or a hand-edited store
// can hold is refused or falls back, never half taken.
#include <gtest/gtest.h>

#include <random>

#include "engine/engine.h"
#include "net/announce.h"
#include "net/friend_port.h"
#include "net/link.h"
#include "platform/memory.h"

namespace tesva::net {
namespace {

Bytes Raw(std::string_view name, std::uint16_t port = 45617,
          std::uint16_t version = kProtocolVersion, std::size_t declared = SIZE_MAX) {
  Bytes out(std::begin(kAnnounceMagic), std::end(kAnnounceMagic));
  ByteWriter writer(out);
  writer.U16(version);
  writer.U16(port);
  writer.U8(static_cast<std::uint8_t>(declared == SIZE_MAX ? name.size() : declared));
  writer.Put(ViewOf(name));
  return out;
}

std::string ErrorOf(const Bytes& datagram) {
  AnnounceRead read = ReadAnnouncement(datagram);
  EXPECT_FALSE(read.announcement.has_value());
  return read.error;
}

TEST(Announce, WhatIsSentIsReadBackWithTurkishLettersAndALongNameCutInWholeCharacters) {
  for (const Announcement& sent :
       {Announcement{45617, "Ayşe Gül"}, Announcement{1, ""},
        Announcement{65535, std::string(30, 'x')}, Announcement{2000, "ĞÜŞİÖÇğüşıöç€𝄞"}}) {
    AnnounceRead read = ReadAnnouncement(MakeAnnouncement(sent));
    ASSERT_TRUE(read.announcement) << read.error;
    EXPECT_EQ(*read.announcement, sent);
  }
  std::string name;
  for (int i = 0; i < 40; ++i) name += "ş";
  AnnounceRead read = ReadAnnouncement(MakeAnnouncement({45617, name}));
  ASSERT_TRUE(read.announcement) << read.error;
  EXPECT_EQ(read.announcement->name, name.substr(0, 2 * kMaxNameLength));
}

TEST(Announce, MalformedDatagramsAreRefusedWithTheirReason) {
  Bytes good = Raw("Ali");
  EXPECT_EQ(ErrorOf({}), "too short");
  EXPECT_EQ(ErrorOf(Bytes(good.begin(), good.begin() + kAnnounceHeader - 1)), "too short");
  EXPECT_EQ(ErrorOf(Bytes(kMaxAnnounce + 1, 'T')), "too long");
  Bytes magic = good;
  magic[3] = 'B';
  EXPECT_EQ(ErrorOf(magic), "not a Tesva announcement");
  EXPECT_EQ(ErrorOf(Raw("Ali", 45617, kProtocolVersion + 1)), "another protocol version");
  EXPECT_EQ(ErrorOf(Raw("Ali", 0)), "port 0");
  // The declared length and the datagram disagree, either way.
  EXPECT_EQ(ErrorOf(Raw("Ali", 45617, kProtocolVersion, 4)),
            "the name's length does not match the datagram");
  EXPECT_EQ(ErrorOf(Raw("Ali", 45617, kProtocolVersion, 2)),
            "the name's length does not match the datagram");
  EXPECT_EQ(ErrorOf(Raw(std::string(31, 'a'))), "the name is too long");
  using std::string_view;
  const string_view bads[] = {"\xff",
                              "a\x80",
                              "\xc0\xaf",
                              "\xe0\x80\xaf",
                              "\xed\xa0\x80",
                              "\xf4\x90\x80\x80",
                              "\xe2\x82",
                              "tab\there",
                              "del\x7f",
                              "\xc2\x85",
                              string_view("nul\0x", 5)};
  for (string_view bad : bads) {
    EXPECT_EQ(ErrorOf(Raw(bad)), "the name is not plain UTF-8") << bad;
  }
}

TEST(Announce, RandomBytesNeverCrashAndOnlyWellFormedOnesPass) {
  std::mt19937 random(16);
  Bytes good = Raw("Deniz");
  int accepted = 0;
  for (int i = 0; i < 20000; ++i) {
    Bytes datagram = good;
    // Flip a few bytes, or cut or grow the datagram.
    for (int flips = random() % 3; flips >= 0; --flips) {
      datagram[random() % datagram.size()] = static_cast<std::uint8_t>(random());
    }
    if (random() % 4 == 0) datagram.resize(random() % (kMaxAnnounce + 8), 'z');
    AnnounceRead read = ReadAnnouncement(datagram);
    if (!read.announcement) {
      EXPECT_FALSE(read.error.empty());
      continue;
    }
    ++accepted;
    // Whatever passes is exactly what a host would send for it.
    EXPECT_EQ(MakeAnnouncement(*read.announcement), datagram);
    EXPECT_NE(read.announcement->port, 0);
    EXPECT_TRUE(IsPlainUtf8(read.announcement->name));
  }
  EXPECT_GT(accepted, 0);
}

TEST(FriendPort, StoredValuesThatAreNoPortFallBackToTheDefault) {
  MemoryStore store;
  EXPECT_EQ(ReadFriendPort(store), kDefaultFriendPort);
  WriteFriendPort(store, 2000);
  EXPECT_EQ(ReadFriendPort(store), 2000);
  EXPECT_EQ(store.Read(kStoreApp, kStoreSection, kKeyFriendPort), "2000");
  for (const char* bad : {"", "0", "65536", "99999999999999999999", "-1", "+80", " 80", "80 ",
                          "080", "8o", "4e4", "0x50", "１２３"}) {
    store.Write(kStoreApp, kStoreSection, kKeyFriendPort, bad);
    EXPECT_EQ(ReadFriendPort(store), kDefaultFriendPort) << bad;
  }
  store.Write(kStoreApp, kStoreSection, kKeyFriendPort, "65535");
  EXPECT_EQ(ReadFriendPort(store), 65535);
  store.Write(kStoreApp, kStoreSection, kKeyFriendPort, "1");
  EXPECT_EQ(ReadFriendPort(store), 1);
}

}  // namespace
}  // namespace tesva::net
