#pragma once

// Routines of the browser tools that need no browser: URL text encoded and
// decoded, the test for a known URL scheme, and the import of a certificate
// file into one of the program's certificate stores.

#include "AppError.h"
#include "CertificateTrust.h"

#include <QString>

#include <array>

namespace vocab {

// A text that cannot be converted, as DecodeUrl meets a bad escape.
class EConvertError : public AppError {
public:
    using AppError::AppError;
};

namespace HbTools {

// The schemes IsValidProtocol knows, in the order it tries them.
inline constexpr std::array<const char *, 11> ProtocolPrefixes{
    "ftp://", "http://", "https://", "gopher://", "mailto:", "news:",
    "nntp://", "telnet://", "wais://", "file://", "prospero://",
};

// Letters, digits, "-", "." and "_" stay; a space becomes "+" in a query
// string and "%20" elsewhere; every other character becomes "%" and its code
// in upper-case hexadecimal, two digits at least.
QString EncodeUrl(const QString &InputStr, bool bQueryStr);

// "%" and two hexadecimal digits of either case give the character of that
// code, "+" gives a space. Throws EConvertError "Invalid HEX digit in URL"
// for a "%" not followed by two hexadecimal digits.
QString DecodeUrl(const QString &InputStr);

// Whether one of ProtocolPrefixes occurs anywhere in the URL, ASCII letters
// compared without regard to case. Anywhere: a text with a scheme inside
// passes, so this is no gate for what may be opened.
bool IsValidProtocol(const QString &URL);

// Adds the one DER-encoded X.509 certificate of a file to the store named
// StoreType, replacing the same certificate there. False for a missing file,
// a file that holds no such certificate, a store name that is no plain name
// and a store that cannot be written; a file that exists but cannot be read
// throws FileError. A certificate of the store ROOT is then trusted by the
// engine's views and the downloads, one of the store CA links a server's
// certificate to such a root (CertificateTrust.h).
bool ImportCertFile(const QString &FileName, const QString &StoreType);

// The folder of the certificate store of a name (which ImportCertFile checks).
using vocab::CertificateStorePath;

} // namespace HbTools
} // namespace vocab
