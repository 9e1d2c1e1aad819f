// The signature text that "Set Signature" makes of a personal codeword.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace tonobild {

// A space, the class letter "A" (Amateur) and the codeword exactly as typed, as
// single-byte (Latin-1) text; nothing when the codeword holds a character
// outside Latin-1, which the signature cells cannot carry.
std::optional<std::string> amateurSignatureText(const QString& codeword);

// How many characters of a codeword a receiver reads back when the signature
// text may be longestSignature characters long (see longestReadableSignature).
int readableCodewordLength(int longestSignature);

// A transmission's size as the capacity note names it: "160 x 120", or
// "160 x 120 with \"Half X\"" at column step 2.
QString transmissionSizeName(int width, int height, int columnStep);

// The note that tells how much of the codeword a receiver reads back at the
// resolution named (for example "160 x 120"), and which characters will be cut.
QString codewordCapacityNote(const QString& codeword, int longestSignature, const QString& resolution);

} // namespace tonobild
