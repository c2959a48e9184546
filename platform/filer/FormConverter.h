// Form files: the binary component stream ("TPF0"), the same behind the
// 16-bit resource header (byte 255, type 10, upper-case class name, zero
// byte, flags 0x1030, 32-bit size), and the text form. Conversions raise
// EReadError (binary input, with the byte offset) or EParserError (text
// input, with the line).
#pragma once

#include <string>
#include <string_view>

#include "platform/Streams.h"

namespace vesper {

enum class TFormFileKind { fkBinary, fkResource, fkText };

// From the first bytes: "TPF0" binary, byte 255 resource header, else text.
TFormFileKind DetectFormFileKind(std::string_view data);

// `consumed`, when given, receives the number of input bytes the object used.
std::string ObjectBinaryToText(std::string_view binary, size_t* consumed = nullptr);
std::string ObjectTextToBinary(std::string_view text);
std::string ObjectResourceToText(std::string_view resource);
std::string ObjectTextToResource(std::string_view text);

// The size of the 16-bit resource header at the start of `data`.
size_t ReadResHeader(std::string_view data);
// The resource header for a binary object (named by its upper-cased class name).
std::string MakeResHeader(std::string_view binary);

// Stream forms: read from the input's position, write at the output's.
void ObjectBinaryToText(TStream& input, TStream& output);
void ObjectTextToBinary(TStream& input, TStream& output);
void ObjectResourceToText(TStream& input, TStream& output);
void ObjectTextToResource(TStream& input, TStream& output);

// Any form file to canonical text, or to binary with or without the header.
std::string FormFileToText(std::string_view data);
std::string FormFileToBinary(std::string_view data, bool resourceHeader);

}  // namespace vesper
