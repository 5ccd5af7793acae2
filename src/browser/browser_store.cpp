#include "browser/browser_store.h"

#include "browser/local_storage.h"

namespace {

// The storage key of an option: "Tesva (TT)/Secenekler/Seviye".
std::string StorageKey(std::string_view app, std::string_view section, std::string_view key) {
  return std::string(app) + '/' + std::string(section) + '/' + std::string(key);
}

}  // namespace

namespace tesva {

std::string BrowserStore::Read(std::string_view app, std::string_view section,
                               std::string_view key) {
  return ReadLocalStorage(StorageKey(app, section, key)).value_or("");
}

void BrowserStore::Write(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view value) {
  WriteLocalStorage(StorageKey(app, section, key), std::string(value));
}

}  // namespace tesva
