// Reading text fields from real files: line ends, commas, quotes, TAB,
// blanks, 0x1A, refills across the read buffer and failed refills.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/memory_files.h"
#include "files/platform_file.h"
#include "files/read_field.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "testing/process_state.h"
#include "testing/temp_dir.h"

namespace files {
namespace {

using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

class ReadFieldTest : public ::testing::Test {
 protected:
  void TearDown() override { testing_support::ResetProcessState(); }

  // Every field of `bytes`, read while the end-of-file test answers false.
  std::vector<std::string> ReadAll(const std::string& bytes, int64_t buffer_size = 128) {
    std::string name = dir_.File("input.txt");
    WriteFileBytes(name, bytes);
    EXPECT_EQ(OpenForInput(1, name, buffer_size), 0);
    std::vector<std::string> fields;
    while (!EndOfFile(1) && fields.size() < 10000) {
      std::string field;
      ReadField(1, &field);
      fields.push_back(field);
    }
    CloseAllFiles();
    return fields;
  }

  ScopedTempDir dir_;
};

using Fields = std::vector<std::string>;

TEST_F(ReadFieldTest, LineEndsEndFields) {
  EXPECT_EQ(ReadAll("abc\r\ndef\r\n"), (Fields{"abc", "def"}));
  EXPECT_EQ(ReadAll("abc\rdef"), (Fields{"abc", "def"}));
  // A lone LF ends a line as CR LF does, so Unix files keep their lines.
  EXPECT_EQ(ReadAll("abc\ndef\n"), (Fields{"abc", "def"}));
  EXPECT_EQ(ReadAll("abc\n\ndef"), (Fields{"abc", "", "def"}));
  // One more line end after the last one is one more, empty, field.
  EXPECT_EQ(ReadAll("abc\r\n\r\n"), (Fields{"abc", ""}));
}

TEST_F(ReadFieldTest, BlanksAndTabs) {
  // Leading spaces go, trailing spaces stay; TAB bytes are dropped wherever
  // they stand, and spaces after a TAB are kept.
  EXPECT_EQ(ReadAll("   abc  \r\n"), (Fields{"abc  "}));
  EXPECT_EQ(ReadAll("a\tb\r\n\t  c\r\n"), (Fields{"ab", "  c"}));
  EXPECT_EQ(ReadAll("     \r\n\r\nx\r\n"), (Fields{"", "", "x"}));
}

TEST_F(ReadFieldTest, CommaSplitsALine) {
  EXPECT_EQ(ReadAll("abc, def\r\n"), (Fields{"abc", "def"}));
  EXPECT_EQ(ReadAll("a,,b\r\n"), (Fields{"a", "", "b"}));
}

TEST_F(ReadFieldTest, QuotedFieldKeepsCommasAndLineEnds) {
  EXPECT_EQ(ReadAll("\"a,b\" x\r\n"), (Fields{"a,b", "x"}));
  EXPECT_EQ(ReadAll("\"one\r\ntwo\"\r\nthree\r\n"), (Fields{"one\r\ntwo", "three"}));
  EXPECT_EQ(ReadAll("\"abc\"\ndef\n"), (Fields{"abc", "def"}));
  // A quote that never closes runs to the end of the file, without an error.
  EXPECT_EQ(ReadAll("\"open, to the end"), (Fields{"open, to the end"}));
  // A quote inside a plain field is an ordinary byte.
  EXPECT_EQ(ReadAll("ab\"c\r\n"), (Fields{"ab\"c"}));
}

TEST_F(ReadFieldTest, EndOfTextByteEndsTheData) {
  EXPECT_EQ(ReadAll("abc\x1a" "def\r\n"), (Fields{"abc"}));
  EXPECT_EQ(ReadAll("abc\r\n\x1a"), (Fields{"abc"}));
  std::string name = dir_.File("eot.txt");
  WriteFileBytes(name, "   \x1a" "more");
  ASSERT_EQ(OpenForInput(1, name, 128), 0);
  EXPECT_FALSE(EndOfFile(1));
  std::string field = "stale";
  EXPECT_EQ(ReadField(1, &field), frame::kPastEndOfFile);
  EXPECT_EQ(field, "");
  EXPECT_TRUE(EndOfFile(1));
  EXPECT_EQ(ReadField(1, &field), frame::kPastEndOfFile);
}

TEST_F(ReadFieldTest, EmptyFileAndTrailingBlanks) {
  EXPECT_EQ(ReadAll(""), Fields{});
  std::string name = dir_.File("spaces.txt");
  WriteFileBytes(name, "abc\r\n   ");
  ASSERT_EQ(OpenForInput(1, name, 128), 0);
  std::string field;
  EXPECT_EQ(ReadField(1, &field), 0);
  EXPECT_FALSE(EndOfFile(1));
  EXPECT_EQ(ReadField(1, &field), frame::kPastEndOfFile);
  EXPECT_EQ(frame::ErrorWord(), 0x8000u + frame::kPastEndOfFile);
  EXPECT_TRUE(EndOfFile(1));
}

TEST_F(ReadFieldTest, LongFieldsSpanManyRefills) {
  std::string big(5000, 'x');
  for (int64_t size : {1, 2, 127, 128, 129, 65536}) {
    EXPECT_EQ(ReadAll(big + "\r\n" + "tail\r\n", size), (Fields{big, "tail"})) << size;
    // A CR LF split across two refills is still one line end.
    EXPECT_EQ(ReadAll(std::string(127, 'a') + "\r\nb", size),
              (Fields{std::string(127, 'a'), "b"}))
        << size;
  }
}

TEST_F(ReadFieldTest, FailedRefillIsReportedAndDropsThePartialField) {
  std::string name = dir_.File("input.txt");
  WriteFileBytes(name, std::string(300, 'a') + "\r\n");
  ASSERT_EQ(OpenForInput(1, name, 128), 0);
  InjectPlatformFault(PlatformCall::kReadAt, 0, frame::kDeviceError);
  std::string field;
  EXPECT_EQ(ReadField(1, &field), frame::kDeviceError);
  EXPECT_EQ(field, "");
  EXPECT_EQ(frame::LastErrorCode(), frame::kDeviceError);

  InjectPlatformFault(PlatformCall::kReadAt, 0, frame::kDeviceError);
  int error = 0;
  EXPECT_FALSE(EndOfFile(1, &error));
  EXPECT_EQ(error, frame::kDeviceError);
}

TEST_F(ReadFieldTest, WrongFileNumbers) {
  std::string field;
  EXPECT_EQ(ReadField(7, &field), frame::kBadFileNumber);
  int error = 0;
  EXPECT_FALSE(EndOfFile(7, &error));
  EXPECT_EQ(error, frame::kFileNotFound);
  ASSERT_EQ(OpenForRecords(2, dir_.File("out.SCH"), 430), 0);
  EXPECT_EQ(ReadField(2, &field), frame::kBadFileMode);
  EXPECT_FALSE(EndOfFile(2));
}

}  // namespace
}  // namespace files

