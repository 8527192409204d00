// import's reader: a document read through nlohmann's SAX interface, each
// value checked where it is read and put into the values, so that the first
// fault in reading order is the one named.
#include <set>
#include <utility>
#include <vector>

#include "document.h"

namespace {

const char FormatKey[] = "format";

// What a container of the document is to the reader.
enum Role {
  DocumentObject,  // the document, whose keys name values and lists
  WordArray,       // the run of values of a row outside the lists (smallValues)
  ListArray,       // a list of entries
  EntryObject,     // an entry of a list
  Ignored          // a container where a value was due, already judged
};

// An open container, at place: in an object the last key read and every
// key, in an array the index of the next element; the values of a run of
// words or of an entry, checked when it closes.
struct Level {
  Role role;
  bool array;
  std::string place;
  int row;                // WordArray: its row of GameValues
  const EntryList* list;  // ListArray, EntryObject
  std::string key;
  std::set<std::string> keys;
  std::size_t next;
  std::vector<std::pair<std::string, Scalar>> values;  // with their places, or keys in an entry
  std::string twice;  // EntryObject: the first key given twice, named once its number is known
};

// The row of GameValues outside the lists that key names, or -1.
int RowNamed(const std::string& key) {
  for (int row = 0; row < FirstListedRow; ++row)
    if (key == GameValues[row].key) return row;
  return -1;
}

// " (KEY?)" for the key of known near key, or "".
std::string Hint(const std::string& key, const std::vector<std::string>& known) {
  const std::string near = NearestKey(key, known);
  return near.empty() ? "" : " (" + near + "?)";
}

const EntryList* ListNamed(const std::string& key) {
  for (const EntryList& list : EntryLists)
    if (key == list.key) return &list;
  return nullptr;
}

class Reader : public ScalarSax {
public:
  Reader(const GameStateData& original, GameStateData& edited)
      : original_(original), edited_(edited) {}
  bool start_object(std::size_t /*size*/) override { return Open(false); }
  bool start_array(std::size_t /*size*/) override { return Open(true); }
  bool key(string_t& key) override {
    Level& level = levels_.back();
    level.key = key;
    const bool twice = !level.keys.insert(key).second;
    // In an entry, named with the entry's number, known when it closes.
    if (twice && level.role == EntryObject && level.twice.empty()) level.twice = key;
    if (twice && level.role != EntryObject) Refuse(Place(), "given twice");
    if (level.role == DocumentObject && key != FormatKey && RowNamed(key) < 0 && !ListNamed(key))
      Refuse(key, "unknown key" + Hint(key, DocumentKeys()));
    return true;
  }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }
  bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                   const Json::exception& error) override {
    throw error;
  }

