#pragma once
// The OEM code page (437) against the engine's Windows-1252 bytes, for files
// loaded and saved with OEM conversion. A character the other side lacks
// becomes '?'; bytes below 0x80 are the same on both sides.

#include <cstddef>

void ZuOemToAnsi(char* bytes, std::size_t size);
void ZuAnsiToOem(char* bytes, std::size_t size);
