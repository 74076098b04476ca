// printf-style formatting with the Windows conventions the program's format
// strings are written for: in a wide format %s is a wide string and %S a
// narrow one (the other way round in a narrow format), %ld is 32-bit, and
// %I64d, %I32d, %Id, %lld, %zd are understood. %n is ignored.
#pragma once

#include <cstdarg>
#include <string>

namespace tracelog {

// Appends the formatted text to out. Never throws except std::bad_alloc.
void AppendFormatV(std::u16string& out, const char16_t* format, va_list args);
void AppendFormatV(std::string& out, const char* format, va_list args);

// UTF-16 to UTF-8 and back; invalid sequences become U+FFFD.
std::string ToUtf8(const char16_t* text, size_t length);
std::u16string FromUtf8(const char* text, size_t length);

}  // namespace tracelog
