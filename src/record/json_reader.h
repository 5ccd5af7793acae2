// Reading values out of a JSON document that nobody vouches for: every
// getter checks the type and the range and, on the first fault, remembers
// one line saying what was wrong and returns a harmless value, so that a
// reader can go on without a test after every call and report once.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace tesva::record {

bool IsValidUtf8(std::string_view text);
// The number of characters of a valid UTF-8 text.
std::size_t CharacterCount(std::string_view text);

class JsonReader {
 public:
  using json = nlohmann::json;

  // The bytes as a JSON document; on a syntax error, a failed reader.
  json Parse(std::string_view bytes) {
    json doc = json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (doc.is_discarded()) Fail("not JSON, or cut short");
    return doc;
  }

  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  void Fail(const std::string& what) {
    if (error_.empty()) error_ = what;
  }

  const json& Member(const json& object, std::string_view key) {
    static const json kNothing;
    if (!Ok()) return kNothing;
    if (!object.is_object())
      return Fail("\"" + std::string(key) + "\" lies in no object"), kNothing;
    auto it = object.find(key);
    if (it == object.end()) return Fail("\"" + std::string(key) + "\" is missing"), kNothing;
    return *it;
  }

  const json& Object(const json& object, std::string_view key) {
    static const json kEmpty = json::object();
    const json& value = Member(object, key);
    if (Ok() && !value.is_object()) Fail("\"" + std::string(key) + "\" is not an object");
    return Ok() ? value : kEmpty;
  }

  // An array of exactly `size` items.
  const json& Array(const json& object, std::string_view key, std::size_t size) {
    const json& value = ArrayUpTo(object, key, size);
    if (Ok() && value.size() != size) {
      Fail("\"" + std::string(key) + "\" does not hold " + std::to_string(size) + " items");
    }
    return Ok() ? value : Empty();
  }

  const json& ArrayUpTo(const json& object, std::string_view key, std::size_t most) {
    const json& value = Member(object, key);
    if (Ok() && !value.is_array()) Fail("\"" + std::string(key) + "\" is not a list");
    if (Ok() && value.size() > most) Fail("\"" + std::string(key) + "\" holds too many items");
    return Ok() ? value : Empty();
  }

  bool Bool(const json& object, std::string_view key) {
    const json& value = Member(object, key);
    if (Ok() && !value.is_boolean()) Fail("\"" + std::string(key) + "\" is not true or false");
    return Ok() && value.get<bool>();
  }

  std::int64_t Int(const json& object, std::string_view key, std::int64_t low, std::int64_t high) {
    const json& value = Member(object, key);
    auto number = IntValue(value, low, high);
    if (!Ok() && error_ == kOutOfRange) error_ = "\"" + std::string(key) + "\" " + kOutOfRange;
    return number;
  }

  std::int64_t IntValue(const json& value, std::int64_t low, std::int64_t high) {
    if (!Ok()) return low;
    if (!value.is_number_integer()) return Fail(kOutOfRange), low;
    // An unsigned value above the signed range is out of range too.
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > std::uint64_t(high)) {
      return Fail(kOutOfRange), low;
    }
    auto number = value.get<std::int64_t>();
    if (number < low || number > high) return Fail(kOutOfRange), low;
    return number;
  }

  std::string Text(const json& object, std::string_view key, std::size_t maxCharacters) {
    const json& value = Member(object, key);
    auto text = TextValue(value, maxCharacters);
    if (!Ok() && error_ == kBadText) error_ = "\"" + std::string(key) + "\" " + kBadText;
    return text;
  }

  std::string TextValue(const json& value, std::size_t maxCharacters) {
    if (!Ok()) return {};
    if (!value.is_string()) return Fail(kBadText), std::string();
    const auto& text = value.get_ref<const std::string&>();
    if (!IsValidUtf8(text) || CharacterCount(text) > maxCharacters) {
      return Fail(kBadText), std::string();
    }
    return text;
  }

 private:
  static const json& Empty() {
    static const json kEmpty = json::array();
    return kEmpty;
  }
  static constexpr const char* kOutOfRange = "is not a whole number within its range";
  static constexpr const char* kBadText = "is not a text of the length allowed";
  std::string error_;
};

}  // namespace tesva::record
