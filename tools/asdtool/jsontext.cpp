#include "jsontext.h"

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace {

// The reader of a document through nlohmann's SAX interface: it builds the
// value as nlohmann's parser would and knows the place of each key it reads:
// the keys seen in each object open around it, and the index reached in each
// array.
struct Level {
  Json* value;       // the object or array being read
  std::size_t next;  // in an array: the index of the next element
  std::string key;   // in an object: the last key read
  std::set<std::string> keys;
};
class Reader : public nlohmann::json_sax<Json> {
public:
  explicit Reader(Json& root) : root_(root) {}
  bool null() override { return Put(nullptr); }
  bool boolean(bool value) override { return Put(value); }
  bool number_integer(number_integer_t value) override { return Put(value); }
  bool number_unsigned(number_unsigned_t value) override { return Put(value); }
  bool number_float(number_float_t value, const string_t& text) override {
    const std::size_t sign = text[0] == '-' ? 1 : 0;
    if (text.find_first_not_of("0123456789", sign) != std::string::npos) return Put(value);
    return Put(Json::binary(std::vector<std::uint8_t>(text.begin(), text.end())));
  }
  bool string(string_t& value) override { return Put(std::move(value)); }
  bool binary(binary_t& value) override { return Put(Json(value)); }
  bool start_object(std::size_t /*size*/) override { return Open(Json::object()); }
  bool key(string_t& key) override {
    Level& level = levels_.back();
    level.key = key;
    if (!level.keys.insert(key).second) Refuse(Place(), "given twice");
    return true;
  }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t /*size*/) override { return Open(Json::array()); }
  bool end_array() override { return Close(); }
  // Invalid JSON: nlohmann's own exception, which names the line and column.
  bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                   const Json::exception& error) override {
    throw error;
  }

private:
  // Puts value where the next one goes; true, as nlohmann's reader is to go on.
  bool Put(Json value) {
    Into(std::move(value));
    return true;
  }
  Json* Into(Json value) {
    if (levels_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    Level& level = levels_.back();
    if (!level.value->is_array()) return &((*level.value)[level.key] = std::move(value));
    ++level.next;
    level.value->push_back(std::move(value));
    return &level.value->back();
  }
  bool Open(Json value) {
    Json* opened = Into(std::move(value));
    levels_.push_back({opened, 0, {}, {}});
    return true;
  }
  bool Close() {
    levels_.pop_back();
    return true;
  }
  // The place of the last key read, as in "units[0].level".
  std::string Place() const {
    std::string place;
    for (const Level& level : levels_) {
      if (level.value->is_array())
        place += "[" + std::to_string(level.next - 1) + "]";
      else
        place += (place.empty() ? "" : ".") + level.key;
    }
    return place;
  }
  Json& root_;
  std::vector<Level> levels_;
};

}  // namespace

void Refuse(const std::string& place, const std::string& why) { throw Refusal{place + ": " + why}; }

Json ReadJson(const std::string& text) {
  Json value;
  Reader reader(value);
  Json::sax_parse(text, &reader);
  return value;
}
