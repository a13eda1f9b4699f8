#pragma once
// The engine's text is bytes in Windows-1252. These tables convert at every
// boundary to Unicode (painting, typed text, properties, the clipboard): our
// own table, so the result never depends on the machine's locale or codecs.
// The five bytes the code page leaves undefined map to the control characters
// of the same number, so that every byte survives a round trip.

#include <string>
#include <string_view>

char32_t ZuAnsiToUnicode(unsigned char byte);
// -1 when the character has no byte in the code page.
int ZuUnicodeToAnsi(char32_t c);

std::u32string ZuAnsiToUnicode(std::string_view bytes);
// Characters without a byte become '?'.
std::string ZuUnicodeToAnsi(std::u32string_view text);
