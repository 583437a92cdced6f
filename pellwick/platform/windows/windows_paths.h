#pragma once
// Paths and commands as Windows spells them. Plain text work, no system calls.

#include <optional>
#include <string>
#include <string_view>

namespace pellwick::win32 {

// `path` with every '/' turned into '\'.
std::string nativePath(std::string_view path);

// The command line that starts `executablePath`: its native path in double quotes, so that
// blanks stay part of the path. Nothing for an empty path or one holding a double quote,
// which no Windows file name can contain.
std::optional<std::string> quotedCommand(std::string_view executablePath);

// The file name of `path` without its extension: "C:\Tools\Pellwick.exe" gives "Pellwick".
std::string fileStem(std::string_view path);

// True when a folder name inside `path` is empty, as in "C:\Documents and Settings\\'s Tray
// Folder" made from an empty user name. The leading "\\" of a network path is no such gap.
bool hasEmptyFolderName(std::string_view path);

// The name of the object that tells copies of `programName` apart from other programs, in the
// session's namespace. With the user's SID in it ("S-1-5-21-..."), another user's process in
// the same session cannot take it first. Without a SID, or with anything that is not one, the
// name holds the program's name alone.
std::string singleInstanceName(std::string_view programName, std::string_view userSid);

}  // namespace pellwick::win32
