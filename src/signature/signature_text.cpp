#include "signature/signature_text.h"

#include <algorithm>

namespace tonobild {

namespace {

const std::string kAmateurPrefix = " A"; // the start of the text: a space and the class letter

} // namespace

std::optional<std::string> amateurSignatureText(const QString& codeword)
{
    const bool latin1 = std::all_of(codeword.begin(), codeword.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (!latin1)
        return std::nullopt;
    return kAmateurPrefix + codeword.toLatin1().toStdString();
}

int readableCodewordLength(int longestSignature)
{
    return std::max(0, longestSignature - static_cast<int>(kAmateurPrefix.size()));
}

QString transmissionSizeName(int width, int height, int columnStep)
{
    return QStringLiteral("%1 x %2%3").arg(width).arg(height).arg(columnStep == 2 ? QStringLiteral(" with \"Half X\"") : QString());
}

QString codewordCapacityNote(const QString& codeword, int longestSignature, const QString& resolution)
{
    const int readable = readableCodewordLength(longestSignature);
    QString note = QStringLiteral("At %1 a receiver reads back %2 characters of the codeword.").arg(resolution).arg(readable);
    if (codeword.size() > readable)
        note += QStringLiteral(" This one has %1: \"%2\" will be cut.").arg(codeword.size()).arg(codeword.mid(readable));
    return note;
}

} // namespace tonobild
