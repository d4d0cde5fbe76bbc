#include "files/open_file_table.h"

#include <utility>

namespace files {
namespace {

// The open-file table itself: empty at start-up, newest entry at the head.
std::unique_ptr<FileEntry> table_head;

}  // namespace

FileEntry* TableHead() { return table_head.get(); }

FileEntry* FindEntry(int16_t number) {
  for (FileEntry* entry = table_head.get(); entry != nullptr; entry = entry->next.get()) {
    if (entry->number == number) return entry;
  }
  return nullptr;
}

void InsertEntry(std::unique_ptr<FileEntry> entry) {
  entry->next = std::move(table_head);
  table_head = std::move(entry);
}

std::unique_ptr<FileEntry> UnlinkEntry(int16_t number) {
  std::unique_ptr<FileEntry>* link = &table_head;
  while (*link && (*link)->number != number) link = &(*link)->next;
  if (!*link) return nullptr;
  std::unique_ptr<FileEntry> entry = std::move(*link);
  *link = std::move(entry->next);
  return entry;
}

std::unique_ptr<FileEntry> UnlinkHead() {
  if (!table_head) return nullptr;
  std::unique_ptr<FileEntry> entry = std::move(table_head);
  table_head = std::move(entry->next);
  return entry;
}

}  // namespace files
