#pragma once
// Private-profile INI files with the Windows semantics: section and key names
// match without regard to letter case, values are trimmed on reading and at most
// 255 characters come back, an existing key is replaced where it stands, a new
// key goes to the end of its section and a new section to the end of the file;
// the first write creates the file. Lines end in CR LF.
//
// The file is Windows-1255 text. A value that Windows-1255 cannot hold is not
// turned into "?": such a file is written as UTF-8 with a byte-order mark, and
// both forms are read, as is UTF-8 without the mark. Only an ordinary file is
// read; anything else reads as no file, and writing to it fails. Every write
// replaces the file whole (filereplace.h): a crash or a full disk leaves the old
// file as it was, and the write then reports failure. A FileBatch of the file
// (wholefile.h) gathers several writes into one replacement.
#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Default when the file, section or key is missing; an empty value gives "".
QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, const QString& fileName);
// False when the file could not be written.
bool WritePrivateProfileString(const QString& section, const QString& key,
                               const QString& value, const QString& fileName);
// Removes the section's header and keys; a missing section or file is no error.
bool DeletePrivateProfileSection(const QString& section, const QString& fileName);

// Why the last write of a file failed.
QString LastProfileWriteError();

// Windows-1255 through a table of our own.
namespace cp1255 {
QString decode(const QByteArray& bytes);
// Empty when a character cannot be encoded.
std::optional<QByteArray> encode(const QString& text);
}  // namespace cp1255

}  // namespace platform
