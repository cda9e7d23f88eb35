#pragma once

#include <QByteArray>
#include <QString>

// OpenSSH's known_hosts, read and written as ssh does it: a server on a port
// other than 22 is named "[host]:port", so a key accepted for one port never
// stands for another. Hashed names (|1|salt|hash), comma lists, wildcards and
// negated patterns are understood; lines with a marker (@revoked,
// @cert-authority) are left to OpenSSH.
enum class KnownHostKey { Unknown, Matches, Changed };

// keyBlob is the key in SSH wire form (what the base64 field of a line holds).
KnownHostKey lookUpHostKey(const QString &file, const QString &host, int port, const QByteArray &keyBlob);

// Appends the key as one OpenSSH line, making the file (0600) and its folder
// (0700) when missing. False with *error when it could not be written.
bool addHostKey(
    const QString &file, const QString &host, int port, const QByteArray &keyBlob, QString *error = nullptr);
