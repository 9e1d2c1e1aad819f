// The commands of tonobild-cli. Each takes its own arguments (without the
// program and command names), prints what it did and answers the exit code.
#pragma once

#include <QStringList>

namespace tonobild::cli {

int encodeCommand(const QStringList& arguments);
int decodeCommand(const QStringList& arguments);
int conditionCommand(const QStringList& arguments);
int detectCommand(const QStringList& arguments);
int digitalEncodeCommand(const QStringList& arguments);
int digitalDecodeCommand(const QStringList& arguments);
int signatureCommand(const QStringList& arguments);
int playCommand(const QStringList& arguments);
int recordCommand(const QStringList& arguments);
int listenCommand(const QStringList& arguments);
int testCardsCommand(const QStringList& arguments);
int modesCommand(const QStringList& arguments);
int standardEncodeCommand(const QStringList& arguments);
int standardDecodeCommand(const QStringList& arguments);

// The arguments ask "encode" or "decode" for a standard slow-scan mode ("--standard", "--standard-mode").
bool asksForStandardMode(const QStringList& arguments);

} // namespace tonobild::cli
