#pragma once

#include <QString>

// The desktop's keyring (the Secret Service, through QtKeychain): one entry per road, under
// the service name "bremo". Each call waits for the keyring's answer in a local event loop.
namespace Keyring {

enum class Answer
{
    Done,
    NoKeyring, // no keyring answers on the session bus
    Failed     // it answered with a refusal (locked, access denied, ...)
};

struct Result
{
    Answer answer = Answer::Done;
    QString secret; // what was read; empty for an entry that is not there
    QString reason; // the keyring's words, for the log: never a secret
};

Result Read(const QString &entry);
// An empty secret removes the entry.
Result Write(const QString &entry, const QString &secret);

} // namespace Keyring
