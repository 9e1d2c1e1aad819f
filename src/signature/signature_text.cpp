#include "signature/signature_text.h"

#include <algorithm>

namespace tonobild {

std::optional<std::string> amateurSignatureText(const QString& codeword)
{
    const bool latin1 = std::all_of(codeword.begin(), codeword.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (!latin1)
        return std::nullopt;
    return " A" + codeword.toLatin1().toStdString();
}

} // namespace tonobild
