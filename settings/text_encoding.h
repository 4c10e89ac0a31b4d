// Text encodings of report files: the counter writes its reports in the Windows-1252 code page,
// an edited report may be UTF-8 (with or without a byte-order mark). Everything inside the
// program is UTF-8; these functions convert at the file boundary.
#pragma once

#include <string>
#include <string_view>

namespace velkor {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// Every byte as its Windows-1252 character, in UTF-8. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number.
std::string windows1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252. A character the code page cannot show, and a byte that is not part of a
// well-formed UTF-8 sequence, become "?".
std::string utf8ToWindows1252(std::string_view utf8);

// The text of a report file as UTF-8: a leading UTF-8 byte-order mark is dropped; the rest is
// taken as UTF-8 when it is well-formed UTF-8, else as Windows-1252. Pure ASCII is both.
std::string decodeReportText(std::string_view bytes);

}  // namespace velkor
