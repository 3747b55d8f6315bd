#pragma once

#include <QString>

// The desktop's keyring (the Secret Service, through QtKeychain): one entry per road, under
// the service name "bremo". Each call waits for the keyring's answer in a local event loop.
// QtKeychain and D-Bus live in the bremo-keyring module beside the program, loaded at the first
// call, so that a window or a script that never needs a key never loads them.
namespace Keyring {

enum class Answer
{
    Done,
    NoKeyring, // no keyring answers on the session bus (or its module is not there)
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

struct Backend
{
    Result (*read)(const QString &entry) = nullptr;
    Result (*write)(const QString &entry, const QString &secret) = nullptr;
};

inline constexpr char ModulePath[] = "settings/bremo-keyring";
inline constexpr char BackendEntryName[] = "BremoKeyringBackend";
using BackendEntry = const Backend *(*)();

// A program that links the backend in (a test) names it before the first call.
void UseBackend(const Backend &backend);

} // namespace Keyring
