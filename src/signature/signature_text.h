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

} // namespace tonobild