private:
  // The place of what comes next in the innermost container, as in "units[0].level".
  std::string Place() const {
    const Level& level = levels_.back();
    if (level.array) return level.place + "[" + std::to_string(level.next) + "]";
    return level.place.empty() ? level.key : level.place + "." + level.key;
  }

  // A value read: judged now, or kept until its run of words or its entry closes.
  bool Value(const Scalar& scalar) override {
    if (levels_.empty()) Refuse("the document", "must be a JSON object");
    Level& level = levels_.back();
    if (level.role == DocumentObject) TopValue(level.key, scalar);
    if (level.role == WordArray) level.values.emplace_back(Place(), scalar);
    if (level.role == EntryObject) level.values.emplace_back(level.key, scalar);
    if (level.role == ListArray)
      Refuse(Place(), std::string("must be an object with \"") + level.list->idKey + "\"");
    if (level.array) ++level.next;
    return true;
  }

  // A value of the document itself: the format, or a value outside the lists.
  void TopValue(const std::string& key, const Scalar& scalar) {
    const int row = RowNamed(key);
    if (key == FormatKey) {
      if (scalar.kind != Scalar::Other || scalar.text != DocumentFormat)
        Refuse(key, std::string("must be \"") + DocumentFormat + "\"");
    } else if (row < 0) {
      Refuse(key, "must be an array");  // a list
    } else if (GameValues[row].count > 1) {
      Refuse(key, "must be an array of three numbers");
    } else {
      ValueWords(&edited_, row)[0] = Checked(scalar, key, row, ValueWords(&original_, row)[0]);
    }
  }

  bool Open(bool array) {
    if (levels_.empty()) {
      if (array) Refuse("the document", "must be a JSON object");
      levels_.push_back({DocumentObject, false, "", 0, nullptr, {}, {}, 0, {}, {}});
      return true;
    }
    Level& level = levels_.back();
    Level opened = {Ignored, array, Place(), 0, nullptr, {}, {}, 0, {}, {}};
    const int row = level.role == DocumentObject ? RowNamed(level.key) : -1;
    if (level.role == DocumentObject && ListNamed(level.key) && array) {
      opened.role = ListArray;
      opened.list = ListNamed(level.key);
    } else if (row >= 0 && GameValues[row].count > 1 && array) {
      opened.role = WordArray;
      opened.row = row;
    } else if (level.role == ListArray && !array) {
      opened.role = EntryObject;
      opened.list = level.list;
      ++level.next;
    } else {
      Value({Scalar::Other, false, ""});  // where a value of another kind is due
    }
    levels_.push_back(std::move(opened));
    return true;
  }

  bool Close() {
    const Level level = std::move(levels_.back());
    levels_.pop_back();
    if (level.role == WordArray) CloseWords(level);
    if (level.role == EntryObject) CloseEntry(level);
    return true;
  }

  // The run of values of a row outside the lists, whole.
  void CloseWords(const Level& level) {
    const int row = level.row;
    if (level.values.size() != static_cast<std::size_t>(GameValues[row].count))
      Refuse(level.place, "must be an array of three numbers");
    for (std::size_t n = 0; n < level.values.size(); ++n)
      ValueWords(&edited_, row)[n] = Checked(level.values[n].second, level.values[n].first, row,
                                             ValueWords(&original_, row)[n]);
  }

  // An entry of a list: its number, then its values in the order read.
  void CloseEntry(const Level& level) {
    const EntryList& list = *level.list;
    const int count = GameValues[list.firstRow].count;
    const Scalar* id = nullptr;
    for (const auto& value : level.values)
      if (value.first == list.idKey) id = &value.second;
    if (!id) Refuse(level.place, std::string("must be an object with \"") + list.idKey + "\"");
    const bool small = id->kind == Scalar::Whole && id->text[0] != '-' && id->text.size() <= 5;
    const int n = small ? std::stoi(id->text) : count;
    if (n >= count)
      Refuse(level.place + "." + list.idKey,
             "must be a number from 0 to " + std::to_string(count - 1));
    if (!seen_.insert({&list, n}).second)
      Refuse(level.place,
             "a second entry for " + std::string(list.idKey) + " " + std::to_string(n));
    // Named by its place and its own number: "units[1] (unit 3)".
    const std::string entry = level.place + " (" + list.idKey + " " + std::to_string(n) + ").";
    if (!level.twice.empty()) Refuse(entry + level.twice, "given twice");
    for (const auto& value : level.values) {
      const std::string& key = value.first;
      if (key == list.idKey || key == "name") continue;  // the name only tells the reader
      int row = list.firstRow;
      while (row < list.firstRow + list.rows && key != FieldKey(list, row)) ++row;
      const std::string place = entry + key;
      if (row == list.firstRow + list.rows)
        Refuse(place, "unknown key" + Hint(key, EntryKeys(list)));
      ValueWords(&edited_, row)[n] =
          Checked(value.second, place, row, ValueWords(&original_, row)[n]);
    }
  }

  const GameStateData& original_;
  GameStateData& edited_;
  std::vector<Level> levels_;
  std::set<std::pair<const EntryList*, int>> seen_;
};

}  // namespace

void ReadDocument(const std::string& text, const GameStateData& original, GameStateData& edited) {
  Reader reader(original, edited);
  Json::sax_parse(text, &reader);
}