namespace files {
namespace {

// Every field with what the reading did to it, over a read buffer of
// `buffer_size` bytes.
std::vector<std::pair<std::string, FieldNotes>> ReadWithNotes(const std::string& bytes,
                                                             int64_t buffer_size) {
  testing_support::ScopedTempDir dir;
  testing_support::WriteFileBytes(dir.File("in.txt"), bytes);
  EXPECT_EQ(OpenForInput(1, dir.File("in.txt"), buffer_size), 0);
  std::vector<std::pair<std::string, FieldNotes>> fields;
  while (!EndOfFile(1)) {
    std::string field;
    FieldNotes notes;
    if (ReadField(1, &field, &notes) != 0) break;
    fields.push_back({field, notes});
  }
  return fields;
}

// The reader tells where each field stood and what it did to it, at any
// read-buffer size, so that build and check need no second copy of the rules.
TEST(ReadFieldNotes, LinesQuotesCommasTabsAndMarks) {
  const std::string text =
      "\xEF\xBB\xBF[04/10/45]\r\na,b\n\"q\r\nr\" x\rt\tu\t\n\"open";
  for (int64_t buffer_size : {1, 2, 3, 128}) {
    auto fields = ReadWithNotes(text, buffer_size);
    ASSERT_EQ(fields.size(), 7u) << buffer_size;
    EXPECT_EQ(fields[0].first, "[04/10/45]");
    EXPECT_TRUE(fields[0].second.byte_order_mark);
    EXPECT_EQ(fields[1].first, "a");
    EXPECT_TRUE(fields[1].second.ended_by_comma);
    EXPECT_EQ(fields[2].second.first_line, 2);
    // A quoted field across a line end: lines 3 to 4, and text after it.
    EXPECT_EQ(fields[3].first, "q\r\nr");
    EXPECT_EQ(fields[3].second.first_line, 3);
    EXPECT_EQ(fields[3].second.last_line, 4);
    EXPECT_TRUE(fields[3].second.text_after_quote);
    EXPECT_EQ(fields[4].first, "x");
    EXPECT_EQ(fields[4].second.first_line, 4);
    EXPECT_EQ(fields[5].first, "tu");
    EXPECT_EQ(fields[5].second.tabs_dropped, 2);
    EXPECT_EQ(fields[5].second.first_line, 5);
    EXPECT_EQ(fields[6].first, "open");
    EXPECT_TRUE(fields[6].second.quote_left_open);
    EXPECT_EQ(fields[6].second.first_line, 6);
    CloseAllFiles();
  }
  // A mark cut short is the start of the first field, not lost.
  auto fields = ReadWithNotes("\xEF\xBBx\r\n", 1);
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_EQ(fields[0].first, "\xEF\xBBx");
  EXPECT_FALSE(fields[0].second.byte_order_mark);
  CloseAllFiles();
  frame::ResetErrorWord();
}

// Bytes held in memory are read as the same bytes in a file: the fields,
// their notes and the end of the data alike, at every read-buffer size.
TEST(ReadFieldNotes, MemoryInputReadsAsAFile) {
  const std::string text =
      "\xEF\xBB\xBF[04/10/45]\r\n  a\tb,c\r\n\"q\r\nr\" x\r" + std::string(300, 'z') + "\n\x1a" "rest";
  for (int64_t buffer_size : {1, 2, 7, 128, 65536}) {
    auto from_file = ReadWithNotes(text, buffer_size);
    EndOfTextNotes file_end = NotesOnEndOfText(1);
    CloseAllFiles();
    ASSERT_EQ(OpenMemoryInput(1, text, buffer_size), 0);
    std::vector<std::pair<std::string, FieldNotes>> from_memory;
    std::string field;
    FieldNotes notes;
    while (ReadNextField(1, &field, &notes) == 0) from_memory.push_back({field, notes});
    EndOfTextNotes memory_end = NotesOnEndOfText(1);
    CloseAllFiles();
    ASSERT_EQ(from_memory.size(), from_file.size()) << buffer_size;
    for (size_t i = 0; i < from_file.size(); ++i) {
      EXPECT_EQ(from_memory[i].first, from_file[i].first);
      EXPECT_EQ(from_memory[i].second.first_line, from_file[i].second.first_line);
      EXPECT_EQ(from_memory[i].second.last_line, from_file[i].second.last_line);
      EXPECT_EQ(from_memory[i].second.tabs_dropped, from_file[i].second.tabs_dropped);
      EXPECT_EQ(from_memory[i].second.byte_order_mark, from_file[i].second.byte_order_mark);
      EXPECT_EQ(from_memory[i].second.text_after_quote, from_file[i].second.text_after_quote);
    }
    EXPECT_EQ(memory_end.bytes_after, file_end.bytes_after);
    EXPECT_EQ(memory_end.line, file_end.line);
  }
  frame::ResetErrorWord();
}

TEST(ReadFieldNotes, CtrlZCountsWhatItLeavesUnread) {
  testing_support::ScopedTempDir dir;
  testing_support::WriteFileBytes(dir.File("in.txt"), "a\r\nb\r\n\x1a" "12345");
  ASSERT_EQ(OpenForInput(1, dir.File("in.txt"), 2), 0);
  std::string field;
  while (!EndOfFile(1)) ReadField(1, &field);
  EndOfTextNotes end = NotesOnEndOfText(1);
  EXPECT_TRUE(end.found);
  EXPECT_EQ(end.line, 3);
  EXPECT_EQ(end.bytes_after, 5);
  CloseAllFiles();
  frame::ResetErrorWord();
}

}  // namespace
}  // namespace files

