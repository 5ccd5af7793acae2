#include "browser/browser_store.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>

namespace {

// The storage key of an option: "Tesva (TT)/Secenekler/Seviye".
std::string StorageKey(std::string_view app, std::string_view section, std::string_view key) {
  return std::string(app) + '/' + std::string(section) + '/' + std::string(key);
}

// The stored text in memory the caller frees, or null when there is none.
EM_JS(char*, ReadStorage, (const char* key), {
  try {
    const value = window.localStorage.getItem(UTF8ToString(key));
    if (value == null) return 0;
    const size = lengthBytesUTF8(value) + 1;
    const text = _malloc(size);
    stringToUTF8(value, text, size);
    return text;
  } catch (error) {
    return 0;
  }
});

EM_JS(void, WriteStorage, (const char* key, const char* value), {
  try {
    window.localStorage.setItem(UTF8ToString(key), UTF8ToString(value));
  } catch (error) {
  }
});

}  // namespace

namespace tesva {

std::string BrowserStore::Read(std::string_view app, std::string_view section,
                               std::string_view key) {
  std::unique_ptr<char, decltype(&std::free)> text(
      ReadStorage(StorageKey(app, section, key).c_str()), &std::free);
  return text ? std::string(text.get()) : std::string();
}

void BrowserStore::Write(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view value) {
  WriteStorage(StorageKey(app, section, key).c_str(), std::string(value).c_str());
}

}  // namespace tesva
