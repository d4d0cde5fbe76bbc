// The soundness of a built schedule file's bytes, apart from the builds
// that make them, so that the in-memory fuzzer links no more than it tests.
#include <string.h>

#include <bitset>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "files/read_field.h"
#include "fuzz/schedule_fuzz_check.h"
#include "schedule/schedule_record.h"

namespace fuzz {
namespace {

using schedule::kRecordLength;

constexpr char kQuote = '"';
constexpr char kTab = '\t';
// The bytes a plain field never holds: only a quoted field carries them
// into a record.
constexpr std::string_view kFieldEnders = files::kPlainFieldBreakers;

// The date field and the three fields of each game slot, as offsets and
// widths within a date record.
struct FieldSpan {
  size_t offset;
  size_t width;
};

std::vector<FieldSpan> DateRecordFields() {
  std::vector<FieldSpan> fields{{2, schedule::kDateWidth}};
  for (size_t slot = 0; slot < schedule::kSlotsPerRecord; ++slot) {
    size_t start = 10 + slot * sizeof(schedule::GameSlot);
    fields.push_back({start, schedule::kNameWidth});
    fields.push_back({start + schedule::kNameWidth, schedule::kNameWidth});
    fields.push_back({start + 2 * schedule::kNameWidth, schedule::kOptionsWidth});
  }
  return fields;
}

std::string RightTrimmed(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

std::string WithoutTabs(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (c != kTab) kept.push_back(c);
  }
  return kept;
}

}  // namespace

std::string CheckScheduleBytes(std::string_view bytes, int records, std::string_view input) {
  if (records < 1) return "no header record was written";
  if (bytes.size() != static_cast<size_t>(records) * kRecordLength) {
    return "file of " + std::to_string(bytes.size()) + " bytes for " + std::to_string(records) +
           " records";
  }
  if (bytes.substr(0, kRecordLength) != "D" + std::string(kRecordLength - 1, ' ')) {
    return "header record is not \"D\" and spaces";
  }

  std::bitset<256> present;
  for (char c : input) present.set(static_cast<unsigned char>(c));
  const bool quoted = input.find(kQuote) != std::string_view::npos;
  const std::string untabbed = WithoutTabs(input);
  size_t date_lines = 0;
  for (char c : input) date_lines += c == '[' ? 1 : 0;
  if (static_cast<size_t>(records - 1) > date_lines) {
    return std::to_string(records - 1) + " date records from " + std::to_string(date_lines) +
           " \"[\" bytes";
  }

  // The bytes a record may not hold, as a table read without a comparison
  // a byte: the fuzzer traces every comparison, and a record has 428 bytes.
  uint8_t refused[256] = {};
  for (int c = 0; c < 256; ++c) {
    refused[c] = static_cast<uint8_t>(
        !present.test(static_cast<size_t>(c)) ||
        (!quoted && kFieldEnders.find(static_cast<char>(c)) != std::string_view::npos));
  }
  refused[static_cast<uint8_t>(' ')] = 0;

  static const std::vector<FieldSpan> kFields = DateRecordFields();
  std::string_view previous_date;
  for (int r = 1; r < records; ++r) {
    std::string_view record = bytes.substr(static_cast<size_t>(r) * kRecordLength, kRecordLength);
    auto where = [r] { return "record " + std::to_string(r + 1); };
    if (record.substr(0, 2) != "  ") return where() + ": kind is not two spaces";
    std::string_view date = record.substr(2, schedule::kDateWidth);
    if (date == previous_date) return where() + ": repeats the date of the record before";
    previous_date = date;
    uint8_t any_refused = 0;
    for (size_t i = 2; i < record.size(); ++i) any_refused |= refused[static_cast<uint8_t>(record[i])];
    for (size_t i = 2; any_refused != 0 && i < record.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(record[i]);
      if (c == ' ') continue;
      if (!present.test(c)) return where() + ": byte " + std::to_string(c) + " is not in the input";
      if (!quoted && kFieldEnders.find(static_cast<char>(c)) != std::string_view::npos) {
        return where() + ": byte " + std::to_string(c) + " with no quoted field in the input";
      }
    }
    // Every field is a run of one line's bytes: the date follows its
    // bracket. A plain field loses its TABs, a quoted one keeps them.
    for (size_t f = 0; f < kFields.size(); ++f) {
      const FieldSpan& span = kFields[f];
      // A blank slot's three fields hold nothing to find.
      if (span.offset > 2 && (f - 1) % 3 == 0) {
        schedule::GameSlot slot;
        std::memcpy(&slot, record.data() + span.offset, sizeof slot);
        if (schedule::IsBlankSlot(slot)) {
          f += 2;
          continue;
        }
      }
      std::string text = RightTrimmed(record.substr(span.offset, span.width));
      if (span.offset == 2) text = "[" + text;
      if (text.empty()) continue;
      bool has_tab = text.find(kTab) != std::string::npos;
      std::string_view source = has_tab ? input : std::string_view(untabbed);
      // memmem: the fuzzers ask this of every field of every input.
      if (memmem(source.data(), source.size(), text.data(), text.size()) == nullptr) {
        return where() + ": field at byte " + std::to_string(span.offset) +
               " is not a run of the input";
      }
    }
  }
  return "";
}

}  // namespace fuzz
