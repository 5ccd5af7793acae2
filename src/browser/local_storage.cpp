#include "browser/local_storage.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>

namespace {

// The stored text in memory the caller frees, or null when there is none.
EM_JS(char*, ReadItem, (const char* key), {
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

EM_JS(int, WriteItem, (const char* key, const char* value), {
  try {
    window.localStorage.setItem(UTF8ToString(key), UTF8ToString(value));
    return 1;
  } catch (error) {
    return 0;
  }
});

EM_JS(void, RemoveItem, (const char* key), {
  try {
    window.localStorage.removeItem(UTF8ToString(key));
  } catch (error) {
  }
});

EM_JS(void, Warn, (const char* line), { console.warn(UTF8ToString(line)); });

}  // namespace

namespace tesva {

std::optional<std::string> ReadLocalStorage(const std::string& key) {
  std::unique_ptr<char, decltype(&std::free)> text(ReadItem(key.c_str()), &std::free);
  if (!text) return std::nullopt;
  return std::string(text.get());
}

bool WriteLocalStorage(const std::string& key, const std::string& value) {
  return WriteItem(key.c_str(), value.c_str()) != 0;
}

void RemoveLocalStorage(const std::string& key) {
  RemoveItem(key.c_str());
}

void WarnOnConsole(const std::string& line) {
  Warn(line.c_str());
}

}  // namespace tesva
