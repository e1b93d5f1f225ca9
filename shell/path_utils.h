#pragma once
// File-name operations on the program's paths: MAX_PATH (260-byte) buffers changed in place,
// and string forms. Paths are CP932 in Windows form. Only the folder separator needs care for
// double-byte characters ('\' can be their second byte); '.' never can.
// A result that would not fit a MAX_PATH buffer is refused: false, the buffer as it was.
#include <string>
#include <string_view>
#include "platform/os/windows_types.h"

// An absolute path becomes relative to the working folder: ".\name" for a file in it,
// "..\" steps above it. A relative path is left as it is (true). False, with the path
// unchanged, when the working folder cannot be read or shares no root with the path.
bool MakeRelativePath(char path[MAX_PATH]);
bool MakeRelativePathStr(std::string& path);

// A relative path is made absolute against the working folder (".\" and "..\" resolved);
// an absolute one is left as it is. False, the path unchanged, when the working folder cannot
// be read (its name has no CP932 form) or the result does not fit in MAX_PATH bytes.
bool MakeAbsolutePath(char path[MAX_PATH]);

// Keeps the part after the last backslash (the one that is not the second byte of a
// double-byte character); unchanged when there is none.
void StripDirectory(char path[MAX_PATH]);
[[nodiscard]] std::string StripDirectory(std::string_view path);

// out = name with the text after its last '.' replaced by ext, or cut before that '.' when
// ext is null. Without a '.': false and out = a copy of name.
bool ChangeExtension(char out[MAX_PATH], const char* name, const char* ext);

// Removes the last '.' and what follows; false when there is no '.'.
bool StripExtension(char path[MAX_PATH]);
bool StripExtensionStr(std::string& path);

// out (MAX_PATH bytes) = the text after the last '.'; false, out unchanged, without one.
bool GetExtension(char* out, const char* name);

// out (MAX_PATH bytes) = name with "_", a and b inserted before its last '.': "x.ext" with 1
// and 2 gives "x_12.ext". False, out unchanged, when name has no '.'.
bool InsertNumberSuffix(char* out, const char* name, int a, int b);

// The existing file with the highest suffix "_000".."_999" after name with its extension
// replaced by ext (name as it is when it has no '.'): "x.stg4_100" before "x.stg4_001".
// False, out unchanged, when none exists. out may be name itself.
bool FindHighestNumberedFile(char out[MAX_PATH], const char* name, const char* ext);
bool FindHighestNumberedFileStr(std::string& out, const char* name, const char* ext);
