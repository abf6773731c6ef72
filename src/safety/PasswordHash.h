#pragma once

#include <QString>

// The login password is kept as a salted PBKDF2-SHA256 hash:
// "pbkdf2-sha256$<iterations>$<salt, base64>$<hash, base64>". The empty password is kept as
// empty text, so a new installation asks for nothing. A stored value in any other form is a
// password of an older version, kept as typed; it still verifies until the next change.
QString hashPassword(const QString &password);
bool passwordMatches(const QString &stored, const QString &answer);
