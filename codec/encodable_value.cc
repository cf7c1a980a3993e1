#include "codec/encodable_value.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace flutter {
namespace {

// Calls f with a typed pointer to the out-of-line content of alternative
// `index` (5 to 13), for the operations that treat all of them alike.
template <typename F>
void WithOutOfLine(uint8_t index, void* pointer, F&& f) {
  switch (index) {
    case 5: f(static_cast<std::string*>(pointer)); break;
    case 6: f(static_cast<std::vector<uint8_t>*>(pointer)); break;
    case 7: f(static_cast<std::vector<int32_t>*>(pointer)); break;
    case 8: f(static_cast<std::vector<int64_t>*>(pointer)); break;
    case 9: f(static_cast<std::vector<double>*>(pointer)); break;
    case 10: f(static_cast<EncodableList*>(pointer)); break;
    case 11: f(static_cast<EncodableMap*>(pointer)); break;
    case 12: f(static_cast<CustomEncodableValue*>(pointer)); break;
    case 13: f(static_cast<std::vector<float>*>(pointer)); break;
    default: break;
  }
}

bool IsOutOfLine(uint8_t index) { return index >= 5 && index <= 13; }

// The ordering as a three-way comparison: negative when a < b, positive when
// b < a, zero when neither. Containers compare each pair of elements once;
// asking `<` both ways at every level would take time exponential in the
// nesting depth, which a short message can make as deep as the reader
// allows.
int Compare(const EncodableValue& a, const EncodableValue& b);

template <typename T>
int CompareScalars(const T& a, const T& b) {
  if (a < b) return -1;
  if (b < a) return 1;
  return 0;  // equal, or unordered (NaN)
}

// Element by element; the first pair that is ordered decides, then a
// proper prefix is less.
template <typename T, typename ElementCompare>
int CompareSequences(const T& a, const T& b, ElementCompare compare) {
  auto x = a.begin();
  auto y = b.begin();
  for (; x != a.end() && y != b.end(); ++x, ++y) {
    if (int order = compare(*x, *y)) return order;
  }
  return CompareScalars(a.size(), b.size());
}

template <typename T>
int CompareVectors(const std::vector<T>& a, const std::vector<T>& b) {
  return CompareSequences(a, b, [](const T& x, const T& y) {
    return CompareScalars(x, y);
  });
}

int Compare(const EncodableValue& a, const EncodableValue& b) {
  if (a.index() != b.index()) {
    // Valueless (variant_npos) sorts before every alternative.
    if (a.valueless_by_exception()) return -1;
    if (b.valueless_by_exception()) return 1;
    return CompareScalars(a.index(), b.index());
  }
  switch (a.index()) {
    case 1: return CompareScalars(get<bool>(a), get<bool>(b));
    case 2: return CompareScalars(get<int32_t>(a), get<int32_t>(b));
    case 3: return CompareScalars(get<int64_t>(a), get<int64_t>(b));
    case 4: return CompareScalars(get<double>(a), get<double>(b));
    case 5: {
      // Bytes as unsigned, as char_traits<char> compares them.
      int order = get<std::string>(a).compare(get<std::string>(b));
      return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    case 6:
      return CompareVectors(get<std::vector<uint8_t>>(a),
                            get<std::vector<uint8_t>>(b));
    case 7:
      return CompareVectors(get<std::vector<int32_t>>(a),
                            get<std::vector<int32_t>>(b));
    case 8:
      return CompareVectors(get<std::vector<int64_t>>(a),
                            get<std::vector<int64_t>>(b));
    case 9:
      return CompareVectors(get<std::vector<double>>(a),
                            get<std::vector<double>>(b));
    case 10:
      return CompareSequences(get<EncodableList>(a), get<EncodableList>(b),
                              Compare);
    case 11:
      // Entries in key order: the key decides, then the value.
      return CompareSequences(
          get<EncodableMap>(a), get<EncodableMap>(b),
          [](const auto& x, const auto& y) {
            if (int order = Compare(x.first, y.first)) return order;
            return Compare(x.second, y.second);
          });
    case 12: {
      // By the address of the held value: a custom value equals only itself.
      const void* x = get_if<CustomEncodableValue>(&a);
      const void* y = get_if<CustomEncodableValue>(&b);
      std::less<const void*> less;
      return less(x, y) ? -1 : (less(y, x) ? 1 : 0);
    }
    case 13:
      return CompareVectors(get<std::vector<float>>(a),
                            get<std::vector<float>>(b));
    default: return 0;  // null, valueless
  }
}

}  // namespace

EncodableValue::EncodableValue(const EncodableValue& other)
    : index_(other.index_) {
  storage_ = other.storage_;
  if (IsOutOfLine(index_)) {
    storage_.pointer = nullptr;
    index_ = kValueless;  // until the copy exists, for the destructor
    CopyContentFrom(other);
  }
}

EncodableValue::EncodableValue(EncodableValue&& other) noexcept
    : index_(other.index_) {
  storage_ = other.storage_;
  if (index_ == 12) {
    // Custom values have no move of their own; the source keeps its content.
    storage_.pointer =
        new CustomEncodableValue(*static_cast<CustomEncodableValue*>(
            other.storage_.pointer));
  } else if (IsOutOfLine(index_)) {
    other.storage_.pointer = nullptr;  // reads as empty content
  }
}

EncodableValue& EncodableValue::operator=(const EncodableValue& other) {
  if (this == &other) return *this;
  if (index_ == other.index_ && IsOutOfLine(index_) && storage_.pointer &&
      other.storage_.pointer) {
    // Same alternative: replace the content in place.
    WithOutOfLine(index_, storage_.pointer, [&](auto* mine) {
      using T = std::remove_pointer_t<decltype(mine)>;
      *mine = *static_cast<const T*>(other.storage_.pointer);
    });
    return *this;
  }
  Destroy();
  index_ = kValueless;
  if (IsOutOfLine(other.index_)) {
    CopyContentFrom(other);
  } else {
    storage_ = other.storage_;
  }
  index_ = other.index_;
  return *this;
}

EncodableValue& EncodableValue::operator=(EncodableValue&& other) noexcept {
  if (this == &other) return *this;
  if (other.index_ == 12) {
    const EncodableValue& source = other;
    return *this = source;  // custom values are copied
  }
  // Take the content before destroying ours: `other` may live inside it.
  const uint8_t index = other.index_;
  const auto storage = other.storage_;
  if (IsOutOfLine(index)) other.storage_.pointer = nullptr;
  Destroy();
  index_ = index;
  storage_ = storage;
  return *this;
}

void EncodableValue::CopyContentFrom(const EncodableValue& other) {
  const uint8_t index = other.index_;
  void* copy = nullptr;
  if (other.storage_.pointer) {
    WithOutOfLine(index, other.storage_.pointer, [&](auto* theirs) {
      using T = std::remove_pointer_t<decltype(theirs)>;
      copy = new T(*theirs);
    });
  }
  storage_.pointer = copy;
  index_ = index;
}

void EncodableValue::Destroy() noexcept {
  if (IsOutOfLine(index_) && storage_.pointer) {
    WithOutOfLine(index_, storage_.pointer, [](auto* content) { delete content; });
  }
  storage_.pointer = nullptr;
}

bool operator<(const EncodableValue& a, const EncodableValue& b) {
  return Compare(a, b) < 0;
}

}  // namespace flutter
