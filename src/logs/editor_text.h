// The text form of the log editor: a file's bytes as lines and back, the DOS Cyrillic conversion, and
// the screen character of every byte value, chosen so that each byte survives a text control unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// The lines of a text file: a line ends at LF, and a CR right before that LF belongs to the line end.
// Every other byte, a lone CR and Ctrl+Z included, stays in its line. A last line without LF counts
// when it is not empty.
std::vector<std::string> SplitEditorLines(std::string_view bytes);
// Every line followed by CR LF, the last one included.
std::string JoinEditorLines(const std::vector<std::string>& lines);

// Code page 866 to Windows-1251 for the 64 basic Cyrillic letters: bytes 0x80..0xAF gain 0x40 and
// bytes 0xE0..0xEF gain 0x10; every other byte (Ё and ё, the pseudo-graphics) stays as it is.
std::string Dos866ToWin1251(std::string_view text);

// The character that shows a Windows-1251 byte in the editor. Control bytes other than Tab are shown
// as their control pictures (U+2400..U+241F, U+2421 for 0x7F) and the undefined byte 0x98 as U+FFFD,
// because a text control would hide them, turn a CR into a line break or drop them.
char16_t EditorChar(unsigned char byte);
// The byte of a character of the editor: the inverse of EditorChar, plain control characters and
// U+0098 included. Returns -1 for a character that Windows-1251 lacks.
int EditorByte(char32_t ch);

} // namespace zelk
