#include "frame/file_api_text_win32.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace frame {

unsigned FileApiCodePage() { return AreFileApisANSI() ? GetACP() : GetOEMCP(); }

bool WideToFileApiText(std::wstring_view wide, std::string* text) {
  text->clear();
  if (wide.empty()) return true;
  const UINT code_page = FileApiCodePage();
  const int wide_length = static_cast<int>(wide.size());
  // UTF-7 and UTF-8 code pages (a system set so) take no flags and no
  // default character; they have every character, so no look-alike arises.
  const bool utf = code_page == CP_UTF7 || code_page == CP_UTF8;
  const DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* unmapped = utf ? nullptr : "?";
  const int length = WideCharToMultiByte(code_page, flags, wide.data(), wide_length, nullptr, 0,
                                         unmapped, nullptr);
  if (length <= 0) return false;
  text->resize(static_cast<size_t>(length));
  WideCharToMultiByte(code_page, flags, wide.data(), wide_length, text->data(), length, unmapped,
                      nullptr);
  return true;
}

}  // namespace frame
