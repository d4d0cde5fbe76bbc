// Text in the code page the Windows file API reads names in. A name that
// arrives as UTF-16 (the command line) or in the console's code page (a
// typed name) is converted here, once, with no best-fit look-alikes: a
// character the code page lacks becomes '?', which no file name may hold,
// so such a name is refused rather than naming another file ("Łodz.txt"
// must never open "Lodz.txt").
#ifndef ZELTO_FRAME_FILE_API_TEXT_WIN32_H_
#define ZELTO_FRAME_FILE_API_TEXT_WIN32_H_

#include <string>
#include <string_view>

namespace frame {

/// `wide` in the file API's code page (ANSI, or OEM when the process set the
/// file API so); false when the system could not convert it.
bool WideToFileApiText(std::wstring_view wide, std::string* text);

/// The code page the file API reads names in.
unsigned FileApiCodePage();

}  // namespace frame

#endif  // ZELTO_FRAME_FILE_API_TEXT_WIN32_H_