namespace files {
namespace {

// One field as a reader met it: its bytes, its notes and the code.
struct ReadOne {
  std::string field;
  FieldNotes notes;
  int code = 0;
};

bool SameNotes(const FieldNotes& a, const FieldNotes& b) {
  return a.first_line == b.first_line && a.last_line == b.last_line && a.quoted == b.quoted &&
         a.quote_left_open == b.quote_left_open && a.text_after_quote == b.text_after_quote &&
         a.ended_by_comma == b.ended_by_comma && a.tabs_dropped == b.tabs_dropped &&
         a.end_of_text == b.end_of_text && a.byte_order_mark == b.byte_order_mark;
}

// Every read of `bytes` through ReadNextField (`view` false) or
// ReadNextFieldView, to the end of the data or the first failure.
std::vector<ReadOne> ReadEvery(std::string_view bytes, int64_t buffer_size, bool view) {
  std::vector<ReadOne> reads;
  EXPECT_EQ(OpenMemoryInput(1, bytes, buffer_size), 0);
  std::string storage;
  for (int i = 0; i < 1000; ++i) {
    ReadOne one;
    if (view) {
      std::string_view field;
      one.code = ReadNextFieldView(1, &field, &storage, &one.notes);
      one.field = std::string(field);
    } else {
      one.code = ReadNextField(1, &one.field, &one.notes);
    }
    reads.push_back(one);
    if (one.code != 0) break;
  }
  EndOfTextNotes end = NotesOnEndOfText(1);
  reads.push_back({std::to_string(end.line) + "/" + std::to_string(end.bytes_after), {}, 0});
  CloseAllFiles();
  frame::ResetErrorWord();
  return reads;
}

TEST(ReadNextFieldView, TellsWhatReadNextFieldTellsWhereverTheBufferEnds) {
  const std::string kTexts[] = {
      "[04/10/45]\r\n45nnewyo 45nstlou DH\r\n   45npitts 45nchica\r\n",
      "a,b,,c\n\nd\re\r\r\nf",
      "first\r\n  \"quoted, \r\n across\" tail\r\nx\ty\r\n\"open",
      "\xEF\xBB\xBFmarked\r\nnext\r\n   \r\nend\x1A after",
      "one\r\n\r\n\x1A",
      "lone CR\rthen LF\n\rboth\r\n" + std::string(40, 'z') + "\r\n" + std::string(3, ' '),
      "   leading\r\n,\r\n\x01\x02 control\r\n\"q\"\r\n\"q\",r\r\n\"q\"\n\ns\r\n",
  };
  for (const std::string& text : kTexts) {
    for (int64_t size : {1, 2, 7, 16, 17, 31, 128, 65536}) {
      const std::vector<ReadOne> plain = ReadEvery(text, size, false);
      const std::vector<ReadOne> viewed = ReadEvery(text, size, true);
      ASSERT_EQ(plain.size(), viewed.size()) << text << " / " << size;
      for (size_t i = 0; i < plain.size(); ++i) {
        EXPECT_EQ(plain[i].field, viewed[i].field) << text << " / " << size << " read " << i;
        EXPECT_EQ(plain[i].code, viewed[i].code) << text << " / " << size << " read " << i;
        EXPECT_TRUE(SameNotes(plain[i].notes, viewed[i].notes))
            << text << " / " << size << " read " << i;
      }
    }
  }
}

TEST(ReadNextFieldView, APlainLineIsHandedOnWhereItStands) {
  const std::string text = "[04/10/45]\r\n45nnewyo 45nstlou\r\n";
  ASSERT_EQ(OpenMemoryInput(1, text, 128), 0);
  std::string storage;
  std::string_view field;
  FieldNotes notes;
  ASSERT_EQ(ReadNextFieldView(1, &field, &storage, &notes), 0);  // the first: looked at for marks
  EXPECT_EQ(field, "[04/10/45]");
  ASSERT_EQ(ReadNextFieldView(1, &field, &storage, &notes), 0);
  EXPECT_EQ(field, "45nnewyo 45nstlou");
  EXPECT_EQ(notes.first_line, 2);
  EXPECT_NE(field.data(), storage.data());  // not copied
  EXPECT_EQ(ReadNextFieldView(1, &field, &storage, &notes), frame::kPastEndOfFile);
  CloseAllFiles();
}

}  // namespace
}  // namespace files
